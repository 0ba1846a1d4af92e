// The component dialog. Its rows are made for the current component each
// time the tool is activated and freed at deactivation; the values the user
// leaves live in the component's table entry for the program's run.
#include "compform.h"

#include "application.h"
#include "appsettings.h"
#include "lang.h"
#include "sysutils.h"
#include "colorsel.h"
#include "component_setparam.h"
#include "component_table.h"
#include "component_tool.h"
#include "exceptions.h"
#include "formbuilder.h"
#include "imageform.h"
#include "mainform.h"
#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "palettebar.h"
#include "pictureview.h"
#include "screen.h"
#include "spinedit.h"
#include "toolmanager.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const int FormWidth = 264, RowsRight = 256, ButtonRow = 41, ThumbW = 120, ThumbH = 90;
bool placeKnown = false;
int placeLeft = 0, placeTop = 0;
bool lastLayoutHadButtons = false;

ComponentEntry* Entry(const TCompForm* f) { return f->Tool ? ComponentAt(f->Tool->component) : nullptr; }

// A help file given without a context is looked up in the language first.
AnsiString ComponentHelpFile(const ComponentEntry& e)
{
    return e.help.localised ? TranslateName(e.help.file.c_str()) : AnsiString(e.help.file.c_str());
}

int TextLength(int v) { return static_cast<int>(std::to_string(v).size()); }

int SpinWidth(const ComponentParam& p)
{
    if (p.kind == CPK_FLOAT) {
        const int digits = std::max(TextLength(static_cast<int>(p.increment)), TextLength(static_cast<int>(p.realMinimum)));
        return (digits + p.decimals + 1) * 7 + 29;
    }
    return std::max(TextLength(p.minimum), TextLength(p.maximum)) * 7 + 29;
}

TSpinEdit* NewSpin(TCompForm* f, int right, int y, int w)
{
    TSpinEdit* s = New<TSpinEdit>(f, f, right - w, y, w, 21);
    return s;
}

int PictureExtent(bool x)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) return 1;
    return x ? pic->Width() : pic->Height();
}

template <typename T>
T Read(const unsigned char* block, int at)
{
    T v;
    std::memcpy(&v, block + at, sizeof v);
    return v;
}

template <typename T>
void Write(unsigned char* block, int at, T v)
{
    std::memcpy(block + at, &v, sizeof v);
}

// Keys a focused spin edit keeps: what typing and stepping a number needs.
bool KeyStaysWithSpinEdit(unsigned short key)
{
    if ((key >= '0' && key <= '9') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)) return true;
    switch (key) {
    case VK_OEM_PERIOD: case VK_DECIMAL: case VK_ADD: case VK_SUBTRACT: case VK_BACK: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_UP: case VK_DOWN:
        return true;
    }
    return false;
}

// A point the user left where it was keeps its exact fraction: pixels are
// coarser than fractions, and reading one back would move a default.
int KeptFraction(int fraction, int pixel, int extent)
{
    const bool shown = pixel == FractionToPixelRounded(fraction, extent) ||
                       pixel == FractionToPixelTruncated(fraction, extent);
    return shown ? fraction : PixelToFraction(pixel, extent);
}

// Fits picture number n (1-based) into 120 x 90, centred.
void DrawPictureThumb(Buffer& thumb, int n)
{
    thumb.Alloc(Pair<int>{ThumbW, ThumbH});
    thumb.Box(thumb.GetRect(), 0x00C0C0C0);
    UDBuffer* pic = n >= 1 && n <= ImagePictureCount() ? ImagePicture(n - 1) : nullptr;
    if (!pic || !pic->pixels) return;
    const double f = std::min(double(ThumbW) / pic->Width(), double(ThumbH) / pic->Height());
    const int w = std::max(1, int(pic->Width() * f)), h = std::max(1, int(pic->Height() * f));
    thumb.Scale(*pic, Pair<int>{w, h}, Pair<int>{(ThumbW - w) / 2, (ThumbH - h) / 2}, 0xFFFFFFFF, 0);
}

}  // namespace

