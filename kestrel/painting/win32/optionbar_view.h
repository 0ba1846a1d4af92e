// The option bar's window: the controls of the current description on a
// bar (the main window's option tool bar), laid out left to right after the
// bar's caption label. Values live in the model (optionbar.h); a control the
// user changes writes its value there before the tool's handler runs.
//
// One view at a time is installed into OptionBarView; it owns the controls
// it builds, and forgets any the bar frees before it.
#ifndef KESTREL_OPTIONBAR_VIEW_H
#define KESTREL_OPTIONBAR_VIEW_H

#include <vector>

#include "controls.h"
#include "optionbar.h"
#include "stdctrls.h"

class TOptionBarView : public TComponent {
public:
    // Bar and CaptionLabel must outlive the view or tell it when they go
    // (they do when freed: the view watches them).
    TOptionBarView(TComponent* AOwner, TWinControl* Bar, TLabel* CaptionLabel);
    ~TOptionBarView() override;
    TOptionBarView(const TOptionBarView&) = delete;
    TOptionBarView& operator=(const TOptionBarView&) = delete;

    // The control that carries the value of index; nullptr past the table.
    TControl* GetValueControl(int Index) const;
    // The label tied to the value control of index, if it has one.
    TLabel* GetValueLabel(int Index) const;
    int GetValueControlCount() const { return static_cast<int>(values_.size()); }
    // Every control built for the current description, labels included.
    int GetBuiltCount() const { return static_cast<int>(built_.size()); }
    TControl* GetBuilt(int Index) const;

    void SetOptionHandler(int Index, TNotifyEvent Handler);
    void SetOptionMouseHandler(int Index, TMouseEvent Handler);
    // Shows the model's values in the controls (after a tool set them).
    void Refresh();
    void ShowValue(int Index);

    // The width of Text in the bar's font.
    int TextWidth(const AnsiString& Text) const;
    int TextHeight() const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    struct Built {
        TControl* control;
        int level;
        bool labelOfNext;  // placed close to the control it names
    };
    struct Value {
        char kind;
        TControl* control;
        TLabel* label;
        TNotifyEvent handler;
    };

    void Build(const OptionBarDescription& Description);
    void ShowBar(bool Shown);
    void FreeControls();
    HFONT BarFont() const;
    void Add(TControl* Control, int ItemLevel);
    TControl* MakeValueControl(const OptionItem& Item);
    TLabel* MakeLabel(const AnsiString& Caption, const AnsiString& Hint, int ItemLevel);
    void Place();
    void Changed(int Index);
    double ReadControl(const Value& V) const;
    void WriteControl(const Value& V, double Number);

    TWinControl* bar_;
    TLabel* captionLabel_;
    std::vector<Built> built_;
    std::vector<Value> values_;
    bool writing_ = false;  // controls set from the model: no handler
};

// The installed view's (no-ops without one); index past the table ignored.
void SetOptionHandler(int Index, TNotifyEvent Handler);
void SetOptionMouseHandler(int Index, TMouseEvent Handler);
// Text width in the bar's font (the system GUI font without a view).
int OptionTextWidth(const AnsiString& Text);

#endif
