#include "customfilter.h"

#include <stdio.h>

#include "acffile.h"
#include "application.h"
#include "filereplace.h"
#include "formbuilder.h"
#include "imageform.h"
#include "lang.h"
#include "mainform.h"
#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "programpictures.h"
#include "screen.h"
#include "sysutils.h"
#include "toolmanager.h"
#include "weightedit.h"

P_custom_filter CustomFilterTool;

namespace {

// Kept for the program's run.
ConvolveKernel keptKernel = DefaultConvolveKernel();
AnsiString lastFolder;
bool placeKnown = false;
int placeLeft = 0, placeTop = 0;

const int GridStep = 38, RowStep = 24;

// Set when the tool goes away while a run pumps messages: the dialog and
// the saved picture are gone, and the run must end without touching them.
bool runAbandoned = false;

void Warn(const char* key) { TranslatedMessageBox(key, "Err", MsgIconWarning); }

// A quarter of the free space of the image window's client area from its
// top-left corner, the first time in a run; afterwards where it was left.
void PlaceForm(TForm* form)
{
    if (placeKnown) {
        form->SetBounds(placeLeft, placeTop, form->GetWidth(), form->GetHeight());
        return;
    }
    if (!CurrentImageForm) return;
    POINT origin = CurrentImageForm->ClientToScreen(POINT{0, 0});
    const int freeX = CurrentImageForm->GetClientWidth() - form->GetWidth();
    const int freeY = CurrentImageForm->GetClientHeight() - form->GetHeight();
    form->SetBounds(origin.x + (freeX > 0 ? freeX / 4 : 0), origin.y + (freeY > 0 ? freeY / 4 : 0), form->GetWidth(),
                    form->GetHeight());
}

// The rectangle a run covers: the selection's bounds, else what the view
// shows (all of the picture with Clipping off).
Rect RunRect(UDBuffer* pic)
{
    if (pic->HasSelection()) return pic->SelectionRect();
    SetVisibleClip();
    return WorkView.pixels ? WorkView.GetRect() : pic->GetRect();
}

bool ReadAcfFile(const AnsiString& name, ConvolveKernel& k)
{
    FILE* f = fopen(name.c_str(), "rb");
    if (!f) return false;
    unsigned char bytes[AcfFileSize];
    const size_t n = fread(bytes, 1, sizeof bytes, f);
    fclose(f);
    return DecodeAcf(bytes, n, k);
}

bool WriteAcfFile(const AnsiString& name, const ConvolveKernel& k)
{
    unsigned char bytes[AcfFileSize];
    EncodeAcf(k, bytes);
    try {
        // The old file stays whole until the new one is completely written.
        TReplacingFile file(name);
        file.Stream()->WriteBuffer(bytes, int(sizeof bytes));
        file.Commit();
    } catch (Exception&) {
        return false;
    }
    return true;
}

}  // namespace

TCFilterForm::TCFilterForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("CFilterForm");
    SetCaption("Custom Filter");
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    SetClientWidth(5 * GridStep + 92);
    SetClientHeight(5 * RowStep + 44);
    Cap = new TGradientCaption(this);
    Cap->SetName("Cap");
    for (int i = 0; i < 25; i++) {
        TEdit* e = NewEdit(this, this, "", (i % 5) * GridStep + 2, (i / 5) * RowStep + 2, 36);
        e->SetTag(i);
        e->OnChange = [this](TObject* s) { WeightChange(s); };
        e->OnExit = [this](TObject* s) { WeightExit(s); };
        e->OnKeyDown = [this](TObject* s, unsigned short& key, TShiftState shift) { WeightKeyDown(s, key, shift); };
        Weights[i] = e;
    }
    const int spinX = 5 * GridStep + 8;
    DivLabel = NewLabel(this, this, "Div", spinX, 4);
    DivLabel->SetName("DivLabel");
    DivFactor = New<TSpinEdit>(this, this, spinX, 20, 78, 21);
    DivFactor->SetName("DivFactor");
    DivFactor->SetMinValue(ConvolveMinDiv);
    DivFactor->SetMaxValue(ConvolveMaxDiv);
    BiasLabel = NewLabel(this, this, "Bias", spinX, 52);
    BiasLabel->SetName("BiasLabel");
    Bias = New<TSpinEdit>(this, this, spinX, 68, 78, 21);
    Bias->SetName("Bias");
    Bias->SetMinValue(ConvolveMinBias);
    Bias->SetMaxValue(ConvolveMaxBias);
    const int buttonY = 5 * RowStep + 12;
    const char* captions[] = {"&Ok", "&Preview", "&Cancel", "&Load...", "&Save...", "&Help"};
    const char* names[] = {"OkBtn", "PreviewBtn", "CancelBtn", "LoadBtn", "SaveBtn", "HelpBtn"};
    TButton** buttons[] = {&OkBtn, &PreviewBtn, &CancelBtn, &LoadBtn, &SaveBtn, &HelpBtn};
    for (int i = 0; i < 6; i++) {
        *buttons[i] = NewButton(this, this, captions[i], 2 + i * 55, buttonY, 53, 25);
        (*buttons[i])->SetName(names[i]);
    }
    OkBtn->OnClick = [this](TObject* s) { OkBtnClick(s); };
    PreviewBtn->OnClick = [this](TObject* s) { PreviewBtnClick(s); };
    CancelBtn->OnClick = [this](TObject* s) { CancelBtnClick(s); };
    LoadBtn->OnClick = [this](TObject* s) { LoadBtnClick(s); };
    SaveBtn->OnClick = [this](TObject* s) { SaveBtnClick(s); };
    HelpBtn->OnClick = [](TObject*) { Application->HelpContext(CustomFilterTool.helpContext); };

    FilterLoadDlg = new TOpenDialog(this);
    FilterLoadDlg->SetName("FilterLoadDlg");
    FilterLoadDlg->SetTitle("Load Custom Filter");
    FilterLoadDlg->SetFilter("Custom Filter (*.ACF)|*.ACF");
    FilterLoadDlg->SetDefaultExt("ACF");
    FilterLoadDlg->SetOptions(TOpenOptions(ofHideReadOnly | ofFileMustExist));
    FilterSaveDlg = new TSaveDialog(this);
    FilterSaveDlg->SetName("FilterSaveDlg");
    FilterSaveDlg->SetTitle("Save Custom Filter");
    FilterSaveDlg->SetFilter("Custom Filter (*.ACF)|*.acf");
    FilterSaveDlg->SetOptions(TOpenOptions(ofHideReadOnly | ofOverwritePrompt));
    // Closing the window is Cancel: a hidden dialog would leave the tool
    // current with the preview on the picture and no way to end it.
    OnClose = [this](TObject*, TCloseAction& action) {
        action = caNone;
        CancelBtnClick(this);
    };
    if (Lang) Lang->TranslateForm("[CFilterForm]");
}