TCompForm::TCompForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("CompForm");
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    SetKeyPreview(true);
    SetWidth(404);
    SetHeight(129);
    Cap = new TGradientCaption(this);
    Cap->SetName("Cap");
    CopyrightMessage = NewLabel(this, this, "", 4, 0);
    CopyrightMessage->SetName("CopyrightMessage");
    CopyrightMessage->GetFont()->SetName("Arial");
    CopyrightMessage->GetFont()->SetHeight(-9);
    const char* captions[] = {"&Ok", "&Preview", "P&reset", "&Help", "&Cancel"};
    const char* names[] = {"OkBtn", "PreviewBtn", "PresetBtn", "HelpBtn", "CancelBtn"};
    TButton** buttons[] = {&OkBtn, &PreviewBtn, &PresetBtn, &HelpBtn, &CancelBtn};
    for (int i = 0; i < 5; ++i) {
        *buttons[i] = NewButton(this, this, captions[i], 4 + i * 52, 0, 50, 25);
        (*buttons[i])->SetName(names[i]);
        (*buttons[i])->SetVisible(false);
    }
    OkBtn->OnClick = [this](TObject* s) { OkBtnClick(s); };
    PreviewBtn->OnClick = [this](TObject* s) { PreviewBtnClick(s); };
    PresetBtn->OnClick = [this](TObject* s) { PresetBtnClick(s); };
    HelpBtn->OnClick = [this](TObject* s) { HelpBtnClick(s); };
    CancelBtn->OnClick = [this](TObject* s) { CancelBtnClick(s); };
    InstPreview = NewCheckBox(this, this, "Inst Prev", 0, 0, 80, 17, true, [this](TObject*) {
        InstPreviewBuf->SetVisible(InstPreview->GetChecked());
        if (InstPreview->GetChecked()) ParamControlChanged();
    });
    InstPreview->SetName("InstPreview");
    InstPreview->SetVisible(false);
    InstPreviewBuf = New<TBuffer>(this, this, 0, 0, ThumbW, ThumbH);
    InstPreviewBuf->SetName("InstPreviewBuf");
    InstPreviewBuf->SetVisible(false);
    InstPreviewBuf->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
        ComponentEntry* e = Entry(this);
        if (!e || !Tool || !Tool->Process() || !ThumbTarget.pixels) return;
        ComponentPointerRecord rec =
            MakeComponentPointer(x, y, ThumbTarget.Width(), ThumbTarget.Height(), button == mbRight, 1);
        CallComponentProcess(Tool->Process(), e->name.c_str(), KSCM_POINTER, &rec, false);
    };
    OnKeyDown = [this](TObject* s, unsigned short& key, TShiftState shift) { FormKeyDown(s, key, shift); };
    OnActivate = [this](TObject*) {
        if (ComponentEntry* e = Entry(this)) Application->SetHelpFile(ProgramDir + ComponentHelpFile(*e));
    };
    // The dialog stays in sight while the user works on the picture.
    OnDeactivate = [this](TObject*) {
        Application->SetHelpFile(ProgramDir + Translate("HelpFile"));
        if (GetVisible() && HandleAllocated()) ShowWindow(GetHandle(), SW_SHOWNOACTIVATE);
    };
    // Closing the window is Cancel: a hidden dialog would leave the preview
    // on the picture with no way to end it.
    OnClose = [this](TObject*, TCloseAction& action) {
        action = caNone;
        if (!Running && Tool) CancelBtnClick(this);
    };
    if (Lang) Lang->TranslateForm("[CompForm]");
}

TCompForm::~TCompForm() = default;

void TCompForm::KeepPlace()
{
    if (!GetVisible()) return;
    placeKnown = true;
    placeLeft = GetLeft();
    placeTop = GetTop();
}

void ReleaseComponentDialog(TCompForm* f)
{
    f->KeepPlace();
    f->FreeRows();
    f->Hide();
    f->Tool = nullptr;
    f->SetName("");
    f->Release();
}

void TCompForm::FreeRows()
{
    for (CompParamRow& r : Rows) {
        delete r.label;
        delete r.main;
        delete r.second;
        delete r.thumb;
        r = CompParamRow();
    }
}

// ---- layout

