// One call per control, so that a form's constructor reads like its
// component table:
//
//     OkButton = NewButton(this, this, "OK", 8, 200, 75, 25, [this](TObject*) { OkClick(); });
//     Zoom = New<TTrackBar>(this, Panel, 8, 30, 150, 30);
//
// Bounds are set before the parent, so the parent lays the control out (and
// a scroll box measures it) once, in place.
#ifndef CLASSLIB_FORMBUILDER_H
#define CLASSLIB_FORMBUILDER_H

#include <initializer_list>

#include "comctrls.h"
#include "extctrls.h"
#include "stdctrls.h"

template <class T>
T* New(TComponent* owner, TWinControl* parent, int x, int y, int w, int h)
{
    T* control = new T(owner);
    control->SetBounds(x, y, w, h);
    control->SetParent(parent);
    return control;
}

// Captioned controls (label, buttons, group box, panel, ...).
template <class T>
T* NewCaptioned(TComponent* owner, TWinControl* parent, const AnsiString& caption, int x, int y, int w, int h)
{
    T* control = new T(owner);
    control->SetCaption(caption);
    control->SetBounds(x, y, w, h);
    control->SetParent(parent);
    return control;
}

// An auto-sized label.
inline TLabel* NewLabel(TComponent* owner, TWinControl* parent, const AnsiString& caption, int x, int y)
{
    TLabel* label = new TLabel(owner);
    label->SetLeft(x);
    label->SetTop(y);
    label->SetCaption(caption);
    label->SetParent(parent);
    return label;
}

inline TButton* NewButton(TComponent* owner, TWinControl* parent, const AnsiString& caption, int x, int y, int w,
                          int h, TNotifyEvent onClick = nullptr)
{
    TButton* button = NewCaptioned<TButton>(owner, parent, caption, x, y, w, h);
    button->OnClick = std::move(onClick);
    return button;
}

inline TCheckBox* NewCheckBox(TComponent* owner, TWinControl* parent, const AnsiString& caption, int x, int y, int w,
                              int h, bool checked = false, TNotifyEvent onClick = nullptr)
{
    TCheckBox* box = NewCaptioned<TCheckBox>(owner, parent, caption, x, y, w, h);
    box->SetChecked(checked);  // before OnClick: building is not clicking
    box->OnClick = std::move(onClick);
    return box;
}

inline TRadioButton* NewRadioButton(TComponent* owner, TWinControl* parent, const AnsiString& caption, int x, int y,
                                    int w, int h, bool checked = false, TNotifyEvent onClick = nullptr)
{
    TRadioButton* button = NewCaptioned<TRadioButton>(owner, parent, caption, x, y, w, h);
    button->SetChecked(checked);
    button->OnClick = std::move(onClick);
    return button;
}

// Height from the font (AutoSize).
inline TEdit* NewEdit(TComponent* owner, TWinControl* parent, const AnsiString& text, int x, int y, int w,
                      TNotifyEvent onChange = nullptr)
{
    TEdit* edit = new TEdit(owner);
    edit->SetText(text);
    edit->SetBounds(x, y, w, edit->GetHeight());
    edit->SetParent(parent);
    edit->OnChange = std::move(onChange);
    return edit;
}

inline TComboBox* NewComboBox(TComponent* owner, TWinControl* parent, int x, int y, int w,
                              std::initializer_list<const char*> items, TComboBoxStyle style = csDropDownList,
                              TNotifyEvent onChange = nullptr)
{
    TComboBox* combo = New<TComboBox>(owner, parent, x, y, w, 21);
    combo->SetStyle(style);
    for (const char* item : items) combo->GetItems()->Add(item);
    combo->OnChange = std::move(onChange);
    return combo;
}

inline TListBox* NewListBox(TComponent* owner, TWinControl* parent, int x, int y, int w, int h,
                            std::initializer_list<const char*> items, TNotifyEvent onClick = nullptr)
{
    TListBox* list = New<TListBox>(owner, parent, x, y, w, h);
    for (const char* item : items) list->GetItems()->Add(item);
    list->OnClick = std::move(onClick);
    return list;
}

inline TRadioGroup* NewRadioGroup(TComponent* owner, TWinControl* parent, const AnsiString& caption, int x, int y,
                                  int w, int h, std::initializer_list<const char*> items, int itemIndex = -1,
                                  TNotifyEvent onClick = nullptr)
{
    TRadioGroup* group = NewCaptioned<TRadioGroup>(owner, parent, caption, x, y, w, h);
    for (const char* item : items) group->GetItems()->Add(item);
    group->SetItemIndex(itemIndex);
    group->OnClick = std::move(onClick);
    return group;
}

// A panel with no bevel is the usual container; pass alNone to place it.
inline TPanel* NewPanel(TComponent* owner, TWinControl* parent, TAlign align, int x, int y, int w, int h,
                        TBevelCut bevelOuter = bvNone)
{
    TPanel* panel = New<TPanel>(owner, parent, x, y, w, h);
    panel->SetCaption("");
    panel->SetBevelOuter(bevelOuter);
    panel->SetAlign(align);
    return panel;
}

#endif
