// The Brush menu: undo and redo of brush steps, the brush from the picture,
// the brush as a new picture, and the commands and tools that reshape the
// brush (brush_commands.h, bend_brush.h, drop_shadow.h). The full stop key
// of the picture windows resets the brush, as does the undo model when a
// brush step comes back without memory for its stamp.
#include "mainform.h"

#include "bend_brush.h"
#include "cut_tools.h"
#include "rotate_tools.h"
#include "stretch_tools.h"
#include "undo_settings.h"
#include "brush_commands.h"
#include "dropshadow_form.h"
#include "imageform.h"
#include "imagewindow_host.h"
#include "messages.h"
#include "paintkit.h"
#include "picturefiles_win32.h"
#include "pictureview.h"
#include "programpictures.h"
#include "toolmanager.h"
#include "undo_entry.h"

namespace {

AnsiString StepCaption(const char* menuKey, UndoEntry* step)
{
    if (!step) return Translate(menuKey);
    return Translate(menuKey) + " " + Translate(step->key);
}

// Resumes the tool however the command ends.
struct ToolPause {
    ToolPause() { SuspendTool(); }
    ~ToolPause() { ResumeTool(); }
    ToolPause(const ToolPause&) = delete;
    ToolPause& operator=(const ToolPause&) = delete;
};

void SelectBrushTool(P_icon* tool) { SelectTool(tool, true, -1); }

}  // namespace

void TMainForm::BuildBrushMenu()
{
    UndoBrush1 = NewItem(Brush1, "UndoBrush1", "&Undo", [](TObject*) { UndoBrush(); });
    RedoBrush1 = NewItem(Brush1, "RedoBrush1", "&Redo", [](TObject*) { RedoBrush(); });
    NewItem(Brush1, "", "-", nullptr);
    NewItem(Brush1, "GetAll1", "Get &All", [](TObject*) { BrushFromPicture(CurrentPicture); });
    GetSelection1 = NewItem(Brush1, "GetSelection1", "&Get Selection", [](TObject*) { BrushFromSelection(CurrentPicture); });
    GetSelection1->SetEnabled(!InstBrush);
    GetSelectionEnabler = [this](bool enabled) { GetSelection1->SetEnabled(enabled); };
    NewItem(Brush1, "Conv2Image1", "&Convert to Image", [this](TObject* s) { Conv2Image1Click(s); });
    NewItem(Brush1, "", "-", nullptr);
    NewItem(Brush1, "Outline1", "&Outline", [](TObject*) { OutlineBrush(); });
    TMenuItem* halve = NewItem(Brush1, "Halve1", "Hal&ve", nullptr);
    NewItem(halve, "Both1", "&Both", [](TObject*) { HalveBrush(true, true); });
    NewItem(halve, "Width1", "&Width", [](TObject*) { HalveBrush(true, false); });
    NewItem(halve, "Height1", "&Height", [](TObject*) { HalveBrush(false, true); });
    TMenuItem* twice = NewItem(Brush1, "Double1", "&Double", nullptr);
    NewItem(twice, "Both2", "&Both", [](TObject*) { DoubleBrush(true, true); });
    NewItem(twice, "Width2", "&Width", [](TObject*) { DoubleBrush(true, false); });
    NewItem(twice, "Height2", "&Height", [](TObject*) { DoubleBrush(false, true); });
    TMenuItem* stretch = NewItem(Brush1, "Stretch1", "S&tretch", nullptr);
    NewItem(stretch, "Both3", "&Both", [](TObject*) { SelectBrushTool(&StretchTools().both); });
    NewItem(stretch, "Width3", "&Width", [](TObject*) { SelectBrushTool(&StretchTools().x); });
    NewItem(stretch, "Height3", "&Height", [](TObject*) { SelectBrushTool(&StretchTools().y); });
    TMenuItem* mirror = NewItem(Brush1, "Mirror1", "&Mirror", nullptr);
    NewItem(mirror, "LefttoRight1", "&Left to Right", [](TObject*) { MirrorBrush(true); });
    NewItem(mirror, "ToptoBottom1", "&Top to Bottom", [](TObject*) { MirrorBrush(false); });
    TMenuItem* rotate = NewItem(Brush1, "Rotate2", "Rotat&e", nullptr);
    NewItem(rotate, "N90Degrees1", "&90 Degrees", [](TObject*) { TurnBrush90(); });
    NewItem(rotate, "N180Degrees1", "&180 Degrees", [](TObject*) { TurnBrush180(); });
    NewItem(rotate, "AnyAngle1", "&Any Angle", [](TObject*) { SelectBrushTool(&RotateTools().brush); });
    TMenuItem* bendMenu = NewItem(Brush1, "Bend1", "&Bend", nullptr);
    NewItem(bendMenu, "UpandDown1", "&Up and Down", [](TObject*) { SelectBrushTool(&BendBrushTools().bendUnD); });
    NewItem(bendMenu, "LeftandRight1", "&Left and Right", [](TObject*) { SelectBrushTool(&BendBrushTools().bendLnR); });
    TMenuItem* shear = NewItem(Brush1, "Shear1", "S&hear", nullptr);
    NewItem(shear, "UpandDown2", "&Up and Down", [](TObject*) { SelectBrushTool(&BendBrushTools().shearUnD); });
    NewItem(shear, "LeftandRight2", "&Left and Right", [](TObject*) { SelectBrushTool(&BendBrushTools().shearLnR); });
    NewItem(Brush1, "DropShadow1", "Drop Shado&w...", [this](TObject* s) { DropShadow1Click(s); });
    NewItem(Brush1, "", "-", nullptr);
    TMenuItem* hotSpot = NewItem(Brush1, "Handle1", "Ha&ndle", nullptr);
    NewItem(hotSpot, "Center1", "&Center", [](TObject*) { SetBrushHotSpot(HandleCentre); });
    NewItem(hotSpot, "LTCorner1", "&Left Top", [](TObject*) { SetBrushHotSpot(HandleLeftTop); });
    NewItem(hotSpot, "RTCorner1", "&Right Top", [](TObject*) { SetBrushHotSpot(HandleRightTop); });
    NewItem(hotSpot, "RBCorner1", "Right &Bottom", [](TObject*) { SetBrushHotSpot(HandleRightBottom); });
    NewItem(hotSpot, "LBCorner1", "Left B&ottom", [](TObject*) { SetBrushHotSpot(HandleLeftBottom); });
    NewItem(Brush1, "", "-", nullptr);
    NewItem(Brush1, "LoadBrush", "O&pen...", [this](TObject*) { OpenImageClick(this, true); });
    NewItem(Brush1, "SaveBrush", "&Save...", [this](TObject*) { SavePictureAs(this, true); });
    Brush1->OnClick = [this](TObject* s) { Brush1Click(s); };
}

