// ShowMessage and MessageDlg, through the Application's message box.
#include "dialogs.h"

#include "application.h"

namespace {

AnsiString Title()
{
    return Application ? Application->GetTitle() : AnsiString();
}

UINT ButtonFlags(TMsgDlgButtons b)
{
    // The first set of Windows' buttons that the asked ones cover.
    if ((b & mbYes) && (b & mbNo)) return (b & mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    if ((b & mbAbort) || (b & mbIgnore)) return MB_ABORTRETRYIGNORE;
    if ((b & mbRetry) && (b & mbCancel)) return MB_RETRYCANCEL;
    if (b & mbCancel) return MB_OKCANCEL;
    return MB_OK;
}

int Show(const AnsiString& text, const AnsiString& caption, UINT flags, int helpContext = 0)
{
    if (!Application) return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
    return Application->MessageBox(text, caption, flags, helpContext);
}

}  // namespace

void ShowMessage(const AnsiString& Msg)
{
    Show(Msg, Title(), MB_OK);
}

UINT MessageDlgFlags(TMsgDlgType DlgType, TMsgDlgButtons Buttons)
{
    static const UINT icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
    if (DlgType < mtWarning || DlgType > mtCustom) DlgType = mtCustom;
    UINT flags = ButtonFlags(Buttons) | icons[DlgType];
    if (Buttons & mbHelp) flags |= MB_HELP;
    return flags;
}

int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    if (DlgType < mtWarning || DlgType > mtCustom) DlgType = mtCustom;
    static const char* const captions[] = {"Warning", "Error", "Information", "Confirm", nullptr};
    AnsiString caption = DlgType == mtCustom ? Title() : AnsiString(captions[DlgType]);
    return Show(Msg, caption, MessageDlgFlags(DlgType, Buttons), HelpCtx);
}