ConvolveKernel TCFilterForm::Kernel()
{
    ConvolveKernel k{};
    for (int i = 0; i < 25; i++) k.weights[i] = (short)WeightOfText(Weights[i]->GetText().c_str());
    const int div = int(DivFactor->GetValue()), bias = int(Bias->GetValue());
    // The spin edits may hold anything while the user types.
    k.div = div < ConvolveMinDiv ? ConvolveMinDiv : div > ConvolveMaxDiv ? ConvolveMaxDiv : div;
    k.bias = bias < ConvolveMinBias ? ConvolveMinBias : bias > ConvolveMaxBias ? ConvolveMaxBias : bias;
    return k;
}

void TCFilterForm::ShowKernel(const ConvolveKernel& k)
{
    for (int i = 0; i < 25; i++) Weights[i]->SetText(WeightText(k.weights[i]).c_str());
    DivFactor->SetValue(k.div);
    Bias->SetValue(k.bias);
}

void TCFilterForm::WeightChange(TObject* Sender)
{
    PreviewUpToDate = false;
    TEdit* e = static_cast<TEdit*>(Sender);
    const std::string text = e->GetText().c_str();
    int caret = e->GetSelStart();
    const std::string kept = FilterWeightText(text, caret);
    if (kept == text) return;
    e->SetText(kept.c_str());  // raises OnChange again, with nothing left to strip
    e->SetSelStart(caret);
}

void TCFilterForm::WeightExit(TObject* Sender)
{
    TEdit* e = static_cast<TEdit*>(Sender);
    const std::string tidy = NormaliseWeightText(e->GetText().c_str());
    if (tidy != e->GetText().c_str()) e->SetText(tidy.c_str());
}

void TCFilterForm::WeightKeyDown(TObject* Sender, unsigned short& Key, TShiftState)
{
    const int i = static_cast<TEdit*>(Sender)->GetTag();
    switch (Key) {
    case VK_UP:
        if (i >= 5) Weights[i - 5]->SetFocus();
        break;
    case VK_DOWN:
        if (i < 20) Weights[i + 5]->SetFocus();
        break;
    case VK_RETURN:
        OkBtnClick(this);
        break;
    case VK_ESCAPE:
        CancelBtnClick(this);
        break;
    default:
        return;
    }
    Key = 0;
}

void TCFilterForm::EnableControls(bool on)
{
    for (TEdit* e : Weights) e->SetEnabled(on);
    DivFactor->SetEnabled(on);
    Bias->SetEnabled(on);
    for (TButton* b : {OkBtn, CancelBtn, LoadBtn, SaveBtn, HelpBtn}) b->SetEnabled(on);
}

void TCFilterForm::PreviewBtnClick(TObject*)
{
    if (Running) {
        Running = false;  // the run ends after its current row
        return;
    }
    if (PreviewUpToDate && LastClipping == Clipping) return;
    PreviewUpToDate = true;
    LastClipping = Clipping;
    RunPreview();
}

