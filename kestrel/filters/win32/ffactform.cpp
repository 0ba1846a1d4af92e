// The filter factory dialog. The picture shows the untouched saved copy
// until the first preview; OK keeps the result with one undo step, Cancel
// and any other tool put the saved copy back.
#include "ffactform.h"

#include "application.h"
#include "sysutils.h"
#include "buffer_view.h"
#include "formbuilder.h"
#include "formula_component.h"
#include "formula_file.h"
#include "formula_files.h"
#include "mainform.h"
#include "messages.h"
#include "pictureview.h"
#include "toolmanager.h"

#include <exception>

P_FF_filter FF_filter;
TFFactForm* FFactForm = nullptr;

namespace {

int formLeft = -1, formTop = -1;  // -1: centred in the work area
std::string lastFolder;

const char* const kChannelNames[3] = {"RedCh", "GreenCh", "BlueCh"};
const char* const kSyntaxNames[3] = {"RedSyntax", "GreenSyntax", "BlueSyntax"};
const char* const kTextNames[4] = {"Category", "Title", "Author", "Copyright"};
const char* const kTextCaptions[4] = {"Category:", "Title:", "Author:", "Copyright:"};

std::string Text(TControl* c) { return c->GetText().c_str(); }

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Trimmed(const std::string& s)
{
    size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

void Warn(const char* key) { TranslatedMessageBox(key, "Err", MB_ICONWARNING); }

class PictureRunHooks : public FormulaRunHooks {
public:
    explicit PictureRunHooks(TFFactForm* form) : form_(form) {}
    void Begin(int rows) override { BeginProgress(rows); }
    bool Step() override
    {
        StepProgress(++row_);
        Application->ProcessMessages();
        return form_->running;
    }
    void End() override { EndProgress(); }

private:
    TFFactForm* form_;
    int row_ = 0;
};

}  // namespace

FormulaSet& FilterFactorySet()
{
    static FormulaSet set;
    return set;
}

// ---- the tool

P_FF_filter::P_FF_filter()
{
    flags = ToolOneShot;
    helpContext = 5000;
}

void P_FF_filter::Click() { ToolPhase = PhaseIdle; }

namespace {

// The filtered picture while its window still exists: another window may
// have become current, and its picture must not receive the saved copy.
UDBuffer* FilteredPicture()
{
    for (int k = 0; k < ImagePictureCount(); ++k)
        if (ImagePicture(k) == FF_filter.picture)
            return FF_filter.picture;
    return nullptr;
}

}  // namespace

void P_FF_filter::Activate()
{
    UDBuffer* pic = CurrentPicture;
    if (!pic)
        return;
    try {
        saved.Alloc(Pair<int>{pic->Width(), pic->Height()});
        saved.Copy(*pic, Pair<int>{-pic->left, -pic->top}, 0xFFFFFFFF);
        saved.CopyAttributes(*pic);
        FFactForm = new TFFactForm(Application);
    } catch (const std::exception&) {
        saved.Free();
        Warn("NoMem");
        SelectDefaultTool(true);
        return;
    }
    picture = pic;
    previewUpToDate = 0;
    FFactForm->running = false;
    FFactForm->ShowTexts();
    FFactForm->BuildThumbnails();
    FFactForm->Show();
    FFactForm->ChChange(FFactForm);
    restoreOnDeactivate = 1;
}

void P_FF_filter::Deactivate(P_icon*)
{
    if (TFFactForm* form = FFactForm) {
        FFactForm = nullptr;
        form->StoreTexts();
        formLeft = form->GetLeft();
        formTop = form->GetTop();
        form->Hide();
        // Reached from a message handled while a run goes on (Escape, another
        // tool): the run stops at the end of its row, before the saved copy
        // it reads is freed below, and the dialog, whose code it runs, goes
        // when the run has ended.
        if (form->running) {
            form->running = false;
            form->releaseAfterRun = true;
        } else {
            form->Release();
        }
    }
    UDBuffer* pic = FilteredPicture();
    if (restoreOnDeactivate && pic && saved.pixels && pic->Width() == saved.Width() &&
        pic->Height() == saved.Height()) {
        pic->Copy(saved, Pair<int>{pic->left, pic->top}, 0xFFFFFFFF);
        RepaintPictureView(pic);
    }
    restoreOnDeactivate = 0;
    picture = nullptr;
    saved.Free();
}

// ---- the dialog

TFFactForm::TFFactForm(TComponent* AOwner) : TForm(AOwner), code_(new FormulaCode())
{
    SetName("FFactForm");
    SetCaption("Filter Factory");
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    SetKeyPreview(true);
    SetHelpContext(5000);
    SetClientWidth(492);
    SetClientHeight(404);
    OnKeyDown = [this](TObject* s, unsigned short& key, TShiftState shift) { FormKeyDown(s, key, shift); };

    InstPreviewBuf = New<TBuffer>(this, this, 4, 4, 124, 94);
    InstPreviewBuf->SetName("InstPreviewBuf");
    InstPreview = NewCheckBox(this, this, "Preview", 4, 102, 110, 17, true);
    InstPreview->SetName("InstPreview");
    InstPreview->OnClick = [this](TObject*) {
        InstPreviewBuf->SetVisible(InstPreview->GetChecked());
        if (InstPreview->GetChecked())
            ChChange(this);
    };
    BuildSliders();
    BuildMemos();
    BuildTexts();
    BuildButtons();
    BuildFileDialogs();
    // -1: the first opening of the run, centred in the work area.
    if (formLeft == -1) {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        SetLeft(work.left + (work.right - work.left - GetWidth()) / 2);
        SetTop(work.top + (work.bottom - work.top - GetHeight()) / 2);
    } else {
        SetLeft(formLeft);
        SetTop(formTop);
    }
}

void TFFactForm::BuildMemos()
{
    for (int c = 0; c < 3; ++c) {
        int y = 204 + 44 * c;
        NewLabel(this, this, c == 0 ? "r:" : c == 1 ? "g:" : "b:", 4, y + 2);
        Channel[c] = New<TMemo>(this, this, 20, y, 370, 40);
        Channel[c]->SetName(kChannelNames[c]);
        Channel[c]->SetScrollBars(ssVertical);
        Channel[c]->SetHideSelection(false);
        Channel[c]->OnChange = [this](TObject* s) { ChChange(s); };
        Channel[c]->OnEnter = [this, c](TObject*) { Channel[c]->SelectAll(); };
        Channel[c]->OnExit = [this, c](TObject*) { Channel[c]->SetSelLength(0); };
        Syntax[c] = NewLabel(this, this, "!", 394, y + 12);
        Syntax[c]->SetName(kSyntaxNames[c]);
        Syntax[c]->GetFont()->SetColor(clRed);
        Syntax[c]->GetFont()->SetStyle(fsBold);
        Syntax[c]->SetVisible(false);
        Syntax[c]->OnClick = [this, c](TObject*) { SyntaxClick(c); };
    }
}

void TFFactForm::BuildTexts()
{
    for (int k = 0; k < 4; ++k) {
        int x = 4 + (k % 2) * 200, y = 342 + (k / 2) * 28;
        NewLabel(this, this, kTextCaptions[k], x, y + 3);
        Texts[k] = NewEdit(this, this, "", x + 64, y, 130);
        Texts[k]->SetName(kTextNames[k]);
    }
}

void TFFactForm::BuildButtons()
{
    struct ButtonRow {
        TButton** button;
        const char* name;
        const char* caption;
        void (TFFactForm::*click)(TObject*);
    };
    const ButtonRow rows[] = {
        {&OkBtn, "OkBtn", "&Ok", &TFFactForm::OkBtnClick},
        {&PreviewBtn, "PreviewBtn", "&Preview", &TFFactForm::PreviewBtnClick},
        {&CancelBtn, "CancelBtn", "&Cancel", &TFFactForm::CancelBtnClick},
        {&LoadBtn, "LoadBtn", "&Load...", &TFFactForm::LoadBtnClick},
        {&SaveBtn, "SaveBtn", "&Save...", &TFFactForm::SaveBtnClick},
        {&MakeBtn, "MakeBtn", "&Make...", &TFFactForm::MakeBtnClick},
        {&HelpBtn, "HelpBtn", "&Help", &TFFactForm::HelpBtnClick},
    };
    for (int k = 0; k < 7; ++k) {
        auto click = rows[k].click;
        *rows[k].button = NewButton(this, this, rows[k].caption, 412, 4 + 30 * k, 76, 25,
                                    [this, click](TObject* s) { (this->*click)(s); });
        (*rows[k].button)->SetName(rows[k].name);
    }
}

void TFFactForm::BuildFileDialogs()
{
    FFLoadDlg = new TOpenDialog(this);
    FFLoadDlg->SetTitle("Load Filter Factory");
    FFLoadDlg->SetFilter("Filter Factory Source (*.AFS)|*.afs");
    FFLoadDlg->SetDefaultExt("afs");
    FFLoadDlg->SetOptions(ofFileMustExist);
    FFSaveDlg = new TSaveDialog(this);
    FFSaveDlg->SetTitle("Save Filter Factory");
    FFSaveDlg->SetFilter("Filter Factory Source (*.AFS)|*.afs");
    FFSaveDlg->SetDefaultExt("afs");
    FFSaveDlg->SetOptions(ofOverwritePrompt);
    KSCSaveDlg = new TSaveDialog(this);
    KSCSaveDlg->SetTitle("Save KSC");
    KSCSaveDlg->SetFilter("KSC File (*.KSC)|*.ksc");
    KSCSaveDlg->SetDefaultExt("ksc");
    KSCSaveDlg->SetOptions(ofOverwritePrompt);
}


TFFactForm::~TFFactForm()
{
    if (FFactForm == this)
        FFactForm = nullptr;
    InstPreviewBuf->SetBuffer(nullptr);
}

void TFFactForm::BuildSliders()
{
    FormulaSet& set = FilterFactorySet();
    for (int i = 0; i < 8; ++i) {
        int y = 24 * i + 4;
        SliderName[i] = NewEdit(this, this, set.sliderName[i].c_str(), 130, y, 78);
        Slider[i] = New<TScrollBar>(this, this, 212, y + 3, 152, 17);
        Slider[i]->SetKind(sbHorizontal);
        Slider[i]->SetParams(set.ctl[i], 0, 255);
        Slider[i]->SetLargeChange(16);
        Slider[i]->SetTag(i);
        Slider[i]->OnChange = [this, i](TObject*) { SliderChange(i); };
        SliderValue[i] = NewLabel(this, this, IntToStr(set.ctl[i]), 366, y + 3);
    }
}

void TFFactForm::StoreTexts()
{
    FormulaSet& set = FilterFactorySet();
    for (int c = 0; c < 3; ++c)
        set.formula[c] = Trimmed(Text(Channel[c]));
    for (int k = 0; k < 4; ++k)
        set.text[k] = Text(Texts[k]);
    for (int i = 0; i < 8; ++i)
        set.sliderName[i] = Text(SliderName[i]);
}

void TFFactForm::ShowTexts()
{
    bool wasLoading = loading_;
    loading_ = true;
    FormulaSet& set = FilterFactorySet();
    for (int c = 0; c < 3; ++c)
        Channel[c]->SetText(set.formula[c].c_str());
    for (int k = 0; k < 4; ++k)
        Texts[k]->SetText(set.text[k].c_str());
    for (int i = 0; i < 8; ++i) {
        SliderName[i]->SetText(set.sliderName[i].c_str());
        Slider[i]->SetPosition(set.ctl[i]);
        SliderValue[i]->SetCaption(IntToStr(set.ctl[i]));
    }
    loading_ = wasLoading;
}

void TFFactForm::BuildThumbnails()
{
    Buffer& src = FF_filter.saved;
    int w = src.pixels ? src.Width() : 1, h = src.pixels ? src.Height() : 1;
    double factor = std::min(120.0 / w, 90.0 / h);
    int tw = std::max(1, static_cast<int>(w * factor)), th = std::max(1, static_cast<int>(h * factor));
    thumbSource_.Alloc(Pair<int>{tw, th});
    thumbSource_.Box(thumbSource_.GetRect(), 0);
    if (src.pixels)
        thumbSource_.Scale(src, Pair<int>{tw, th}, Pair<int>{0, 0}, 0xFFFFFFFF, 0);
    thumbTarget_.Alloc(Pair<int>{124, 94});
    thumbTarget_.Box(thumbTarget_.GetRect(), 0x00C0C0C0);
    InstPreviewBuf->SetBuffer(&thumbTarget_);
    InstPreviewBuf->SetVisible(InstPreview->GetChecked());
}

void TFFactForm::RunThumbnail()
{
    if (!thumbSource_.pixels || !thumbTarget_.pixels)
        return;
    int tw = thumbSource_.Width(), th = thumbSource_.Height();
    int ox = (124 - tw) / 2, oy = (94 - th) / 2;
    Buffer view(thumbTarget_, Rect{ox, oy, ox + tw - 1, oy + th - 1}, false);
    RunCompiledFormulas(*code_, FilterFactorySet().ctl, thumbSource_, view, false, nullptr);
    InstPreviewBuf->Invalidate();
}

void TFFactForm::ChChange(TObject*)
{
    if (loading_)
        return;
    std::string texts[3];
    for (int c = 0; c < 3; ++c)
        texts[c] = Text(Channel[c]);
    const char* const p[3] = {texts[0].c_str(), texts[1].c_str(), texts[2].c_str()};
    CompileFormulas(*code_, p, compilation_);
    for (int c = 0; c < 3; ++c)
        Syntax[c]->SetVisible(!compilation_.channel[c].ok);
    if (InstPreview->GetChecked())
        RunThumbnail();
    FF_filter.previewUpToDate = 0;
}

void TFFactForm::SliderChange(int index)
{
    int v = Slider[index]->GetPosition();
    FilterFactorySet().ctl[index] = v;
    SliderValue[index]->SetCaption(IntToStr(v));
    if (InstPreview->GetChecked())
        RunThumbnail();
    FF_filter.previewUpToDate = 0;
}

void TFFactForm::SyntaxClick(int channel)
{
    const FormulaChannelResult& r = compilation_.channel[channel];
    Channel[channel]->SetSelStart(r.errorOffset - r.errorLength);
    Channel[channel]->SetSelLength(r.errorLength);
}

void TFFactForm::EnableControls(bool enable)
{
    for (int i = 0; i < 8; ++i) {
        SliderName[i]->SetEnabled(enable);
        Slider[i]->SetEnabled(enable);
    }
    for (TButton* b : {OkBtn, CancelBtn, LoadBtn, SaveBtn, MakeBtn, HelpBtn})
        b->SetEnabled(enable);
    InstPreview->SetEnabled(enable);
    for (TEdit* e : Texts)
        e->SetEnabled(enable);
    for (TMemo* m : Channel)
        m->SetEnabled(enable);
    if (MainForm)
        EnableWindow(MainForm->GetHandle(), enable);
}

void TFFactForm::PreviewBtnClick(TObject*)
{
    if (running) {
        running = false;
        return;
    }
    UDBuffer* pic = FilteredPicture();
    if (!pic || !FF_filter.saved.pixels || pic->Width() != FF_filter.saved.Width() ||
        pic->Height() != FF_filter.saved.Height())
        return;
    if (!FF_filter.restoreOnDeactivate) {
        // Without an undo step the change is abandoned: closing the dialog
        // puts the original back rather than leave a preview in place.
        if (!UDBuffer::SaveUndo(&FF_filter.saved, "FilterFact", pic, -1, 0, 0, 0)) {
            FF_filter.restoreOnDeactivate = 1;
            return;
        }
        if (pic->HasSelection())
            UDBuffer::ShrinkUndo(pic, pic->selMinX, pic->selMinY, pic->selMaxX, pic->selMaxY);
    }
    if (FF_filter.previewUpToDate)
        return;
    FF_filter.previewUpToDate = 1;
    EnableControls(false);
    running = true;
    PreviewBtn->SetCaption(Translate("&Stop"));
    PictureRunHooks hooks(this);
    ++runs;
    // A stopped run leaves a partly filtered picture: it is not up to date.
    if (!RunCompiledFormulas(*code_, FilterFactorySet().ctl, FF_filter.saved, *pic, pic->HasSelection(), &hooks))
        FF_filter.previewUpToDate = 0;
    running = false;
    RepaintPictureView(pic);
    EnableControls(true);
    if (releaseAfterRun) {
        Release();
        return;
    }
    PreviewBtn->SetCaption(Translate("&Preview"));
}

void TFFactForm::OkBtnClick(TObject*)
{
    FF_filter.restoreOnDeactivate = 0;
    PreviewBtnClick(this);
    UDBuffer* pic = FilteredPicture();
    if (pic && !FF_filter.restoreOnDeactivate)
        pic->modified++;
    SelectDefaultTool(true);
    if (MainForm)
        MainForm->SetToolbarsFloatingMode(false);
}

void TFFactForm::CancelBtnClick(TObject*)
{
    SelectDefaultTool(true);
    if (MainForm)
        MainForm->SetToolbarsFloatingMode(false);
}

void TFFactForm::HelpBtnClick(TObject*) { Application->HelpContext(GetHelpContext()); }

void TFFactForm::FormKeyDown(TObject*, unsigned short& key, TShiftState)
{
    // While a run goes on, OK and Cancel are disabled: Escape stops the run.
    if (running) {
        if (key == VK_ESCAPE) {
            key = 0;
            running = false;
        }
        return;
    }
    TWinControl* focus = GetActiveControl();
    bool inMemo = focus == Channel[0] || focus == Channel[1] || focus == Channel[2];
    if (key == VK_RETURN && !inMemo) {
        key = 0;
        OkBtnClick(this);
    } else if (key == VK_ESCAPE) {
        key = 0;
        CancelBtnClick(this);
    }
}

void TFFactForm::LoadBtnClick(TObject*)
{
    FFLoadDlg->SetInitialDir(lastFolder.c_str());
    bool chosen = FFLoadDlg->Execute();
    if (MainForm)
        MainForm->SetToolbarsFloatingMode(true);
    if (!chosen)
        return;
    std::string path = FFLoadDlg->GetFileName().c_str(), bytes;
    lastFolder = FolderOf(path);
    if (!ReadWholeFile(path, bytes)) {
        Warn("CantOpenFilter");
        return;
    }
    StoreTexts();
    if (!ReadFormulaFile(bytes, FilterFactorySet()))
        Warn("NotValidFF");
    ShowTexts();
    ChChange(this);
}

void TFFactForm::SaveBtnClick(TObject*)
{
    FFSaveDlg->SetInitialDir(lastFolder.c_str());
    bool chosen = FFSaveDlg->Execute();
    if (MainForm)
        MainForm->SetToolbarsFloatingMode(true);
    if (!chosen)
        return;
    std::string path = FFSaveDlg->GetFileName().c_str();
    lastFolder = FolderOf(path);
    StoreTexts();
    FormulaSet set = FilterFactorySet();
    for (int c = 0; c < 3; ++c)
        set.formula[c] = Text(Channel[c]);  // line breaks as they stand
    if (!WriteWholeFile(path, WriteFormulaFile(set)))
        Warn("CantSaveFilter");
}

void TFFactForm::MakeBtnClick(TObject*)
{
    KSCSaveDlg->SetInitialDir((std::string(ProgramDir.c_str()) + "Comps").c_str());
    bool chosen = KSCSaveDlg->Execute();
    if (MainForm)
        MainForm->SetToolbarsFloatingMode(true);
    if (!chosen)
        return;
    StoreTexts();
    std::string templ, out;
    FormulaComponentCode code;
    static const int kOrder[4] = {CODE_SETUP, CODE_RED, CODE_GREEN, CODE_BLUE};
    for (int k = 0; k < 4; ++k) {
        code.code[k] = code_->Code(kOrder[k]);
        code.size[k] = compilation_.size[kOrder[k]];
    }
    bool ok = ReadWholeFile(std::string(ProgramDir.c_str()) + "ffksc.dll", templ) &&
              BuildFormulaComponent(templ, FilterFactorySet(), code, out) &&
              WriteWholeFile(KSCSaveDlg->GetFileName().c_str(), out);
    if (!ok)
        Warn("CantSaveComp");
}
