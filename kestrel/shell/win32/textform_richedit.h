// The text dialog's box: a rich edit control (riched20's "RichEdit20A")
// with the memo's Lines and OnChange. Where the rich edit library is
// missing it is a plain multi-line edit, which serves the same texts.
#ifndef KESTREL_TEXTFORM_RICHEDIT_H
#define KESTREL_TEXTFORM_RICHEDIT_H

#include "stdctrls.h"

class TRichEdit : public TCustomMemo {
public:
    explicit TRichEdit(TComponent* AOwner) : TCustomMemo(AOwner) {}

    // Whether the window is a rich edit (after the handle was made).
    bool IsRich() const { return rich_; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    bool rich_ = false;
};

#endif
