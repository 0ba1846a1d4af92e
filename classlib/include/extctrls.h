// More controls: panel, bevel, shape, image, paint box and radio group.
// (TTimer is in timer.h.)
#ifndef CLASSLIB_EXTCTRLS_H
#define CLASSLIB_EXTCTRLS_H

#include <memory>
#include <vector>

#include "picture.h"
#include "stdctrls.h"

// ---- panel

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
public:
    // 185 x 41, clBtnFace, raised outer bevel, centred caption.
    explicit TCustomPanel(TComponent* AOwner);

    TBevelCut GetBevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut GetBevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut Value);
    int GetBevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int Value);
    // Space between the bevels.
    int GetBorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int Value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    void SetText(const AnsiString& Value) override;

protected:
    void Paint() override;
    // Children align inside the bevels.
    void AlignControls(RECT& Rect) override;

private:
    int FrameWidth() const;

    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// ---- bevel

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    // 50 x 50, a lowered box.
    explicit TBevel(TComponent* AOwner);

    TBevelShape GetShape() const { return shape_; }
    void SetShape(TBevelShape Value);
    TBevelStyle GetStyle() const { return style_; }
    void SetStyle(TBevelStyle Value);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// ---- shape

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    // 65 x 65, a white rectangle with a black outline.
    explicit TShape(TComponent* AOwner);
    ~TShape() override;

    TShapeType GetShape() const { return shape_; }
    void SetShape(TShapeType Value);
    // Changing the pen or the brush repaints the shape.
    TPen* GetPen() const { return pen_.get(); }
    void SetPen(const TPen* Value) { pen_->Assign(Value); }
    TBrush* GetBrush() const { return brush_.get(); }
    void SetBrush(const TBrush* Value) { brush_->Assign(Value); }

protected:
    void Paint() override;

private:
    TShapeType shape_ = stRectangle;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
};

// ---- image and paint box

class TImage : public TGraphicControl {
public:
    // 105 x 105, empty.
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* GetPicture() const { return picture_.get(); }
    void SetPicture(TPicture* Value) { picture_->Assign(Value); }
    // The picture's bitmap canvas; an empty picture first gets a bitmap of
    // the image's size. EInvalidOperation when the picture holds another kind.
    TCanvas* GetCanvas();
    bool GetStretch() const { return stretch_; }
    void SetStretch(bool Value);
    bool GetCenter() const { return center_; }
    void SetCenter(bool Value);
    // The image fits its size to the picture.
    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);

protected:
    void Paint() override;

private:
    void PictureChanged();
    RECT DestRect() const;

    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool autoSize_ = false;
    bool drawing_ = false;
};

class TPaintBox : public TGraphicControl {
public:
    // 105 x 105.
    explicit TPaintBox(TComponent* AOwner);

    // The canvas is bound to the parent's paint DC only during OnPaint.
    using TGraphicControl::GetCanvas;
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

// ---- radio group

// A group box of radio buttons, one per string of Items, in Columns columns
// (filled top to bottom). ItemIndex is the checked one (-1 none); OnClick
// fires when it changes.
class TCustomRadioGroup : public TCustomGroupBox {
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;

    TStrings* GetItems() const { return items_.get(); }
    void SetItems(TStrings* Value) { items_->Assign(Value); }
    int GetItemIndex() const { return itemIndex_; }
    // Outside -1..Count-1 raises EListError.
    void SetItemIndex(int Value);
    int GetColumns() const { return columns_; }
    // 1..16, else EInvalidOperation.
    void SetColumns(int Value);
    // The radio button of item Index (EListError).
    TRadioButton* GetButton(int Index) const;

protected:
    void Resize() override;
    void FontChanged() override;
    void WndProc(TMessage& Message) override;

private:
    void ItemsChanged();
    void ArrangeButtons();
    void ButtonClicked(TRadioButton* button);

    std::unique_ptr<TStringList> items_;
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
};

#endif
