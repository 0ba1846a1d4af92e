// The hook procedure of the colour, font and print dialogs: it tells the
// dialog object when its window appears and goes (OnShow, OnClose).
#ifndef CLASSLIB_WIN32_DIALOGHOOK_H
#define CLASSLIB_WIN32_DIALOGHOOK_H

#include "dialogs.h"

#include "handleexception.h"

struct CommonDialogHook {
    // S is the dialog's structure (CHOOSECOLORA, ...), passed with
    // WM_INITDIALOG; its lCustData is the dialog object.
    template <class S>
    static UINT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM, LPARAM lp)
    {
        try {
            if (msg == WM_INITDIALOG) {
                auto* dialog = reinterpret_cast<TCommonDialog*>(reinterpret_cast<S*>(lp)->lCustData);
                SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialog));
                dialog->DialogCreated(hwnd);
                return TRUE;  // the default focus
            }
            if (msg == WM_DESTROY) {
                auto* dialog = reinterpret_cast<TCommonDialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
                if (dialog) dialog->DialogDestroyed();
            }
        } catch (...) {
            HandleCallbackException();
        }
        return 0;
    }
};

#endif
