// TTextForm: the text tool's stay-on-top dialog. Every control's change
// redraws the tool's preview (FontChanged); OK writes the text into the
// picture. The settings go into TextSet whenever the dialog hides, so a
// tool switch keeps what was typed, and come back when it shows.
#ifndef KESTREL_TEXTFORM_H
#define KESTREL_TEXTFORM_H

#include "extctrls.h"
#include "font.h"
#include "forms.h"
#include "gradient_caption.h"
#include "spinedit.h"
#include "stdctrls.h"
#include "text_tool.h"
#include "textform_richedit.h"

class TTextForm : public TForm {
public:
    // font: the text tool's font, whose character set follows the input
    // language.
    TTextForm(TComponent* AOwner, TFont* font);
    ~TTextForm() override;

    TRichEdit* TextBox;
    TComboBox* FontType;
    TSpinEdit* FontSize;
    TSpeedButton *BoldBtn, *ItalicBtn, *UnderlineBtn, *OutlineBtn, *ShadowBtn;
    TShape* ShColor;
    TSpinEdit* ShDepth;
    TSpinEdit *SizeX, *SizeY;
    TSpinEdit *TextXPos, *TextYPos;
    TButton *OkBtn, *HelpBtn;
    TLabel *ShadowLab, *SizeXLab, *SizeYLab, *XLab, *YLab;
    TGradientCaption* Cap;

    // Shows the dialog with its controls restored; nothing when shown.
    void ShowDialog();
    // Stores the settings and hides; the tool stays current.
    void HideDialog();
    void PlaceText(int x, int y);

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void HelpBtnClick(TObject* Sender);
    void ShadowColMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void FontChanged(TObject* Sender);
    void OkBtnClick(TObject* Sender);

    void WndProc(TMessage& Message) override;

private:
    void BuildControls();
    TSpeedButton* NewStyleButton(const char* name, const char* caption, int x, int group);
    TSpinEdit* NewSpin(const char* name, int x, int y, int w, double lo, double hi, bool decimal);
    void FillFonts();
    void RestoreSettings();
    void StoreSettings();
    void ShowForLevel();
    int StyleBits();
    TextDraft ReadDraft();
    TextFontSpec ReadFont();

    TFont* font_;
};

extern TTextForm* TextForm;

// Makes the text tool's dialog reachable from the tool (made on first use,
// owned by owner) and gives the tool its font.
void InstallTextDialog(TComponent* owner, TFont* font);

#endif
