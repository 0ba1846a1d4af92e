// TSpinButton and TSpinEdit (unit spinedit).
//
// TSpinButton: a graphic control split by its diagonal into an up half
// (upper left) and a down half (lower right); a press steps at once, then
// after 400 ms every 100 ms while held on the half it began on.
//
// TSpinEdit: a numeric edit with a spin button at its right end. Value is
// read from the text (clamped to MinValue..MaxValue, the last valid value
// when the text is no number) and written as text; the button halves and
// the Up and Down keys step it by Increment with exactly one OnChange, and
// none when the clamped value did not change. Equal limits mean no limit.
#ifndef KESTREL_SPINEDIT_H
#define KESTREL_SPINEDIT_H

#include <memory>

#include "bitmap.h"
#include "controls.h"
#include "editbutton_place.h"
#include "spinedit_model.h"
#include "timer.h"

class TSpinButton : public TGraphicControl {
public:
    // 20 x 20.
    explicit TSpinButton(TComponent* AOwner);
    ~TSpinButton() override;

    // A copy is kept; nullptr restores the built-in arrow.
    TBitmap* GetUpGlyph() const { return upGlyph_.get(); }
    void SetUpGlyph(TBitmap* Value);
    TBitmap* GetDownGlyph() const { return downGlyph_.get(); }
    void SetDownGlyph(TBitmap* Value);

    // The half that shows pressed now.
    TSpinHalf GetPressed() const { return down_; }
    // The repeat timer (made at the first press), for tests.
    TTimer* GetRepeatTimer() const { return repeatTimer_; }

    TNotifyEvent OnTopClick;
    TNotifyEvent OnBottomClick;

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void Step(TSpinHalf Half);
    void TimerExpired();
    void SetPressed(TSpinHalf Half);
    void BuildFaces();
    void DrawFace(TBitmap* Face, TSpinHalf Pressed);
    void DrawGlyph(TCanvas* Canvas, TBitmap* Glyph, int CentreX, int CentreY);
    bool MouseCaptured();

    std::unique_ptr<TBitmap> upGlyph_;
    std::unique_ptr<TBitmap> downGlyph_;
    std::unique_ptr<TBitmap> faces_[3];
    TSpinHalf down_ = shNone;
    TSpinHalf dragStart_ = shNone;
    bool dragging_ = false;
    bool rebuild_ = true;
    TTimer* repeatTimer_ = nullptr;
};

class TSpinEdit : public TEditWithButton {
public:
    explicit TSpinEdit(TComponent* AOwner);
    ~TSpinEdit() override;

    long double GetValue();
    // Remembered as the last valid value, shown limited to the range.
    void SetValue(long double Value);
    TValueType GetValueType() const { return valueType_; }
    void SetValueType(TValueType Value);
    // Digits after the separator for vtFloat (0..18).
    int GetDecimal() const { return decimal_; }
    void SetDecimal(int Value);
    long double GetIncrement() const { return increment_; }
    void SetIncrement(long double Value) { increment_ = Value; }
    long double GetMinValue() const { return minValue_; }
    void SetMinValue(long double Value);
    long double GetMaxValue() const { return maxValue_; }
    void SetMaxValue(long double Value);
    // False: the text can only be stepped, not typed.
    bool GetEditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool Value) { editorEnabled_ = Value; }

    TSpinButton* GetButton() const { return button_; }

    // One step as from the button or the arrow keys.
    void UpClick();
    void DownClick();

    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoExit() override;

protected:
    void CreateWnd() override;
    void Change() override;
    // The refusal of a key or a step; a test may count it.
    virtual void Beep();
    TControl* ButtonControl() const override { return button_; }
    int MinHeightFor(int SystemFontHeight, int FontHeight, int BorderHeight) const override;
    // A square as high as the edit, less the border new-style systems draw
    // inside it.
    void LayoutButton() override;
    bool TextEditable() override { return editorEnabled_ && !GetReadOnly(); }

private:
    void Step(long double Delta);

    long double lastValid_ = 0;
    TValueType valueType_ = vtInt;
    int decimal_ = 2;
    long double increment_ = 1.0L;
    long double minValue_ = 0;
    long double maxValue_ = 0;
    bool editorEnabled_ = true;
    bool stepping_ = false;
    TSpinButton* button_ = nullptr;
};

#endif