namespace {

void MakeRow(TCompForm* f, int i, const ComponentParam& p, int y)
{
    CompParamRow& row = f->Rows[i];
    row.kind = p.kind;
    const AnsiString name = TranslateName(p.name.c_str());
    const bool captionOnControl = p.kind == CPK_BUTTON || p.kind == CPK_CHECK;
    row.label = NewLabel(f, f, captionOnControl ? AnsiString() : name, 2, y + 3);
    auto changed = [f](TObject*) { f->ParamControlChanged(); };
    switch (p.kind) {
    case CPK_INT:
    case CPK_FLOAT: {
        TSpinEdit* s = NewSpin(f, RowsRight, y, SpinWidth(p));
        s->SetValueType(p.kind == CPK_FLOAT ? vtFloat : vtInt);
        if (p.kind == CPK_FLOAT) {
            s->SetDecimal(p.decimals);
            s->SetIncrement(p.increment);
            s->SetMinValue(p.realMinimum);
            s->SetMaxValue(p.realMaximum);
        } else {
            s->SetMinValue(p.minimum);
            s->SetMaxValue(p.maximum);
        }
        s->OnChange = changed;
        row.main = s;
        break;
    }
    case CPK_BUTTON: {
        const int n = p.number;
        row.main = NewButton(f, f, name, RowsRight - 120, y, 120, 24, [f, n](TObject*) {
            ComponentEntry* e = Entry(f);
            if (!e || !f->Tool || !f->Tool->Process()) return;
            int number = n;
            try {
                CallComponent(f->Tool->Process(), &number, KSCM_BUTTON, e->name.c_str());
            } catch (Exception& x) {
                Application->ShowException(&x);
            }
        });
        break;
    }
    case CPK_CHECK:
        row.main = NewCheckBox(f, f, name, 2, y + 2, RowsRight - 2, 19, false, changed);
        break;
    case CPK_SCROLL: {
        TScrollBar* b = New<TScrollBar>(f, f, RowsRight - 130, y + 2, 130, 17);
        b->SetKind(sbHorizontal);
        b->SetParams(p.value, p.minimum, p.maximum);
        b->SetLargeChange(std::max(1, (p.maximum - p.minimum + 1) / 16));
        b->OnChange = changed;
        row.main = b;
        row.second = NewLabel(f, f, IntToStr(p.value), RowsRight - 166, y + 3);
        break;
    }
    case CPK_LIST: {
        size_t longest = 0;
        for (const std::string& item : p.items) longest = std::max(longest, std::string(TranslateName(item.c_str()).c_str()).size());
        const int w = int(longest) * 7 + 20;
        TComboBox* c = New<TComboBox>(f, f, RowsRight - w, y, w, 21);
        c->SetStyle(csDropDownList);
        for (const std::string& item : p.items) c->GetItems()->Add(TranslateName(item.c_str()));
        c->OnChange = changed;
        row.main = c;
        break;
    }
    case CPK_COLOUR: {
        TShape* s = New<TShape>(f, f, RowsRight - 48, y + 2, 48, 23);
        s->OnMouseDown = [f, i](TObject*, TMouseButton, TShiftState, int, int) { f->SwatchMouseDown(i); };
        row.main = s;
        break;
    }
    case CPK_POINT: {
        const int w = std::max(TextLength(PictureExtent(true)), TextLength(PictureExtent(false))) * 7 + 29;
        TSpinEdit* x = NewSpin(f, RowsRight - w - 4, y, w);
        TSpinEdit* yy = NewSpin(f, RowsRight, y, w);
        x->SetMinValue(0);
        x->SetMaxValue(PictureExtent(true) - 1);
        yy->SetMinValue(0);
        yy->SetMaxValue(PictureExtent(false) - 1);
        x->OnChange = changed;
        yy->OnChange = changed;
        row.main = x;
        row.second = yy;
        break;
    }
    case CPK_PICTURE: {
        TSpinEdit* s = NewSpin(f, RowsRight, y, TextLength(ImagePictureCount()) * 7 + 29);
        s->SetMinValue(0);
        s->SetMaxValue(ImagePictureCount());
        row.main = s;
        row.thumb = New<TBuffer>(f, f, RowsRight - 54 - ThumbW, y + 2, ThumbW, ThumbH);
        s->OnChange = [f, i](TObject*) {
            TSpinEdit* spin = static_cast<TSpinEdit*>(f->Rows[i].main);
            if (int(spin->GetValue()) <= 0) return;  // not a picture
            f->RefreshImageParam(i + 1);
            f->ParamControlChanged();
        };
        break;
    }
    }
}

// The instant preview: the picture fitted into 120 x 90.
bool MakeThumbnails(TCompForm* f, UDBuffer* pic)
{
    const double k = std::min(double(ThumbW) / pic->Width(), double(ThumbH) / pic->Height());
    const int w = std::max(1, int(pic->Width() * k)), h = std::max(1, int(pic->Height() * k));
    try {
        f->ThumbSource.Alloc(Pair<int>{w, h});
        f->ThumbTarget.Alloc(Pair<int>{w, h});
    } catch (...) {
        f->ThumbSource.Free();
        f->ThumbTarget.Free();
        return false;
    }
    f->ThumbSource.Scale(*pic, Pair<int>{w, h}, Pair<int>{0, 0}, 0xFFFFFFFF, 0);
    f->ThumbTarget.Copy(f->ThumbSource, Pair<int>{0, 0}, 0xFFFFFFFF);
    return true;
}

void PlaceForm(TCompForm* f)
{
    if (placeKnown) {
        f->SetBounds(placeLeft, placeTop, f->GetWidth(), f->GetHeight());
        return;
    }
    if (!CurrentImageForm) return;
    POINT origin = CurrentImageForm->ClientToScreen(POINT{0, 0});
    const int freeX = std::max(0, CurrentImageForm->GetClientWidth() - f->GetWidth());
    const int freeY = std::max(0, CurrentImageForm->GetClientHeight() - f->GetHeight());
    f->SetBounds(origin.x + freeX / 4, origin.y + freeY / 4, f->GetWidth(), f->GetHeight());
}

}  // namespace

