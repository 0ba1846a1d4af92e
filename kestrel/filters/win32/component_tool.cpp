#include "component_tool.h"

#include "application.h"
#include "appsettings.h"
#include "brushes_tools.h"
#include "compform.h"
#include "drawtools_common.h"
#include "component_table.h"
#include "exceptions.h"
#include "formula_context.h"
#include "imageform.h"
#include "mainform.h"
#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "palette.h"
#include "palettebar.h"
#include "pictureview.h"
#include "toolgroups.h"
#include "toolmanager.h"

#include <cstring>
#include <exception>

P_component ComponentTool;
P_component_brush ComponentBrushTool;
ComponentProcessBlock ComponentBlock;

namespace {

const int MaxPictureRecords = 32;  // as many as image windows can exist
ComponentPictureRecord pictureRecords[MaxPictureRecords];
unsigned long paletteColours[256];

// The tables come from the formula runner's builder, so that components and
// the formulas built into components see the same numbers.
const FormulaContext& Tables()
{
    static FormulaContext* ctx = [] {
        FormulaContext* c = new FormulaContext();
        FillFormulaTables(*c);
        return c;
    }();
    return *ctx;
}

void Warn(const char* key) { TranslatedMessageBox(key, "Err", MsgIconWarning); }

// Null when the dialog cannot be made (the caller says "NoMem").
TCompForm* NewDialog(P_component* tool)
{
    try {
        TCompForm* f = new TCompForm(Application);
        f->Tool = tool;
        return f;
    } catch (...) {
        return nullptr;
    }
}

// Field 17: one record per image window in creation order; the picture
// being processed shows its untouched copy.
int FillPictureRecords()
{
    const P_component* tool = CurrentComponentTool();
    const int n = ImagePictureCount() < MaxPictureRecords ? ImagePictureCount() : MaxPictureRecords;
    for (int i = 0; i < n; ++i) {
        UDBuffer* pic = ImagePicture(i);
        const bool processed = tool && pic == tool->picture && tool->saved.pixels;
        const Buffer& b = processed ? static_cast<const Buffer&>(tool->saved) : *pic;
        pictureRecords[i] = ComponentPictureRecord{b.pixels, b.pixels ? b.Width() : 0, b.pixels ? b.Height() : 0};
    }
    return n;
}

int ActivePictureNumber()
{
    for (int i = 0; i < ImagePictureCount(); ++i)
        if (ImagePicture(i) == CurrentPicture) return i + 1;
    return 0;
}

int FillPalette()
{
    const int count = PaletteCellCount(AppSettings.Palette);
    int n = 0;
    for (; n < count && n < 256; ++n) {
        try {
            paletteColours[n] = GetPaletteColor(n) & 0xFFFFFF;
        } catch (Exception&) {
            break;  // the palette bar is not built (yet)
        }
    }
    return n;
}

void FillCommonFields()
{
    const FormulaContext& t = Tables();
    ComponentBlock.window = MainForm ? reinterpret_cast<void*>(MainForm->GetHandle()) : nullptr;
    ComponentBlock.drawingColour = ForeColour() & 0xFFFFFF;
    ComponentBlock.backgroundColour = BackColour() & 0xFFFFFF;
    ComponentBlock.sine = t.sine;
    ComponentBlock.cosine = t.sine + 256;
    ComponentBlock.tangent = t.tangent;
    FillPictureRecords();
    ComponentBlock.pictures = pictureRecords;
    ComponentBlock.activePicture = ActivePictureNumber();
    ComponentBlock.paletteCount = FillPalette();
    ComponentBlock.palette = paletteColours;
}

void FillPictureFields(const unsigned long* source, unsigned long* destination, int width, int height, const Rect& r,
                      bool hasSelection, bool preview)
{
    ComponentBlock.source = source;
    ComponentBlock.destination = destination;
    ComponentBlock.width = width;
    ComponentBlock.height = height;
    ComponentBlock.left = r.left;
    ComponentBlock.top = r.top;
    ComponentBlock.right = r.right;
    ComponentBlock.bottom = r.bottom;
    ComponentBlock.hasSelection = hasSelection ? 1 : 0;
    ComponentBlock.preview = preview ? 1 : 0;
}

Rect WholeOf(const Buffer& b) { return Rect{0, 0, b.Width() - 1, b.Height() - 1}; }

// Clears the selection mark from the footprint of both pictures.
void ClearMarks(Buffer& b, const Rect& r)
{
    for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x) *b.At(x, y) &= 0xFBFFFFFF;
}

