#include "messages.h"

#include <cstdio>
#include <cstring>

MessageBoxFunc MessageBoxHook;

static std::function<AnsiString(const AnsiString&)> languageLookup;

namespace {
struct BuiltIn {
    const char* key;
    const char* text;
};

// The English texts that hold while no language file is loaded. Option-bar
// descriptions are here too: with none, a tool's bar would have no controls,
// every option would read 0, and tools dividing by a radius or a count
// would divide by zero. Each bar's items come in the order the tool reads
// them by index; tokens are split at commas only, so no text may hold one.
const BuiltIn builtIn[] = {
    // Messages and captions.
    {"Err", "Error"},
    {"Warn", "Warning"},
    {"NoMem", "Not enough memory for this operation."},
    {"BrTooBig", "Not enough memory for a brush of this size."},
    {"Changed", "has been changed. Save the changes?"},
    {"Untitled", "Untitled"},
    {"Undo", "Undo"},
    {"Redo", "Redo"},
    {"DelSel", "Remove selection"},
    {"UndoStepLost",
     "A saved undo step could not be read back (its file is missing or damaged). "
     "It and the older steps of the list were discarded; the picture is unchanged."},
    {"UndoStepSkipped",
     "A saved undo step could not be read back (its file is missing or damaged) and was discarded. "
     "The older steps were kept; the picture is unchanged."},
    {"UndoFilesLost", "Some undo steps could not be moved to the new undo folder and were discarded."},
    {"AABtn", "Smooth edges (anti-aliasing)"},
    {"IBBtn", "Cut tools make a brush instead of a selection"},
    // Files beside the program, named by the language.
    {"TODFile", "tips.txt"},
    {"HelpFile", "kestrel.hlp"},
    {"NoTOD", "The tip file could not be found."},
    {"CantOpenBrowser", "The browser could not be opened."},

    // Tool hints; also the names of the undo steps the tools record.
    {"ContFhandIcon", "Freehand"},
    {"DotFhandIcon", "Freehand dots"},
    {"SingleFhandIcon", "Single dab"},
    {"CircBrushIcon", "Round brush"},
    {"RectBrushIcon", "Square brush"},
    {"ClrImageIcon", "Clear picture"},
    {"ResizeBr", "Resize brush"},
    {"SingleLineIcon", "Line"},
    {"ContLineIcon", "Connected lines"},
    {"SingleCurveIcon", "Curve"},
    {"ContCurveIcon", "Connected curves"},
    {"BoxRectIcon", "Rectangle"},
    {"BoxRectfIcon", "Filled rectangle"},
    {"BoxSqrIcon", "Square"},
    {"BoxSqrfIcon", "Filled square"},
    {"CircleIcon", "Circle"},
    {"CirclefIcon", "Filled circle"},
    {"EllipseIcon", "Ellipse"},
    {"EllipsefIcon", "Filled ellipse"},
    {"SolidFillIcon", "Fill"},
    {"PatFillIcon", "Pattern fill"},
    {"ShapefIcon", "Filled freehand shape"},
    {"PolygonfIcon", "Filled polygon"},
    {"SprayIcon", "Spray"},
    {"ABrushIcon", "Airbrush"},
    {"CloneIcon", "Clone"},
    {"GetColIcon", "Pick colour"},
    {"ChangeColIcon", "Change colour"},
    {"GridIcon", "Grid"},
    {"CutRectIcon", "Cut rectangle"},
    {"CutPredefRectIcon", "Cut fixed rectangle"},
    {"CutFhandIcon", "Cut freehand shape"},
    {"CutPolygonIcon", "Cut polygon"},
    {"CutWandIcon", "Magic wand"},
    {"Rotate", "Rotate"},
    {"Stretch", "Stretch"},
    {"StretchBr", "Stretch brush"},
    {"StretchXBr", "Stretch brush width"},
    {"StretchYBr", "Stretch brush height"},
    {"BendLRBr", "Bend brush sideways"},
    {"BendUDBr", "Bend brush up or down"},
    {"ShearLRBr", "Shear brush sideways"},
    {"ShearUDBr", "Shear brush up or down"},
    {"TextIcon", "Text"},

    // Names of the brush commands' undo steps.
    {"GetAllBr", "Picture to brush"},
    {"GetSelBr", "Selection to brush"},
    {"DoubleBr", "Double brush size"},
    {"DoubleXBr", "Double brush width"},
    {"DoubleYBr", "Double brush height"},
    {"HalveBr", "Halve brush size"},
    {"HalveXBr", "Halve brush width"},
    {"HalveYBr", "Halve brush height"},
    {"MirLRBr", "Mirror brush left to right"},
    {"MirTBBr", "Mirror brush top to bottom"},
    {"Rot90Br", "Turn brush by 90 degrees"},
    {"Rot180Br", "Turn brush by 180 degrees"},
    {"OutlineBr", "Outline brush"},
    {"ShadBr", "Brush shadow"},
    {"ResetBr", "Reset brush"},

    // Status texts: what the user does next.
    {"Pen", "Press and drag to paint; right button: background colour"},
    {"ResizeBrush", "Press and drag to size the brush"},
    {"ResizeBrush2", "Release to keep this brush size"},
    {"ResizeSpray", "Press and drag to set the spray radius"},
    {"ResizeSpray2", "Release to keep this radius"},
    {"LnStr", "Press at the start of the line"},
    {"LnEnd", "Release or click at the end of the line"},
    {"SplnStr", "Press at the start of the curve"},
    {"SplnEnd", "Release or click at the end of the curve"},
    {"SplnCtr", "Move to bend the curve and click"},
    {"BoxStr", "Press at a corner and drag"},
    {"Box2", "Release at the opposite corner"},
    {"CircleIO", "Press at the centre and drag"},
    {"Circle2", "Release to draw the circle"},
    {"EllipseIO", "Press at the centre and drag"},
    {"Ellipse2", "Release to draw the ellipse"},
    {"FillIP", "Click the area to fill"},
    {"FillPos", "Click where the pattern starts"},
    {"FillPoly", "Click the corners; click the first corner again to close"},
    {"SprayIP", "Press to spray"},
    {"AirBrushIP", "Press to spray colour"},
    {"CloneIP", "Alt+click the source, then paint"},
    {"GetColor", "Click a colour to take it"},
    {"ChangeColor", "Click a colour to replace it everywhere"},
    {"GridSet", "Click the origin of the grid"},
    {"CutBrush", "Press at a corner and drag"},
    {"CutBrush2", "Release at the opposite corner"},
    {"CutResize", "Click to cut the rectangle"},
    {"CutDraw", "Press and draw around the area"},
    {"CutPoly", "Click the corners; click the first corner again to close"},
    {"CutWand", "Click a colour to take its area"},
    {"RotateBrush", "Press on the brush and drag to turn it"},
    {"RotateBrush2", "Release to keep this angle"},
    {"StretchBrush", "Press on the brush and drag its corner"},
    {"StretchBrush2", "Release to keep this size"},
    {"BendBrush", "Press on the brush and drag to bend it"},
    {"BendBrush2", "Release to keep this bend"},
    {"ShearBrush", "Press on the brush and drag to shear it"},
    {"ShearBrush2", "Release to keep this shear"},
    {"TextIP", "Type the text; click the picture to place it"},

    // Option bars. Line values count dabs including both ends (the spacing
    // divides by value - 1), so lines and curves start at 2. Tolerances
    // stop at 765, the largest red + green + blue distance (the fill mark
    // counts 1024). Radii start at 1 (spray and airbrush divide by them);
    // strength 100 keeps the airbrush's blend weight below 256.
    {"LINEBAR",
     "Line,L,Dabs,3,Continuous,Spaced,Counted,How the brush is stamped along the line,"
     "I,Value,2,999,2,Spacing in pixels or number of dabs,"
     "L,Arrow,5,None,Small,Medium,Large,Huge,Arrow head at the end"},
    {"CURVEBAR",
     "Curve,L,Dabs,3,Continuous,Spaced,Counted,How the brush is stamped along the curve,"
     "I,Value,2,999,2,Spacing in pixels or number of dabs,"
     "L,Arrow,5,None,Small,Medium,Large,Huge,Arrow head at the end"},
    {"CIRCLEBAR",
     "Circle,L,Dabs,3,Continuous,Spaced,Counted,How the brush is stamped along the circle,"
     "I,Value,1,999,2,Spacing in pixels or number of dabs"},
    {"ELLIPSEBAR",
     "Ellipse,L,Dabs,3,Continuous,Spaced,Counted,How the brush is stamped along the ellipse,"
     "I,Value,1,999,2,Spacing in pixels or number of dabs"},
    {"SFILLBAR",
     "Fill,I,Tolerance,0,765,0,How far a colour may differ (red + green + blue) and still be filled,"
     "C,Corners,0,Also fill across pixel corners,"
     "C,Shading,0,Keep the brightness of each filled pixel"},
    {"PFILLBAR",
     "Pattern fill,I,Tolerance,0,765,0,How far a colour may differ (red + green + blue) and still be filled,"
     "C,Corners,0,Also fill across pixel corners,"
     "C,Shading,0,Keep the brightness of each filled pixel,"
     "B,Set origin,Click the picture where the pattern starts,"
     "L,Origin,3,Picture,Brush,Clicked point,Where the pattern starts"},
    {"SPRAYBAR",
     "Spray,B,Size,Drag on the picture to set the radius,"
     "I,Radius,1,200,20,Spray radius in pixels,"
     "I,Intensity,1,100,10,Dabs sprayed per step"},
    {"AIRBRUSHBAR",
     "Airbrush,B,Size,Drag on the picture to set the radius,"
     "I,Radius,1,200,20,Airbrush radius in pixels,"
     "I,Strength,1,100,10,How much colour each step adds"},
    {"CLONEBAR", "Clone,C,Repeat,0,Clone pixels that this stroke has already cloned"},
    {"CHBAR",
     "Change colour,I,Tolerance,0,765,0,How far a colour may differ (red + green + blue) and still be changed"},
    {"CUTBAR",
     "Fixed rectangle,B,Reset,Back to 416 x 312,"
     "I,Width,1,16384,416,Width of the rectangle,"
     "I,Height,1,16384,312,Height of the rectangle,"
     "B,x2,Double width and height,"
     "B,/2,Halve width and height"},
    {"WANDBAR",
     "Magic wand,I,Tolerance,0,765,128,How far a colour may differ (red + green + blue) and still be taken"},
    {"ROTATEBAR",
     "Rotate,C,Keep size,0,Keep the picture size (the corners are cut off),"
     "F,Angle,2,-360,360,0,Angle in degrees,"
     "B,Preview,Show the rotated picture,"
     "B,OK,Rotate the picture"},
    {"STRETCHBAR",
     "Stretch,I,Width,1,16384,416,New width in pixels,"
     "I,Height,1,16384,312,New height in pixels,"
     "F,Width %,1,1,10000,100,New width in percent,"
     "F,Height %,1,1,10000,100,New height in percent,"
     "C,Keep proportions,1,Change width and height together,"
     "B,Preview,Show the stretched picture,"
     "B,OK,Stretch the picture"},
};
}  // namespace

const char* BuiltInText(const char* key)
{
    for (const BuiltIn& b : builtIn)
        if (std::strcmp(b.key, key) == 0) return b.text;
    return "";
}

void SetLanguageLookup(std::function<AnsiString(const AnsiString& key)> lookup) { languageLookup = std::move(lookup); }

AnsiString Translate(const AnsiString& key)
{
    if (languageLookup) {
        AnsiString text = languageLookup(key);
        if (!text.IsEmpty()) return text;
    }
    const char* text = BuiltInText(key.c_str());
    return *text ? AnsiString(text) : key;
}

int TranslatedMessageBox(const AnsiString& textKey, const AnsiString& captionKey, unsigned flags)
{
    AnsiString text = Translate(textKey), caption = Translate(captionKey);
    if (MessageBoxHook) return MessageBoxHook(text, caption, flags);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return 1;
}