bool LayoutComponentForm(TCompForm* f, bool withThumbnail)
{
    ComponentEntry* e = Entry(f);
    f->FreeRows();
    if (!e) return false;
    f->SetCaption(TranslateName(e->name.c_str()));
    f->CopyrightMessage->SetCaption(e->copyright.c_str());
    f->CopyrightMessage->SetHint(e->contact.c_str());
    f->CopyrightMessage->SetShowHint(true);
    for (TControl* c : {static_cast<TControl*>(f->OkBtn), static_cast<TControl*>(f->PreviewBtn),
                        static_cast<TControl*>(f->PresetBtn), static_cast<TControl*>(f->HelpBtn),
                        static_cast<TControl*>(f->CancelBtn), static_cast<TControl*>(f->CopyrightMessage),
                        static_cast<TControl*>(f->InstPreview), static_cast<TControl*>(f->InstPreviewBuf)})
        c->SetVisible(false);
    int y = 4;
    bool any = false;
    const int level = AppSettings.Level;
    for (size_t i = 0; i < e->params.size() && i < COMPONENT_PARAMS; ++i) {
        const ComponentParam& p = e->params[i];
        MakeRow(f, int(i), p, y);
        any = true;
        if (ComponentParamHidden(p, level)) {
            for (TControl* c : {static_cast<TControl*>(f->Rows[i].label), f->Rows[i].main, f->Rows[i].second,
                                static_cast<TControl*>(f->Rows[i].thumb)})
                if (c) c->SetVisible(false);
            continue;
        }
        y += ComponentParamRowHeight(p.kind);
    }
    f->ShowValues(e->values);
    int width = FormWidth, clientH = y + 2;
    UDBuffer* pic = CurrentPicture;
    if (withThumbnail) {
        clientH += ButtonRow;
        int x = 4;
        for (TButton* b : {f->OkBtn, f->PreviewBtn, f->PresetBtn, f->HelpBtn, f->CancelBtn}) {
            if (b == f->PreviewBtn && !ComponentHasOption(*e, 'P')) continue;
            b->SetBounds(x, clientH - 29, 50, 25);
            b->SetVisible(true);
            x += 52;
        }
        f->CopyrightMessage->SetBounds(4, clientH - 41, RowsRight - 8, 12);
        f->CopyrightMessage->SetVisible(true);
        if (ComponentHasOption(*e, 'W') && pic && pic->pixels && MakeThumbnails(f, pic)) {
            const int tw = f->ThumbTarget.Width(), th = f->ThumbTarget.Height();
            width = std::max(tw, 126) + 276;
            clientH = std::max(clientH, th + 38);
            const int areaLeft = RowsRight + 4, areaW = width - (FormWidth - RowsRight) - areaLeft;
            f->InstPreviewBuf->SetBounds(areaLeft + (areaW - tw) / 2, 4, tw, th);
            f->InstPreviewBuf->SetBuffer(&f->ThumbTarget);
            f->InstPreviewBuf->SetVisible(f->InstPreview->GetChecked());
            f->InstPreview->SetBounds(areaLeft + (areaW - 80) / 2, th + 10, 80, 17);
            f->InstPreview->SetVisible(true);
        }
        f->SetWidth(width);
        f->SetClientHeight(clientH);
        PlaceForm(f);
    } else {
        f->SetWidth(width);
        f->SetClientHeight(clientH);
        if (lastLayoutHadButtons && CurrentImageForm) {
            POINT origin = CurrentImageForm->ClientToScreen(POINT{4, 4});
            f->SetBounds(origin.x, origin.y, f->GetWidth(), f->GetHeight());
        }
    }
    lastLayoutHadButtons = withThumbnail;
    f->SetHelpContext(e->help.context);
    return any;
}