// A packed block (rows exactly the width apart) into a picture.
void CopyRowsBack(const unsigned long* from, Buffer& to)
{
    const int w = to.Width();
    for (int y = 0; y < to.Height(); ++y)
        std::memcpy(to.pixels + size_t(y) * size_t(to.stride), from + size_t(y) * size_t(w), size_t(w) * sizeof *from);
}

}  // namespace

void SetComponentBlockPicture(const unsigned long* source, unsigned long* destination, int width, int height,
                              const Rect& r, bool hasSelection, bool preview)
{
    FillPictureFields(source, destination, width, height, r, hasSelection, preview);
}

bool ComponentToolCurrent() { return CurrentTool == &ComponentTool || CurrentTool == &ComponentBrushTool; }

P_component* CurrentComponentTool()
{
    if (CurrentTool == &ComponentTool) return &ComponentTool;
    if (CurrentTool == &ComponentBrushTool) return &ComponentBrushTool;
    return nullptr;
}

bool CallComponentProcess(ComponentProcessFn fn, const AnsiString& name, int message, void* data, bool withProgress)
{
    if (!fn) return false;
    FillCommonFields();
    const unsigned char flag = ProgressCancelFlag;
    if (!withProgress) ProgressCancelFlag = 0;
    SetActivityTimer(false);
    const bool ok = CallComponentGuarded(fn, data, message, name);
    SetActivityTimer(true);
    if (!withProgress) ProgressCancelFlag = flag;
    return ok;
}

// ---- P_component

P_component::P_component()
{
    flags = ToolOneShot;  // P_func made it a command, which would give way at once
    undoAtPress = 0;
    // A press while the dialog is open must not drop the selection under
    // the preview: picture and saved copy would then disagree.
    dropSelectionAtPress = 0;
    helpContext = 100;
}

UDBuffer* P_component::LivePicture() const
{
    for (int k = 0; k < ImagePictureCount(); ++k)
        if (ImagePicture(k) == picture) return picture;
    return nullptr;
}

void P_component::FillPictureBlock(const Rect& r, bool preview)
{
    SetComponentBlockPicture(saved.pixels, picture->pixels, picture->Width(), picture->Height(), r,
                             picture->HasSelection(), preview);
}

void P_component::EndDestination(UDBuffer* pic)
{
    if (resizedWork_ && pic && workRows_.size() >= size_t(pic->Width()) * size_t(pic->Height()))
        CopyRowsBack(workRows_.data(), *pic);
    resizedWork_ = false;
}

unsigned long* P_component::NewDestination(UDBuffer* pic, int oldWidth)
{
    // The component may go on addressing rows by the width it was given or
    // by the one it asked for: room for the wider keeps both inside.
    const int w = pic->Width() > oldWidth ? pic->Width() : oldWidth;
    workRows_.assign(size_t(w) * size_t(pic->Height()), 0);
    resizedWork_ = true;
    return workRows_.data();
}

bool P_component::StartCopy(UDBuffer* pic)
{
    try {
        saved.Alloc(Pair<int>{pic->Width(), pic->Height()});
        saved.Copy(*pic, Pair<int>{-pic->left, -pic->top}, 0xFFFFFFFF);
        saved.CopyAttributes(*pic);
    } catch (...) {
        saved.Free();
        return false;
    }
    savedValid_ = true;
    picture = pic;
    return true;
}

bool P_component::LoadModule()
{
    ComponentEntry* e = ComponentAt(component);
    return e && LoadComponentModule(e->path, module_);
}