void TMainForm::LinkBrushCommands()
{
    ResetBrushHook = [] { ResetBrush(); };
    std::function<void(ImageKey)> others = ImageWindowHost.command;
    ImageWindowHost.command = [others](ImageKey key) {
        if (key == ImageKey::ResetBrush)
            ResetBrush();
        else if (others)
            others(key);
    };
}

void TMainForm::Brush1Click(TObject*)
{
    UndoBrush1->SetCaption(StepCaption("Undo", CurrentBrush.undoHead));
    UndoBrush1->SetEnabled(CurrentBrush.undoHead != nullptr);
    RedoBrush1->SetCaption(StepCaption("Redo", CurrentBrush.redoHead));
    RedoBrush1->SetEnabled(CurrentBrush.redoHead != nullptr);
}

void TMainForm::Conv2Image1Click(TObject*)
{
    if (!CurrentBrush.pixels) return;
    ToolPause pause;
    NewWidth = CurrentBrush.Width();
    NewHeight = CurrentBrush.Height();
    TImageForm* f = OpenBlankPicture();
    if (!f) return;
    // It holds the brush: no blank start-up picture for the next one to replace.
    f->Fresh = false;
    UDBuffer& pic = f->Picture;
    pic.Copy(CurrentBrush, Pair<int>{-CurrentBrush.left, -CurrentBrush.top}, 0xFFFFFFFF);
    pic.ChColor(KeyPixel, BrushState.keyColour);
    ++pic.modified;
    f->UpdateCaption(0);
    f->ShowBuf->Invalidate();
}

void TMainForm::DropShadow1Click(TObject*)
{
    if (!CurrentBrush.pixels) return;
    ToolPause pause;
    RunDropShadowDialog(this);
}
