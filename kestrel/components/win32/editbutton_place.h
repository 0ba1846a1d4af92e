// TEditWithButton: what the edit with a button (tooledit) and the spin edit
// share. The button lives in a child window at the edit's right end; the
// edit is multi-line so that its formatting rectangle keeps the text off the
// button; the height has a floor for the font; the button follows the
// edit's Enabled; Enter and Escape reach the form's default and cancel
// buttons, and Enter is then discarded so that no line break is typed.
#ifndef KESTREL_EDITBUTTON_PLACE_H
#define KESTREL_EDITBUTTON_PLACE_H

#include "glyph_button_model.h"
#include "stdctrls.h"

class TEditWithButton : public TCustomEdit {
public:
    ~TEditWithButton() override { buttonWindow_ = nullptr; }

    TWinControl* GetButtonWindow() const { return buttonWindow_; }
    // The least height for the font; smaller heights are raised to it.
    int GetMinHeight();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void KeyPress(char& Key) override;
    void WndProc(TMessage& Message) override;

protected:
    explicit TEditWithButton(TComponent* AOwner);

    void CreateParams(TCreateParams& Params) override;
    // The control inside the button window (nullptr once it is let go).
    virtual TControl* ButtonControl() const = 0;
    virtual int MinHeightFor(int SystemFontHeight, int FontHeight, int BorderHeight) const = 0;
    // Puts the button window in its place, through PlaceButton.
    virtual void LayoutButton() = 0;
    // Whether paste and cut may change the text.
    virtual bool TextEditable() { return !GetReadOnly(); }

    // The button fills its window; the text stops 2 pixels before it.
    void PlaceButton(const TEditButtonPlace& Place, bool Visible);
    void SetEditRect();
    // New-style systems draw the edit's sunken border inside its height.
    static bool NewStyleSystem();

    TWinControl* buttonWindow_ = nullptr;
};

#endif