void P_component::Click()
{
    UDBuffer* pic = LivePicture();
    if (pic && module_.process && ComponentAt(component)) {
        ComponentPointerRecord rec = MakeComponentPointer(MousePoint.x, MousePoint.y, pic->Width(), pic->Height(),
                                                          RightButtonPressed(), 0);
        CallComponentProcess(module_.process, ComponentAt(component)->name.c_str(), KSCM_POINTER, &rec, false);
    }
    // The operation is the dialog's: a second click or a drag must not end
    // the one-shot tool and throw the preview away.
    ToolPhase = PhaseIdle;
}

// Another tool selected from inside Activate has shown its outline, and the
// selection that called Activate shows it once more when Activate returns:
// hidden here, it is drawn once, not twice into the picture.
static void LeaveActivation()
{
    SelectDefaultTool(true);
    HideOutline();
}

void P_component::Activate()
{
    form = nullptr;
    savedValid_ = false;
    deactivatePending_ = false;
    keepResult = 0;
    ComponentEntry* e = ComponentAt(component);
    UDBuffer* pic = CurrentPicture;
    if (!e || !pic || !pic->pixels) {
        LeaveActivation();
        return;
    }
    form = NewDialog(this);
    if (!form || !StartCopy(pic)) {
        Warn("NoMem");
        LeaveActivation();
        return;
    }
    iconKey = TranslateName(e->name.c_str());
    if (!LoadModule()) {
        LeaveActivation();
        return;
    }
    const bool hasParams = LayoutComponentForm(form, true);
    const Rect r = pic->HasSelection() ? pic->SelectionRect() : WholeOf(*pic);
    FillPictureBlock(r, true);
    CallComponentProcess(module_.process, e->name.c_str(), KSCM_INIT, &ComponentBlock, false);
    EndDestination(LivePicture());
    form->ParamControlChanged();
    form->LastRunValid = false;
    if (hasParams) {
        statusText = e->name.c_str();
        form->Show();
    } else {
        form->OkBtnClick(nullptr);
        HideOutline();  // see LeaveActivation
    }
}

void P_component::RestorePicture()
{
    UDBuffer* pic = LivePicture();
    if (!savedValid_ || !pic) return;
    if (pic->Width() != saved.Width() || pic->Height() != saved.Height()) {
        Buffer fresh;
        try {
            fresh.Alloc(Pair<int>{saved.Width(), saved.Height()});
        } catch (const std::exception&) {
            return;
        }
        static_cast<Buffer&>(*pic) = fresh;
        PicturePixelsChanged(pic);
    }
    pic->Copy(saved, Pair<int>{pic->left, pic->top}, 0xFFFFFFFF);
    RepaintPictureView(pic);
}

void P_component::Deactivate(P_icon*)
{
    // Reached from a message handled while the component runs (another
    // tool, Escape): its code is still on the stack, so it is neither told
    // DONE nor unloaded here; the run finishes the deactivation.
    if (form && form->Running) {
        deactivatePending_ = true;
        ProgressCancelFlag = 1;
        form->Hide();
        return;
    }
    EndActivation();
}

void P_component::EndActivation(bool keepDialog)
{
    deactivatePending_ = false;
    ComponentEntry* e = ComponentAt(component);
    if (module_.process) {
        try {
            CallComponent(module_.process, nullptr, KSCM_DONE, e ? e->name.c_str() : "");
        } catch (Exception& x) {
            // Told here: the tool change that got here must still finish.
            Application->ShowException(&x);
        }
    }
    if (form) {
        TCompForm* f = form;
        form = nullptr;
        if (keepDialog) f->FreeRows();
        else ReleaseComponentDialog(f);
    }
    FreeComponentModule(module_);
    if (!keepResult) RestorePicture();
    savedValid_ = false;
    saved.Free();
    std::vector<unsigned long>().swap(workRows_);
    resizedWork_ = false;
    picture = nullptr;
    statusText = AnsiString();
}

// ---- P_component_brush

P_component_brush::P_component_brush()
{
    flags = 0;
    undoAtPress = 1;
    dropSelectionAtPress = 0;  // activation dropped it already
}

