// TColorSel: the modal colour selector of a swatch, with red, green and
// blue bars and edits, a hue bar and a saturation/value square. The swatch
// follows every change at once (live preview); Cancel brings its old
// colour back.
#ifndef KESTREL_COLORSEL_H
#define KESTREL_COLORSEL_H

#include "colorsel_model.h"
#include "forms.h"
#include "gradient_caption.h"
#include "stdctrls.h"
#include "extctrls.h"
#include "buffer_view.h"

class TColorSel : public TForm {
public:
    explicit TColorSel(TComponent* AOwner);
    ~TColorSel() override;
    TColorSel(const TColorSel&) = delete;
    TColorSel& operator=(const TColorSel&) = delete;

    // Shows the selector modally for swatch; the caption names the drawing
    // or the background colour for the program's swatches. Other swatches
    // (the text tool's shadow, the plug-in and component swatches) pass
    // their caption.
    TModalResult OpenFor(TShape* swatch);
    TModalResult OpenFor(TShape* swatch, const AnsiString& caption);

    // The two halves of OpenFor around the modal loop: the controls from
    // the swatch, the colour remembered; then the swatch takes the new
    // colour for mrOk, the remembered one otherwise, and ColorChanged runs.
    void BeginSelection(TShape* swatch, const AnsiString& caption);
    void EndSelection(TModalResult result);

    // The caption's gradient ends; start-up passes CaptionEndColors.
    void ApplyCaptionColours(TColor activeEnd, TColor inactiveEnd);

    const ColourSelection& Selection() const { return sel_; }

    TGradientCaption* GradCaption;
    TLabel *RedLabel, *GreenLabel, *BlueLabel, *HueLabel;
    // Position 255 minus the channel: full colour at the top.
    TScrollBar *Red, *Green, *Blue;
    TEdit *RedEdit, *GreenEdit, *BlueEdit;
    TScrollBar* HVal;  // hue 0..360
    TBuffer* HSVBuf;   // the saturation/value square of the hue
    TButton *OKBtn, *CancelBtn;

    // Handlers.
    void ValChange(TObject* Sender);
    // leaving: the edit lost the focus, and shows its channel again when
    // its text is no channel value.
    void ColEditExit(TObject* Sender, bool leaving);
    void HValChange(TObject* Sender);
    void HSVBufMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void HSVBufMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void StoreSVVal(TObject* Sender, TShiftState Shift, int X, int Y);
    void SVChange(int x, int y);
    void DrawSVSquare();

private:
    TScrollBar* NewChannelBar(const char* name, int x);
    TEdit* NewChannelEdit(const char* name, int x);
    ColourChannel ChannelOf(TObject* control) const;
    // Controls, square and swatch from sel_ (the swatch only when live).
    void ShowSelection(bool live);

    Buffer square_;
    ColourSelection sel_;
    TShape* swatch_ = nullptr;
    unsigned long remembered_ = 0;
    int rememberedTag_ = 0;
    bool updating_ = false;       // the controls are being set from sel_
    bool channelChange_ = false;  // a channel bar's change is running
    bool squareDown_ = false;
};

extern TColorSel* ColorSel;

// OnMouseDown of a swatch: ColorSel opens for it.
void ActivateColorSel(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

#endif
