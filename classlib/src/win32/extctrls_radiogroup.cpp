// TCustomRadioGroup: radio buttons made from the strings of Items.
#include "extctrls.h"

#include <algorithm>

#include "list.h"

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TCustomGroupBox(AOwner), items_(new TStringList)
{
    items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

// The buttons are ours: delete them before the base class frees the
// children, while their handler can still find this group.
TCustomRadioGroup::~TCustomRadioGroup()
{
    items_->OnChange = nullptr;
    for (TRadioButton* b : buttons_) {
        b->OnClick = nullptr;
        delete b;
    }
    buttons_.clear();
}

TRadioButton* TCustomRadioGroup::GetButton(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(buttons_.size())) ListIndexError(Index);
    return buttons_[Index];
}

void TCustomRadioGroup::ItemsChanged()
{
    int count = items_->GetCount();
    updating_ = true;
    while (static_cast<int>(buttons_.size()) > count) {
        delete buttons_.back();
        buttons_.pop_back();
    }
    while (static_cast<int>(buttons_.size()) < count) {
        auto* b = new TRadioButton(nullptr);
        b->SetEnabled(GetEnabled());
        b->OnClick = [this, b](TObject*) { ButtonClicked(b); };
        b->SetParent(this);
        buttons_.push_back(b);
    }
    for (int i = 0; i < count; ++i) buttons_[i]->SetCaption(items_->GetStrings(i));
    if (itemIndex_ >= count) itemIndex_ = -1;
    for (int i = 0; i < count; ++i) buttons_[i]->SetChecked(i == itemIndex_);
    updating_ = false;
    ArrangeButtons();
}

void TCustomRadioGroup::ButtonClicked(TRadioButton* button)
{
    if (updating_ || !button->GetChecked()) return;
    int index = static_cast<int>(std::find(buttons_.begin(), buttons_.end(), button) - buttons_.begin());
    if (index == itemIndex_) return;
    itemIndex_ = index;
    Click();
}

void TCustomRadioGroup::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= items_->GetCount()) ListIndexError(Value);
    if (Value == itemIndex_) return;
    if (Value >= 0) {
        buttons_[Value]->SetChecked(true);  // the click tells the group
        return;
    }
    updating_ = true;
    buttons_[itemIndex_]->SetChecked(false);
    updating_ = false;
    itemIndex_ = -1;
    Click();
}

void TCustomRadioGroup::SetColumns(int Value)
{
    if (Value < 1 || Value > 16) throw EInvalidOperation("Columns must be between 1 and 16");
    if (Value == columns_) return;
    columns_ = Value;
    ArrangeButtons();
}

// Items go down the first column, then the next.
void TCustomRadioGroup::ArrangeButtons()
{
    int count = static_cast<int>(buttons_.size());
    if (count == 0) return;
    int perColumn = (count + columns_ - 1) / columns_;
    int textHeight = CaptionHeight();
    int buttonWidth = (width_ - 10) / columns_;
    int space = height_ - textHeight - 5;
    int buttonHeight = std::max(0, space / perColumn);
    int topMargin = textHeight + 1 + (space % perColumn) / 2;
    for (int i = 0; i < count; ++i)
        buttons_[i]->SetBounds((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin,
                               buttonWidth, buttonHeight);
}

void TCustomRadioGroup::Resize()
{
    ArrangeButtons();
    TCustomGroupBox::Resize();
}

void TCustomRadioGroup::FontChanged()
{
    TCustomGroupBox::FontChanged();
    ArrangeButtons();
}

void TCustomRadioGroup::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_ENABLEDCHANGED)
        for (TRadioButton* b : buttons_) b->SetEnabled(GetEnabled());
    TCustomGroupBox::WndProc(Message);
}