// The brush is a default tool like the pens: when it cannot start, going
// back to the default tool must not mean starting it again.
void P_component_brush::GiveUp()
{
    if (DefaultTool == this) {
        DefaultTool = &PenBrushTools().penCont;
        DefaultToolEntry = -1;
    }
    LeaveActivation();
}

void P_component_brush::Activate()
{
    form = nullptr;
    savedValid_ = false;
    deactivatePending_ = false;
    previewShown_ = false;
    int shown = -1;
    if (groupButton && groupButton->group >= 0 && groupButton->group < ToolGroupCount())
        shown = GetToolGroup(groupButton->group).shownTool;
    component = -1;
    for (int i = 0; i < ComponentCount && shown >= 0; ++i)
        if (Components[i].toolIcon == shown) component = i;
    ComponentEntry* e = ComponentAt(component);
    UDBuffer* pic = CurrentPicture;
    if (!e || !pic || !pic->pixels) {
        GiveUp();
        return;
    }
    // Dropped before the copy, so no selection mark survives in either
    // picture once the dabs have cleared theirs.
    pic->DropSelection(true);
    keepResult = 1;
    iconKey = TranslateName(e->name.c_str());
    form = NewDialog(this);
    if (!form || !StartCopy(pic)) {
        Warn("NoMem");
        GiveUp();
        return;
    }
    if (!LoadModule()) {
        GiveUp();
        return;
    }
    LayoutComponentForm(form, false);
    SetComponentBlockPicture(saved.pixels, pic->pixels, pic->Width(), pic->Height(), WholeOf(*pic), false, true);
    CallComponentProcess(module_.process, e->name.c_str(), KSCM_INIT, &ComponentBlock, false);
    EndDestination(LivePicture());
    form->ParamControlChanged();
    form->Show();
    ResetDirtyRect();
}

void P_component_brush::Dab(int x, int y)
{
    UDBuffer* pic = LivePicture();
    ComponentEntry* e = ComponentAt(component);
    if (!pic || !e || !module_.process || !savedValid_ || saved.Width() != pic->Width() ||
        saved.Height() != pic->Height())
        return;
    if (!StampBuffer.pixels) RecolorBrush(false);
    if (!StampBuffer.pixels) return;
    const TPoint hs = StampHotSpot();
    const int bw = StampBuffer.Width(), bh = StampBuffer.Height();
    const int x0 = x - hs.x, y0 = y - hs.y;
    Rect r{x0 < 0 ? 0 : x0, y0 < 0 ? 0 : y0, x0 + bw - 1, y0 + bh - 1};
    if (r.right >= pic->Width()) r.right = pic->Width() - 1;
    if (r.bottom >= pic->Height()) r.bottom = pic->Height() - 1;
    if (r.left > r.right || r.top > r.bottom) return;
    for (int py = r.top; py <= r.bottom; ++py)
        for (int px = r.left; px <= r.right; ++px) {
            if (*StampBuffer.At(StampBuffer.left + px - x0, StampBuffer.top + py - y0) & KeyPixel) continue;
            *pic->At(px, py) |= 0x04000000;
            *saved.At(px, py) |= 0x04000000;
        }
    SetComponentBlockPicture(saved.pixels, pic->pixels, pic->Width(), pic->Height(), r, true, true);
    CallComponentProcess(module_.process, e->name.c_str(), KSCM_PROCESS, &ComponentBlock, false);
    ComponentBlock.destination = nullptr;
    EndDestination(pic = LivePicture());
    if (!pic || saved.Width() != pic->Width() || saved.Height() != pic->Height()) return;
    ClearMarks(*pic, r);
    ClearMarks(saved, r);
    ExtendDirtyRect(r.left, r.top, r.right, r.bottom);
    InvalidatePictureRect(r.left, r.top, r.right + 1, r.bottom + 1);
}

void P_component_brush::DrawOutline()
{
    const int x = MousePoint.x, y = MousePoint.y;
    if (ToolPhase == PhaseDragging) {
        if (x != lastX_ || y != lastY_) Dab(x, y);
        lastX_ = x;
        lastY_ = y;
        return;
    }
    if (ToolPhase != PhaseIdle) return;
    StampBrush(x, y);
    previewShown_ = true;
    previewX_ = x;
    previewY_ = y;
}