void TCFilterForm::RunPreview()
{
    UDBuffer* pic = CurrentPicture;
    UDBuffer& saved = CustomFilterTool.saved;
    if (!pic || !pic->pixels || !saved.pixels) return;
    const Rect r = RunRect(pic);
    const bool selected = pic->HasSelection();
    Convolver conv(saved, Kernel());
    BeginProgress(r.bottom - r.top + 1);
    EnableControls(false);
    Screen->SetCursor(crHourGlass);
    PreviewBtn->SetCaption(Translate("&Stop"));
    Running = true;
    runAbandoned = false;
    try {
        for (int y = r.top; y <= r.bottom && Running; y++) {
            conv.Row(*pic, y, r.left, r.right, selected);
            StepProgress(y - r.top + 1);
            Application->ProcessMessages();
            if (runAbandoned) {
                Screen->SetCursor(crDefault);
                EndProgress();
                return;
            }
        }
    } catch (...) {
        Running = false;
    }
    if (!Running) PreviewUpToDate = false;  // stopped: the picture is only partly done
    Screen->SetCursor(crDefault);
    EnableControls(true);
    PreviewBtn->SetCaption(Translate("&Preview"));
    Running = false;
    EndProgress();
    RepaintPictureView(pic);
}

void TCFilterForm::OkBtnClick(TObject*)
{
    if (Running) return;
    UDBuffer* pic = CurrentPicture;
    CustomFilterTool.restoreOnDeactivate = 1;
    if (pic && pic->pixels && CustomFilterTool.saved.pixels) {
        // The step holds the picture as it was before any preview, so the
        // filter can be undone; without it the change is not made.
        if (UDBuffer::SaveUndo(&CustomFilterTool.saved, CustomFilterTool.iconKey, pic, -1, 0, 0, 0)) {
            if (pic->HasSelection()) {
                const Rect s = pic->SelectionRect();
                UDBuffer::ShrinkUndo(pic, s.left, s.top, s.right, s.bottom);
            }
            CustomFilterTool.restoreOnDeactivate = 0;
            PreviewUpToDate = false;  // the final run always runs
            RunPreview();
            ++pic->modified;
            UpdateImageCaption();
        }
    }
    SelectDefaultTool(true);
}

void TCFilterForm::CancelBtnClick(TObject*)
{
    if (Running) return;
    CustomFilterTool.restoreOnDeactivate = 1;
    SelectDefaultTool(true);
}

void TCFilterForm::LoadBtnClick(TObject*)
{
    FilterLoadDlg->SetInitialDir(lastFolder);
    if (!FilterLoadDlg->Execute()) return;
    const AnsiString name = FilterLoadDlg->GetFileName();
    lastFolder = ExtractFilePath(name);
    ConvolveKernel k = Kernel();
    if (!ReadAcfFile(name, k)) {
        Warn("CantOpenFilter");
        return;
    }
    ShowKernel(k);
    PreviewUpToDate = false;
}

void TCFilterForm::SaveBtnClick(TObject*)
{
    FilterSaveDlg->SetInitialDir(lastFolder);
    if (!FilterSaveDlg->Execute()) return;
    const AnsiString name = FilterSaveDlg->GetFileName();
    lastFolder = ExtractFilePath(name);
    if (!WriteAcfFile(name, Kernel())) Warn("CantSaveFilter");
}

P_custom_filter::P_custom_filter()
{
    flags = ToolOneShot;
    helpContext = 4000;
    iconKey = "CustFilt";
    undoAtPress = 0;
}

void P_custom_filter::Click() { ToolPhase = PhaseIdle; }

void P_custom_filter::Activate()
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) {
        SelectDefaultTool(true);
        return;
    }
    try {
        saved.Alloc({pic->Width(), pic->Height()});
    } catch (EOutOfMemory&) {
        TranslatedMessageBox("NoMem", "Err", MsgIconWarning);
        SelectDefaultTool(true);
        return;
    }
    saved.Copy(*pic, {0, 0}, 0xFFFFFFFF);
    restoreOnDeactivate = 1;  // a tool switch that is neither OK nor Cancel restores too
    form_ = NewForm<TCFilterForm>(Application);
    form_->ShowKernel(keptKernel);
    form_->DivFactor->SetValue(1);
    form_->Bias->SetValue(0);
    PlaceForm(form_);
    form_->Show();
    form_->Weights[0]->SetFocus();
}

void P_custom_filter::Deactivate(P_icon*)
{
    if (form_) {
        runAbandoned = form_->Running;
        const ConvolveKernel k = form_->Kernel();
        for (int i = 0; i < 25; i++) keptKernel.weights[i] = k.weights[i];
        placeKnown = true;
        placeLeft = form_->GetLeft();
        placeTop = form_->GetTop();
        form_->Hide();
        form_->Release();
        form_ = nullptr;
    }
    UDBuffer* pic = CurrentPicture;
    if (restoreOnDeactivate && pic && saved.pixels && pic->Width() == saved.Width() &&
        pic->Height() == saved.Height()) {
        pic->Copy(saved, {pic->left, pic->top}, 0xFFFFFFFF);
        RepaintPictureView(pic);
    }
    restoreOnDeactivate = 0;
    saved.Free();
}