// ---- values and controls

void TCompForm::ReadControls(unsigned char* block)
{
    ComponentEntry* e = Entry(this);
    if (!e) return;
    for (size_t i = 0; i < e->params.size() && i < COMPONENT_PARAMS; ++i) {
        const CompParamRow& r = Rows[i];
        const int at = ComponentValueOffset(e->params, int(i));
        switch (r.kind) {
        case CPK_INT:
            Write<int>(block, at, int(static_cast<TSpinEdit*>(r.main)->GetValue()));
            break;
        case CPK_FLOAT:
            Write<double>(block, at, double(static_cast<TSpinEdit*>(r.main)->GetValue()));
            break;
        case CPK_CHECK:
            Write<int>(block, at, static_cast<TCheckBox*>(r.main)->GetChecked() ? 1 : 0);
            break;
        case CPK_SCROLL: {
            const int v = static_cast<TScrollBar*>(r.main)->GetPosition();
            Write<int>(block, at, v);
            static_cast<TLabel*>(r.second)->SetCaption(IntToStr(v));
            break;
        }
        case CPK_LIST:
            Write<int>(block, at, static_cast<TComboBox*>(r.main)->GetItemIndex() + 1);
            break;
        case CPK_COLOUR:
            Write<int>(block, at, int(SwatchColour(static_cast<TShape*>(r.main)) & 0xFFFFFF));
            break;
        case CPK_POINT: {
            int x, y;
            SplitPointSlot(Read<unsigned>(block, at), x, y);
            x = KeptFraction(x, int(static_cast<TSpinEdit*>(r.main)->GetValue()), PictureExtent(true));
            y = KeptFraction(y, int(static_cast<TSpinEdit*>(r.second)->GetValue()), PictureExtent(false));
            Write<unsigned>(block, at, JoinPointSlot(x, y));
            break;
        }
        case CPK_PICTURE: {
            const int v = int(static_cast<TSpinEdit*>(r.main)->GetValue());
            if (v > 0) Write<int>(block, at, v);  // 0 or less is not taken
            break;
        }
        }
    }
}