void P_component_brush::EraseOutline()
{
    if (!previewShown_) return;
    previewShown_ = false;
    RestoreUnderBrush(previewX_, previewY_);
}

void P_component_brush::Click()
{
    const int x = MousePoint.x, y = MousePoint.y;
    if (ToolPhase == PhaseIdle) {
        previewShown_ = false;  // the press took the feedback back
        lastX_ = x;
        lastY_ = y;
        Dab(x, y);
        return;
    }
    // The stroke ends: one change, its step cropped to what it touched, and
    // the next stroke works on the result.
    if (x != lastX_ || y != lastY_) Dab(x, y);
    UDBuffer* pic = LivePicture();
    if (pic) {
        ++pic->modified;
        CropUndoToBrush();
        if (savedValid_ && saved.Width() == pic->Width() && saved.Height() == pic->Height())
            saved.Copy(*pic, Pair<int>{-pic->left, -pic->top}, 0xFFFFFFFF);
    }
    ResetDirtyRect();
    ToolPhase = 2;
}

// ---- shared with the main window

bool ResizeComponentPicture(int width, int height)
{
    P_component* tool = CurrentComponentTool();
    UDBuffer* pic = tool ? tool->LivePicture() : nullptr;
    if (!pic || !ComponentResizeValid(width, height, ComponentMaxSide)) return false;
    Buffer fresh;
    try {
        fresh.Alloc(Pair<int>{width, height});
    } catch (const std::exception&) {
        Warn("NoMem");
        return false;
    }
    fresh.Box(fresh.GetRect(), 0);
    const int oldWidth = pic->Width();
    // Buffer assignment moves the pixels: the old block goes, the new one stays.
    static_cast<Buffer&>(*pic) = fresh;
    PicturePixelsChanged(pic);
    SetVisibleClip();
    if (ComponentBlock.destination) {
        // A component still inside KSCM_PROCESS writes to the new pixels, and
        // within them. Width and height stay: the source keeps the old size.
        ComponentBlock.destination = tool->NewDestination(pic, oldWidth);
        auto clamp = [](int& v, int high) { v = v < 0 ? 0 : v > high ? high : v; };
        clamp(ComponentBlock.left, width - 1);
        clamp(ComponentBlock.right, width - 1);
        clamp(ComponentBlock.top, height - 1);
        clamp(ComponentBlock.bottom, height - 1);
    }
    RepaintPictureView(pic);
    return true;
}

long ComponentMessageResult(unsigned message, unsigned long wParam, long lParam)
{
    P_component* tool = CurrentComponentTool();
    if (!tool) return 0;
    const ComponentRequest request = SplitComponentWParam(wParam);
    TCompForm* f = tool->form;
    switch (message) {
    case UM_COMPPREVIEW:
        if (f && !f->Running) f->PreviewBtnClick(nullptr);
        return 0;
    case UM_COMPOK:
        if (f && !f->Running) f->OkBtnClick(nullptr);
        return 0;
    case UM_COMPCANCEL:
        if (f && !f->Running) f->CancelBtnClick(nullptr);
        return 0;
    case UM_COMPRESIZE:
        ResizeComponentPicture(request.n, lParam);
        return 0;
    case UM_COMPSETPARAM:
        if (f) f->SetParam(request.n, request.subCommand, lParam);
        return 0;
    case UM_COMPPROGRESS:
        StepProgress(request.n);
        Application->ProcessMessages();
        return ProgressCancelFlag ? 1 : 0;
    case UM_COMPPROGRESSMAX:
        if (CurrentImageForm) CurrentImageForm->ProgressBar->SetMax(request.n);
        return 0;
    case UM_COMPNOTIFYON:
    case UM_COMPNOTIFYOFF:
        if (f) f->Notify = message == UM_COMPNOTIFYON;
        return 0;
    }
    return 0;
}
