#include "textform_richedit.h"

#include <richedit.h>

namespace {

bool RichEditLoaded()
{
    static bool loaded = LoadLibraryA("riched20.dll") != nullptr;
    return loaded;
}

}  // namespace

void TRichEdit::CreateParams(TCreateParams& Params)
{
    TCustomMemo::CreateParams(Params);
    rich_ = RichEditLoaded();
    if (rich_) CreateSubClass(Params, RICHEDIT_CLASSA);
}

void TRichEdit::CreateWnd()
{
    TCustomMemo::CreateWnd();
    // A rich edit tells EN_CHANGE only for the events asked for.
    if (rich_) SendMessageA(GetHandle(), EM_SETEVENTMASK, 0, LPARAM(~0u));
}