void TCompForm::ShowValues(const unsigned char* block)
{
    ComponentEntry* e = Entry(this);
    if (!e) return;
    const bool wasOn = Notify;
    Notify = false;
    for (size_t i = 0; i < e->params.size() && i < COMPONENT_PARAMS; ++i) {
        const CompParamRow& r = Rows[i];
        const int at = ComponentValueOffset(e->params, int(i));
        switch (r.kind) {
        case CPK_INT:
            static_cast<TSpinEdit*>(r.main)->SetValue(Read<int>(block, at));
            break;
        case CPK_FLOAT:
            static_cast<TSpinEdit*>(r.main)->SetValue(Read<double>(block, at));
            break;
        case CPK_CHECK:
            static_cast<TCheckBox*>(r.main)->SetChecked(Read<int>(block, at) != 0);
            break;
        case CPK_SCROLL:
            static_cast<TScrollBar*>(r.main)->SetPosition(Read<int>(block, at));
            static_cast<TLabel*>(r.second)->SetCaption(IntToStr(static_cast<TScrollBar*>(r.main)->GetPosition()));
            break;
        case CPK_LIST:
            static_cast<TComboBox*>(r.main)->SetItemIndex(Read<int>(block, at) - 1);
            break;
        case CPK_COLOUR:
            SetSwatchColour(static_cast<TShape*>(r.main), Read<unsigned>(block, at) & 0xFFFFFF);
            break;
        case CPK_POINT: {
            int x, y;
            SplitPointSlot(Read<unsigned>(block, at), x, y);
            static_cast<TSpinEdit*>(r.main)->SetValue(FractionToPixelRounded(x, PictureExtent(true)));
            static_cast<TSpinEdit*>(r.second)->SetValue(FractionToPixelRounded(y, PictureExtent(false)));
            break;
        }
        case CPK_PICTURE: {
            const int v = std::min(Read<int>(block, at), ImagePictureCount());
            static_cast<TSpinEdit*>(r.main)->SetValue(v);
            RefreshImageParam(int(i) + 1);
            break;
        }
        }
    }
    Notify = wasOn;
}

void TCompForm::RefreshImageParam(int n)
{
    if (n < 1 || n > COMPONENT_PARAMS || Rows[n - 1].kind != CPK_PICTURE) return;
    CompParamRow& r = Rows[n - 1];
    DrawPictureThumb(r.thumbPixels, int(static_cast<TSpinEdit*>(r.main)->GetValue()));
    r.thumb->SetBuffer(&r.thumbPixels);
    r.thumb->Invalidate();
}

void TCompForm::ParamControlChanged()
{
    ComponentEntry* e = Entry(this);
    if (!Notify || !e || !Tool || !Tool->Process()) return;
    ReadControls(e->values);
    try {
        CallComponent(Tool->Process(), e->values, KSCM_VALUES, e->name.c_str());
    } catch (Exception& x) {
        Application->ShowException(&x);
    }
    RunThumbnail();
}

void TCompForm::RunThumbnail()
{
    ComponentEntry* e = Entry(this);
    UDBuffer* pic = Tool ? Tool->LivePicture() : nullptr;
    if (!e || !pic || !InstPreviewBuf->GetVisible() || !ThumbSource.pixels || !ThumbTarget.pixels) return;
    ThumbTarget.Copy(ThumbSource, Pair<int>{0, 0}, 0xFFFFFFFF);
    const int w = ThumbTarget.Width(), h = ThumbTarget.Height();
    SetComponentBlockPicture(ThumbSource.pixels, ThumbTarget.pixels, w, h, Rect{0, 0, w - 1, h - 1},
                             pic->HasSelection(), false);
    CallComponentProcess(Tool->Process(), e->name.c_str(), KSCM_PROCESS, &ComponentBlock, false);
    ComponentBlock.destination = nullptr;
    Tool->EndDestination(Tool->LivePicture());
    InstPreviewBuf->Invalidate();
}

void TCompForm::PresetBtnClick(TObject*)
{
    ComponentEntry* e = Entry(this);
    if (!e) return;
    unsigned char block[COMPONENT_VALUE_BLOCK];
    std::memcpy(block, e->defaults, sizeof block);
    ShowValues(block);
    ParamControlChanged();
}

