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
    // Each item calls its handler of the same name.
    auto item = [this](TMenuItem* parent, const char* name, const char* caption, void (TMainForm::*handler)(TObject*)) {
        return NewItem(parent, name, caption, [this, handler](TObject* s) { (this->*handler)(s); });
    };
    UndoBrush1 = item(Brush1, "UndoBrush1", "&Undo", &TMainForm::UndoBrush1Click);
    RedoBrush1 = item(Brush1, "RedoBrush1", "&Redo", &TMainForm::RedoBrush1Click);
    NewItem(Brush1, "", "-", nullptr);
    item(Brush1, "GetAll1", "Get &All", &TMainForm::GetAll1Click);
    GetSelection1 = item(Brush1, "GetSelection1", "&Get Selection", &TMainForm::GetSelection1Click);
    GetSelection1->SetEnabled(!InstBrush);
    GetSelectionEnabler = [this](bool enabled) { GetSelection1->SetEnabled(enabled); };
    item(Brush1, "Conv2Image1", "&Convert to Image", &TMainForm::Conv2Image1Click);
    NewItem(Brush1, "", "-", nullptr);
    item(Brush1, "Outline1", "&Outline", &TMainForm::Outline1Click);
    TMenuItem* halve = NewItem(Brush1, "Halve1", "Hal&ve", nullptr);
    item(halve, "Both1", "&Both", &TMainForm::Both1Click);
    item(halve, "Width1", "&Width", &TMainForm::Width1Click);
    item(halve, "Height1", "&Height", &TMainForm::Height1Click);
    TMenuItem* twice = NewItem(Brush1, "Double1", "&Double", nullptr);
    item(twice, "Both2", "&Both", &TMainForm::Both2Click);
    item(twice, "Width2", "&Width", &TMainForm::Width2Click);
    item(twice, "Height2", "&Height", &TMainForm::Height2Click);
    TMenuItem* stretch = NewItem(Brush1, "Stretch1", "S&tretch", nullptr);
    item(stretch, "Both3", "&Both", &TMainForm::Both3Click);
    item(stretch, "Width3", "&Width", &TMainForm::Width3Click);
    item(stretch, "Height3", "&Height", &TMainForm::Height3Click);
    TMenuItem* mirror = NewItem(Brush1, "Mirror1", "&Mirror", nullptr);
    item(mirror, "LefttoRight1", "&Left to Right", &TMainForm::LefttoRight1Click);
    item(mirror, "ToptoBottom1", "&Top to Bottom", &TMainForm::ToptoBottom1Click);
    TMenuItem* rotate = NewItem(Brush1, "Rotate2", "Rotat&e", nullptr);
    item(rotate, "N90Degrees1", "&90 Degrees", &TMainForm::N90Degrees1Click);
    item(rotate, "N180Degrees1", "&180 Degrees", &TMainForm::N180Degrees1Click);
    item(rotate, "AnyAngle1", "&Any Angle", &TMainForm::AnyAngle1Click);
    TMenuItem* bendMenu = NewItem(Brush1, "Bend1", "&Bend", nullptr);
    item(bendMenu, "UpandDown1", "&Up and Down", &TMainForm::UpandDown1Click);
    item(bendMenu, "LeftandRight1", "&Left and Right", &TMainForm::LeftandRight1Click);
    TMenuItem* shear = NewItem(Brush1, "Shear1", "S&hear", nullptr);
    item(shear, "UpandDown2", "&Up and Down", &TMainForm::UpandDown2Click);
    item(shear, "LeftandRight2", "&Left and Right", &TMainForm::LeftandRight2Click);
    item(Brush1, "DropShadow1", "Drop Shado&w...", &TMainForm::DropShadow1Click);
    NewItem(Brush1, "", "-", nullptr);
    TMenuItem* hotSpot = NewItem(Brush1, "Handle1", "Ha&ndle", nullptr);
    item(hotSpot, "Center1", "&Center", &TMainForm::Center1Click);
    item(hotSpot, "LTCorner1", "&Left Top", &TMainForm::LTCorner1Click);
    item(hotSpot, "RTCorner1", "&Right Top", &TMainForm::RTCorner1Click);
    item(hotSpot, "RBCorner1", "Right &Bottom", &TMainForm::RBCorner1Click);
    item(hotSpot, "LBCorner1", "Left B&ottom", &TMainForm::LBCorner1Click);
    NewItem(Brush1, "", "-", nullptr);
    item(Brush1, "LoadBrush", "O&pen...", &TMainForm::LoadBrushClick);
    item(Brush1, "SaveBrush", "&Save...", &TMainForm::SaveBrushClick);
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

void TMainForm::UndoBrush1Click(TObject*) { UndoBrush(); }
void TMainForm::RedoBrush1Click(TObject*) { RedoBrush(); }
void TMainForm::GetAll1Click(TObject*) { BrushFromPicture(CurrentPicture); }
void TMainForm::GetSelection1Click(TObject*) { BrushFromSelection(CurrentPicture); }
void TMainForm::Outline1Click(TObject*) { OutlineBrush(); }
void TMainForm::Both1Click(TObject*) { HalveBrush(true, true); }
void TMainForm::Width1Click(TObject*) { HalveBrush(true, false); }
void TMainForm::Height1Click(TObject*) { HalveBrush(false, true); }
void TMainForm::Both2Click(TObject*) { DoubleBrush(true, true); }
void TMainForm::Width2Click(TObject*) { DoubleBrush(true, false); }
void TMainForm::Height2Click(TObject*) { DoubleBrush(false, true); }
void TMainForm::Both3Click(TObject*) { SelectBrushTool(&StretchTools().both); }
void TMainForm::Width3Click(TObject*) { SelectBrushTool(&StretchTools().x); }
void TMainForm::Height3Click(TObject*) { SelectBrushTool(&StretchTools().y); }
void TMainForm::LefttoRight1Click(TObject*) { MirrorBrush(true); }
void TMainForm::ToptoBottom1Click(TObject*) { MirrorBrush(false); }
void TMainForm::N90Degrees1Click(TObject*) { TurnBrush90(); }
void TMainForm::N180Degrees1Click(TObject*) { TurnBrush180(); }
void TMainForm::AnyAngle1Click(TObject*) { SelectBrushTool(&RotateTools().brush); }
void TMainForm::UpandDown1Click(TObject*) { SelectBrushTool(&BendBrushTools().bendUnD); }
void TMainForm::LeftandRight1Click(TObject*) { SelectBrushTool(&BendBrushTools().bendLnR); }
void TMainForm::UpandDown2Click(TObject*) { SelectBrushTool(&BendBrushTools().shearUnD); }
void TMainForm::LeftandRight2Click(TObject*) { SelectBrushTool(&BendBrushTools().shearLnR); }
void TMainForm::Center1Click(TObject*) { SetBrushHotSpot(HandleCentre); }
void TMainForm::LTCorner1Click(TObject*) { SetBrushHotSpot(HandleLeftTop); }
void TMainForm::RTCorner1Click(TObject*) { SetBrushHotSpot(HandleRightTop); }
void TMainForm::RBCorner1Click(TObject*) { SetBrushHotSpot(HandleRightBottom); }
void TMainForm::LBCorner1Click(TObject*) { SetBrushHotSpot(HandleLeftBottom); }
void TMainForm::LoadBrushClick(TObject*) { OpenImageClick(this, true); }
void TMainForm::SaveBrushClick(TObject*) { SavePictureAs(this, true); }

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
