// TScreen (the global Screen): the display, the cursors and the forms of the
// program. TMouse (the global Mouse): the mouse pointer's position.
//
// Both are made by the TApplication constructor when they do not exist yet,
// and freed with it.
#ifndef CLASSLIB_SCREEN_H
#define CLASSLIB_SCREEN_H

#include <map>
#include <vector>

#include "controls.h"

class TCustomForm;

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner = nullptr);
    ~TScreen() override;

    // The cursor for the whole program; crDefault lets each control show its own.
    TCursor GetCursor() const { return cursor_; }
    void SetCursor(TCursor Value);
    // The cursor handle of an id; an id without one gives the arrow.
    HCURSOR GetCursors(TCursor Index) const;
    // Installs (or with nullptr removes) a cursor; the screen owns handles
    // installed here and destroys them when replaced or at the end.
    void SetCursors(TCursor Index, HCURSOR Handle);

    int GetWidth() const;
    int GetHeight() const;
    int GetPixelsPerInch() const;
    RECT GetWorkAreaRect() const;

    int GetFormCount() const { return static_cast<int>(forms_.size()); }
    // In creation order; raises EListError.
    TCustomForm* GetForms(int Index) const;
    TCustomForm* GetActiveForm() const { return activeForm_; }
    TWinControl* GetActiveControl() const;

    TNotifyEvent OnActiveFormChange;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form);

    TCursor cursor_ = crDefault;
    std::map<TCursor, HCURSOR> cursors_;  // built-in ones
    std::map<TCursor, HCURSOR> owned_;    // installed with SetCursors
    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
};

class TMouse {
public:
    TMouse() = default;
    TMouse(const TMouse&) = delete;
    TMouse& operator=(const TMouse&) = delete;

    POINT GetCursorPos() const;
    void SetCursorPos(POINT p);
};

extern TScreen* Screen;
extern TMouse* Mouse;

#endif