void TCompForm::SwatchMouseDown(int i)
{
    ComponentEntry* e = Entry(this);
    if (!e || !ColorSel || Rows[i].kind != CPK_COLOUR) return;
    // The selector's help is the program's, not the component's.
    const AnsiString componentHelp = Application->GetHelpFile();
    Application->SetHelpFile(ProgramDir + Translate("HelpFile"));
    ColorSel->OpenFor(static_cast<TShape*>(Rows[i].main), TranslateName(e->params[size_t(i)].name.c_str()));
    Application->SetHelpFile(componentHelp);
    ParamControlChanged();
}

// ---- runs on the picture

void TCompForm::EnableControls(bool on)
{
    for (CompParamRow& r : Rows)
        for (TControl* c : {r.main, r.second})
            if (c) c->SetEnabled(on);
    for (TButton* b : {OkBtn, PresetBtn, HelpBtn, CancelBtn}) b->SetEnabled(on);
    InstPreview->SetEnabled(on);
    if (MainForm) EnableWindow(MainForm->GetHandle(), on);
}

bool TCompForm::RunOnPicture(bool final)
{
    ComponentEntry* e = Entry(this);
    P_component* t = Tool;
    UDBuffer* pic = t ? t->LivePicture() : nullptr;
    if (!e || !pic || !t->Process()) return false;
    if (final) {
        // A failed step has told the user; the change is then not made.
        if (!UDBuffer::SaveUndo(&t->saved, t->iconKey, pic, -1, 0, 0, 0)) return false;
        if (pic->HasSelection() && !ComponentHasOption(*e, 'U')) {
            const Rect s = pic->SelectionRect();
            UDBuffer::ShrinkUndo(pic, s.left, s.top, s.right, s.bottom);
        }
    }
    if (LastRunValid && std::memcmp(LastRun, e->values, sizeof LastRun) == 0) return true;
    t->RestorePicture();
    Rect r;
    if (pic->HasSelection()) {
        r = pic->SelectionRect();
    } else {
        SetVisibleClip();
        r = WorkView.pixels ? WorkView.GetRect() : pic->GetRect();
    }
    t->FillPictureBlock(r, true);
    BeginProgress(r.bottom - r.top + 1);
    EnableControls(false);
    Screen->SetCursor(crAppStart);
    PreviewBtn->SetCaption(Translate("&Stop"));
    Running = true;
    StopAsked = false;
    ++PictureRuns;
    const bool ok = CallComponentProcess(t->Process(), e->name.c_str(), KSCM_PROCESS, &ComponentBlock, true);
    const bool stopped = StopAsked || ProgressCancelFlag != 0;
    Running = false;
    ComponentBlock.destination = nullptr;
    t->EndDestination(t->LivePicture());
    Screen->SetCursor(crDefault);
    EnableControls(true);
    PreviewBtn->SetCaption(Translate("&Preview"));
    EndProgress();
    if (!ok) {
        // A faulted run leaves nothing half done, and no step for a change
        // that was not made.
        t->RestorePicture();
        if (final && t->LivePicture()) UDBuffer::Undo(t->LivePicture(), false);
    }
    if (t->deactivatePending_) {
        t->EndActivation();
        return false;
    }
    UpdateCurrentView();
    RepaintPictureView(pic);
    LastRunValid = ok && !stopped;
    if (LastRunValid) std::memcpy(LastRun, e->values, sizeof LastRun);
    return ok;
}

void TCompForm::PreviewBtnClick(TObject*)
{
    if (!Tool) return;
    if (Running) {
        StopAsked = true;
        ProgressCancelFlag = 1;
        return;
    }
    RunOnPicture(false);
}

void TCompForm::OkBtnClick(TObject*)
{
    if (Running || !Tool) return;
    P_component* t = Tool;
    t->keepResult = 1;
    const bool kept = RunOnPicture(true);
    if (!Tool) return;  // the tool went during the run, and this dialog with it
    if (kept) {
        if (UDBuffer* pic = t->LivePicture()) ++pic->modified;
        UpdateImageCaption();
    } else {
        t->keepResult = 0;
    }
    SelectDefaultTool(true);
}

void TCompForm::CancelBtnClick(TObject*)
{
    if (Running || !Tool) return;
    SelectDefaultTool(true);
}

void TCompForm::HelpBtnClick(TObject*)
{
    if (ComponentEntry* e = Entry(this)) Application->HelpContext(e->help.context);
}

