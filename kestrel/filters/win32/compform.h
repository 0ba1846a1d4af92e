// TCompForm: the parameter dialog of a filter component, its rows of
// controls made at run time from the component's declarations. Every
// control reports to ParamControlChanged, which sends the value block to
// the component and runs the instant-preview thumbnail; Preview runs the
// component on the picture, OK keeps the result with one undo step.
#ifndef KESTREL_COMPFORM_H
#define KESTREL_COMPFORM_H

#include "buffer_view.h"
#include "component_params.h"
#include "forms.h"
#include "gradient_caption.h"
#include "picture_document.h"
#include "stdctrls.h"

class P_component;

// The controls of one parameter row; unused slots are null.
struct CompParamRow {
    int kind = 0;
    TLabel* label = nullptr;
    TControl* main = nullptr;    // spin edit, button, check box, scroll bar, list, swatch, x spin, G spin
    TControl* second = nullptr;  // S: its value label; P: the y spin
    TBuffer* thumb = nullptr;    // G: the chosen picture
    Buffer thumbPixels;          // G: what thumb shows
};

class TCompForm : public TForm {
public:
    explicit TCompForm(TComponent* AOwner);
    ~TCompForm() override;
    TCompForm(const TCompForm&) = delete;
    TCompForm& operator=(const TCompForm&) = delete;

    TGradientCaption* Cap;
    TLabel* CopyrightMessage;
    TButton *OkBtn, *PreviewBtn, *PresetBtn, *HelpBtn, *CancelBtn;
    TCheckBox* InstPreview;
    TBuffer* InstPreviewBuf;
    CompParamRow Rows[COMPONENT_PARAMS];

    UDBuffer ThumbSource, ThumbTarget;  // the instant preview's pictures
    bool Notify = true;                 // UM_COMPNOTIFYOFF holds the change handler off
    bool Running = false;
    bool StopAsked = false;
    bool LastRunValid = false;          // LastRun holds the values of the picture's last completed run
    unsigned char LastRun[COMPONENT_VALUE_BLOCK] = {};
    int PictureRuns = 0;                // runs on the picture, for the tests

    void ParamControlChanged();
    void RefreshImageParam(int n);
    void PresetBtnClick(TObject* Sender);
    void PreviewBtnClick(TObject* Sender);
    void OkBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);
    void HelpBtnClick(TObject* Sender);
    // UM_COMPSETPARAM for the parameter declared by "Par<n>=".
    void SetParam(int n, int subCommand, long lParam);
    // Frees the generated rows (and the G thumbnails).
    void FreeRows();
    // Where the shown dialog is, for the next one of the program's run.
    void KeepPlace();
    // The component tool this dialog serves.
    P_component* Tool = nullptr;

    // The controls into the current component's value block.
    void ReadControls(unsigned char* block);
    // The value block into the controls, without change notifications.
    void ShowValues(const unsigned char* block);
    // Preview's body; final: OK's run, which records the undo step first.
    // False when nothing was kept (no undo step, a fault, the tool gone).
    bool RunOnPicture(bool final);
    // The swatch of parameter row i: the colour selector, then the change.
    void SwatchMouseDown(int i);

private:
    void FormKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);
    void EnableControls(bool on);
    void RunThumbnail();
};

// Builds the dialog for the current component; answers whether any
// parameter control exists. withThumbnail: the plain component tool's
// dialog with its buttons (and the instant preview with "W").
bool LayoutComponentForm(TCompForm* form, bool withThumbnail);

// Ends a dialog: its rows go at once, the window with the next message
// turn. It gives up its name and its tool first, so that the next dialog
// can be made at once and this one can no longer act.
void ReleaseComponentDialog(TCompForm* form);

#endif