void TCompForm::FormKeyDown(TObject*, unsigned short& key, TShiftState shift)
{
    if (Running) {
        if (key == VK_ESCAPE) {
            key = 0;
            StopAsked = true;
            ProgressCancelFlag = 1;
        }
        return;
    }
    TWinControl* focus = GetActiveControl();
    if (CurrentTool == &ComponentTool && (key == VK_RETURN || key == VK_ESCAPE)) {
        const bool ok = key == VK_RETURN;
        key = 0;
        if (focus) SetActiveControl(nullptr);
        ok ? OkBtnClick(this) : CancelBtnClick(this);
        return;
    }
    if (focus && dynamic_cast<TSpinEdit*>(focus) && KeyStaysWithSpinEdit(key)) return;
    if (key == VK_ESCAPE && focus && MainForm) {
        key = 0;
        ::SetFocus(MainForm->GetHandle());
        return;
    }
    if (key == VK_ESCAPE || key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
        key = 0;
        return;
    }
    // Everything else is a hot key of the program's (tools, windows).
    if (CurrentImageForm) CurrentImageForm->HotKeys(this, key, shift);
}

// ---- the component setting its own parameters

void TCompForm::SetParam(int n, int subCommand, long lParam)
{
    ComponentEntry* e = Entry(this);
    const int i = e ? ComponentParamIndex(e->params, n) : -1;
    if (i < 0 || i >= COMPONENT_PARAMS) return;
    ComponentParam& p = e->params[size_t(i)];
    CompParamRow& r = Rows[i];
    if (subCommand == CSP_CAPTION) {
        if (!lParam) return;
        const AnsiString text = reinterpret_cast<const char*>(lParam);
        if (p.kind == CPK_BUTTON) static_cast<TButton*>(r.main)->SetCaption(text);
        else if (p.kind == CPK_CHECK) static_cast<TCheckBox*>(r.main)->SetCaption(text);
        else if (r.label) r.label->SetCaption(text);
        return;
    }
    unsigned char* slot = e->values + ComponentValueOffset(e->params, i);
    if (p.kind == CPK_POINT) {
        if (subCommand != CSP_VALUE) return;
        int x, y;
        SplitPointMessage(lParam, x, y);
        const bool wasOn = Notify;
        Notify = false;
        static_cast<TSpinEdit*>(r.main)->SetValue(FractionToPixelTruncated(x, PictureExtent(true)));
        static_cast<TSpinEdit*>(r.second)->SetValue(FractionToPixelTruncated(y, PictureExtent(false)));
        Notify = wasOn;
        ParamControlChanged();
        return;
    }
    const bool realArgument = p.kind == CPK_FLOAT && subCommand != CSP_DECIMALS;
    if (realArgument && !lParam) return;
    const double real = realArgument ? *reinterpret_cast<const double*>(lParam) : 0;
    const bool changed = SetComponentParam(p, slot, subCommand, int(lParam), real, ImagePictureCount());
    // The control takes the model's limits, then the value.
    if (p.kind == CPK_INT || p.kind == CPK_FLOAT) {
        TSpinEdit* s = static_cast<TSpinEdit*>(r.main);
        s->SetMinValue(p.kind == CPK_FLOAT ? p.realMinimum : p.minimum);
        s->SetMaxValue(p.kind == CPK_FLOAT ? p.realMaximum : p.maximum);
        s->SetIncrement(p.kind == CPK_FLOAT ? p.increment : (p.increment > 0 ? p.increment : 1));
        if (p.kind == CPK_FLOAT) s->SetDecimal(p.decimals);
    } else if (p.kind == CPK_SCROLL) {
        TScrollBar* b = static_cast<TScrollBar*>(r.main);
        const bool wasOn = Notify;
        Notify = false;
        b->SetParams(b->GetPosition(), p.minimum, p.maximum);
        if (subCommand == CSP_INCREMENT && lParam > 0) b->SetLargeChange(int(lParam));
        Notify = wasOn;
    }
    ShowValues(e->values);
    if (subCommand == CSP_VALUE && changed) ParamControlChanged();
}
