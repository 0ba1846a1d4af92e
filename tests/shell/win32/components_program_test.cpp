// The program started with a folder of test filter components: the menus
// the scan builds, a component applied at once or through its dialog, the
// guard around faulting components, and a component the filter factory
// built, which must compute what the program's own formulas compute.
#include <cstdio>
#include <cstring>
#include <functional>
#include <fstream>
#include <random>
#include <sstream>

#include "../../gui/win32/timed_step.h"
#include "browseform.h"
#include "browser_layout.h"
#include "compform.h"
#include "component_table.h"
#include "component_tool.h"
#include "formula_code.h"
#include "formula_component.h"
#include "palettebar.h"
#include "formula_files.h"
#include "mainmessages.h"
#include "messages.h"
#include "spinedit.h"
#include "started_program_fixture.h"
#include "toolgroups.h"
#include "toolsteps.h"
#include "undo_entry.h"

namespace {

std::string Windows(std::string path)
{
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

const std::string BuiltComponents = Windows("Z:" KESTREL_BINARY_DIR "/tests/components/");

class ComponentsProgram : public StartedProgram {
protected:
    std::string dir, log;
    AnsiString keptProgramDir;

    void SetUp() override
    {
        StartedProgram::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "ks_comps_" + std::to_string(GetCurrentProcessId()) + "\\";
        log = dir + "probe.log";
        const char* folders[] = {"", "Comps", "Comps\\A", "Comps\\B", "Comps\\B\\C", "Comps\\Many", "Comps\\Zed"};
        for (const char* f : folders) CreateDirectoryA((dir + f).c_str(), nullptr);
        Copy("probe.ksc", "Comps\\probe.ksc");
        for (const char* f : {"getdesc", "oldver", "noproc", "notadll"})
            Copy(std::string(f) + ".ksc", std::string("Comps\\A\\") + f + ".ksc");
        Copy("brush.ksc", "Comps\\B\\C\\brush.ksc");
        for (int i = 0; i <= 128; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "Comps\\Many\\c%03d.ksc", i);
            Copy("getdesc.ksc", name);
        }
        SetEnvironmentVariableA("KS_FIXTURE_LOG", log.c_str());
        SetEnvironmentVariableA("KS_PROBE_MODE", nullptr);
    }

    void TearDown() override
    {
        StartedProgram::TearDown();
        ProgramDir = keptProgramDir;
        SetEnvironmentVariableA("KS_FIXTURE_LOG", nullptr);
        SetEnvironmentVariableA("KS_PROBE_MODE", nullptr);
        // Only the folder this test made: a set-up that failed before naming
        // it would otherwise empty the working folder.
        if (dir.find("ks_comps_") != std::string::npos) RemoveTree(dir);
    }

    static void RemoveTree(const std::string& path)
    {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((path + "*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = fd.cFileName;
                if (name == "." || name == "..") continue;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path + name + "\\");
                else DeleteFileA((path + name).c_str());
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(path.c_str());
    }

    void Copy(const std::string& from, const std::string& to)
    {
        ASSERT_TRUE(CopyFileA((BuiltComponents + from).c_str(), (dir + to).c_str(), FALSE)) << from;
    }

    bool StartHere()
    {
        WritePreference("ShowTOD", false);
        AppSettings = TAppSettings();
        UntitledCounter = 1;
        keptProgramDir = ProgramDir;
        ProgramDir = dir.c_str();
        app->CreateForm(MainForm);
        std::string program = dir + "kestrel.exe";
        char* argv[] = {&program[0], nullptr};
        const bool started = MainForm->StartUp(1, argv);
        gui::PumpUntilIdle();
        gui::InputMouseMoveTo(1023, 767);  // the pointer's outline stays off the pictures
        gui::PumpUntilIdle();
        HideOutline();
        return started;
    }

    std::vector<std::string> LogLines(const char* prefix)
    {
        std::ifstream in(log);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            if (line.compare(0, std::strlen(prefix), prefix) == 0) lines.push_back(line);
        return lines;
    }

    static std::vector<unsigned long> Pixels(UDBuffer* pic)
    {
        return std::vector<unsigned long>(pic->pixels, pic->pixels + pic->Width() * pic->Height());
    }

    static void Scramble(UDBuffer* pic, unsigned seed)
    {
        std::mt19937 rng(seed);
        for (int i = 0; i < pic->Width() * pic->Height(); ++i) pic->pixels[i] = rng() & 0xFFFFFF;
    }

    static int UndoSteps(UDBuffer* pic)
    {
        int n = 0;
        for (UndoEntry* e = pic->undoHead; e; e = e->next) ++n;
        return n;
    }

    static TMenuItem* Sub(const char* caption) { return MainForm->Image1->Find(caption); }

    TCompForm* OpenProbe()
    {
        TMenuItem* item = MainForm->Image1->Find("&Probe");
        if (!item) return nullptr;
        item->Click();
        gui::PumpUntilIdle();
        return ComponentTool.form;
    }
};

TEST_F(ComponentsProgram, ScanBuildsTheMenusWithinTheLimit)
{
    ASSERT_TRUE(StartHere());
    EXPECT_EQ(128, ComponentCount);
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C", "MANY", "ZED"}), EffectList);
    for (const char* name : {"&A", "&B", "&C", "&MANY", "&ZED"}) {
        SCOPED_TRACE(name);
        TMenuItem* sub = Sub(name);
        ASSERT_NE(nullptr, sub);
        ASSERT_GE(sub->GetCount(), 2);
        EXPECT_STREQ("Browse", sub->GetItem(0)->GetCaption().c_str());
        EXPECT_TRUE(sub->GetItem(1)->IsLine());
    }
    EXPECT_NE(nullptr, MainForm->Image1->Find("&Probe"));
    EXPECT_EQ(3, Sub("&A")->GetCount());  // only getdesc is a component
    EXPECT_STREQ("&Wrong", Sub("&A")->GetItem(2)->GetCaption().c_str());
    // Many's folder is cut short by the limit; a new column every 20 items.
    TMenuItem* many = Sub("&MANY");
    EXPECT_EQ(2 + 125, many->GetCount());
    HMENU menu = many->GetHandle();
    for (int i = 0; i < many->GetCount(); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoA(menu, UINT(i), TRUE, &info));
        EXPECT_EQ(i > 0 && i % 20 == 0, (info.fType & MFT_MENUBARBREAK) != 0) << i;
    }
    EXPECT_EQ(0, Sub("&ZED")->GetCount() - 2);  // scanned after the limit
    // The brush component's icon joined the tool buttons, hot key I.
    const int icon = Components[2].toolIcon;
    ASSERT_GE(icon, 0);
    EXPECT_EQ(&ComponentBrushTool, ToolEntry(icon).tool);
    EXPECT_EQ('I', ComponentBrushTool.groupButton ? GetToolGroup(ComponentBrushTool.groupButton->group).hotKey : 0);
    EXPECT_TRUE(recorder->Boxes.empty());
}

TEST_F(ComponentsProgram, WithoutParametersTheEffectAppliesAtOnce)
{
    ASSERT_TRUE(StartHere());
    UDBuffer* pic = CurrentPicture;
    Scramble(pic, 3);
    const std::vector<unsigned long> before = Pixels(pic);
    const unsigned long modified = pic->modified;
    ASSERT_NE(nullptr, Sub("&A"));
    Sub("&A")->GetItem(2)->Click();
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_NE(&ComponentTool, CurrentTool);
    EXPECT_EQ(nullptr, ComponentTool.form);
    for (size_t i = 0; i < before.size(); ++i) ASSERT_EQ(before[i] ^ 0xFFFFFF, pic->pixels[i]) << i;
    ASSERT_EQ(1, UndoSteps(pic));
    EXPECT_STREQ("Wrong", pic->undoHead->key.c_str());
    EXPECT_EQ(modified + 1, pic->modified);
    ASSERT_TRUE(UDBuffer::Undo(pic, false));
    EXPECT_EQ(before, Pixels(pic));
}

TEST_F(ComponentsProgram, TheDialogPreviewsOnceAndRestoresOnCancel)
{
    ASSERT_TRUE(StartHere());
    UDBuffer* pic = CurrentPicture;
    Scramble(pic, 5);
    const std::vector<unsigned long> before = Pixels(pic);
    TCompForm* f = OpenProbe();
    ASSERT_NE(nullptr, f);
    EXPECT_TRUE(f->GetVisible());
    // One control of every kind, and the expert's parameter hidden.
    const int kinds[] = {CPK_INT, CPK_FLOAT, CPK_BUTTON, CPK_CHECK, CPK_SCROLL, CPK_LIST, CPK_COLOUR, CPK_POINT,
                         CPK_PICTURE, CPK_INT};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(kinds[i], f->Rows[i].kind) << i;
        ASSERT_NE(nullptr, f->Rows[i].main) << i;
        EXPECT_EQ(i < 9, f->Rows[i].main->GetVisible()) << i;
    }
    EXPECT_TRUE(f->PreviewBtn->GetVisible());
    EXPECT_TRUE(f->InstPreviewBuf->GetVisible());
    // The thumbnail (119 pixels wide, an odd width) ran with its rows packed.
    ASSERT_EQ(119, f->ThumbTarget.Width());
    for (int y = 0; y < f->ThumbTarget.Height(); ++y)
        for (int x = 0; x < 119; ++x)
            ASSERT_EQ(*f->ThumbSource.At(x, y) ^ 0xFFFFFF, *f->ThumbTarget.At(x, y)) << x << "," << y;
    // The declared point 32767 of a 416-pixel width shows at pixel 207.
    EXPECT_EQ(207, int(static_cast<TSpinEdit*>(f->Rows[7].main)->GetValue()));

    struct Step {
        const char* what;
        int runs;  // runs on the picture so far
    } steps[] = {{"preview", 1}, {"preview", 1}, {"change", 1}, {"preview", 2}, {"cancel", 2}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        if (std::string(s.what) == "preview") f->PreviewBtnClick(nullptr);
        if (std::string(s.what) == "change") {
            static_cast<TSpinEdit*>(f->Rows[0].main)->SetValue(77);
            f->ParamControlChanged();  // as the spin edit's change event does
        }
        if (std::string(s.what) == "cancel") {
            EXPECT_EQ(s.runs, f->PictureRuns);
            f->CancelBtnClick(nullptr);
            gui::PumpUntilIdle();
            HideOutline();
            continue;
        }
        gui::PumpUntilIdle();
        EXPECT_EQ(s.runs, f->PictureRuns);
        EXPECT_NE(before, Pixels(pic));
    }
    EXPECT_EQ(before, Pixels(pic));
    EXPECT_EQ(nullptr, pic->undoHead);
    EXPECT_EQ(2u, LogLines("PROCESS 416 312 0 0 415 311 0 1").size());

    // Reopened, the dialog shows the last values; Preset the declared ones.
    const std::vector<std::string> before_done = LogLines("VALUES");
    f = OpenProbe();
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(77, int(static_cast<TSpinEdit*>(f->Rows[0].main)->GetValue()));
    const std::vector<std::string> values = LogLines("VALUES");
    ASSERT_GT(values.size(), before_done.size());
    EXPECT_EQ(before_done.back(), values[before_done.size()]);
    f->PresetBtnClick(nullptr);
    EXPECT_EQ(0, std::memcmp(Components[0].defaults, Components[0].values, COMPONENT_VALUE_BLOCK));
    // Another tool ends the dialog as Cancel does.
    f->PreviewBtnClick(nullptr);
    SelectDefaultTool(true);
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_EQ(before, Pixels(pic));
}

TEST_F(ComponentsProgram, OkKeepsOneStepAfterAnUpToDatePreview)
{
    ASSERT_TRUE(StartHere());
    UDBuffer* pic = CurrentPicture;
    Scramble(pic, 7);
    const std::vector<unsigned long> before = Pixels(pic);
    TCompForm* f = OpenProbe();
    ASSERT_NE(nullptr, f);
    f->PreviewBtnClick(nullptr);
    EXPECT_EQ(1, f->PictureRuns);
    f->OkBtnClick(nullptr);
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_EQ(1u, LogLines("PROCESS 416 312 0 0 415 311 0 1").size());
    ASSERT_EQ(1, UndoSteps(pic));
    EXPECT_STREQ("Probe", pic->undoHead->key.c_str());
    for (size_t i = 0; i < before.size(); ++i) ASSERT_EQ(before[i] ^ 0xFFFFFF, pic->pixels[i]) << i;
    ASSERT_TRUE(UDBuffer::Undo(pic, false));
    EXPECT_EQ(before, Pixels(pic));
}

TEST_F(ComponentsProgram, FaultsAreNamedAndThePictureComesBack)
{
    ASSERT_TRUE(StartHere());
    UDBuffer* pic = CurrentPicture;
    Scramble(pic, 11);
    const std::vector<unsigned long> before = Pixels(pic);
    const std::string told = std::string(Translate("ErrKSC").c_str()) + " Probe " + Translate("ErrKSC2").c_str();
    const struct {
        const char* mode;
        bool ok;  // OK rather than Preview
    } cases[] = {{"crash", false}, {"raise", false}, {"crash", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + (c.ok ? " ok" : " preview"));
        recorder->Boxes.clear();
        TCompForm* f = OpenProbe();
        ASSERT_NE(nullptr, f);
        SetEnvironmentVariableA("KS_PROBE_MODE", c.mode);
        if (c.ok) {
            f->OkBtnClick(nullptr);
        } else {
            f->PreviewBtnClick(nullptr);
        }
        gui::PumpUntilIdle();
        SetEnvironmentVariableA("KS_PROBE_MODE", nullptr);
        ASSERT_EQ(1u, recorder->Boxes.size());
        EXPECT_EQ(told, recorder->Boxes[0].Text.c_str());
        EXPECT_STREQ(Translate("Err").c_str(), recorder->Boxes[0].Caption.c_str());
        HideOutline();
        EXPECT_EQ(before, Pixels(pic));
        if (!c.ok) f->CancelBtnClick(nullptr);
        gui::PumpUntilIdle();
        HideOutline();
        EXPECT_EQ(before, Pixels(pic));
        EXPECT_EQ(nullptr, pic->undoHead);
    }
}

TEST_F(ComponentsProgram, AFilterFactoryComponentComputesWhatTheProgramComputes)
{
    FormulaSet set;
    set.formula[0] = "cnv(1,2,1,2,4,2,1,2,1,16) + i - u";
    set.formula[1] = "src(x+1, y-1, 2) + d + m + rnd(0, 9)";
    set.formula[2] = "v + b + g / 3 + put(r, 3) - get(3)";
    set.text[TEXT_TITLE] = "Made";
    FormulaCode code;
    FormulaCompilation compiled;
    const char* const texts[3] = {set.formula[0].c_str(), set.formula[1].c_str(), set.formula[2].c_str()};
    CompileFormulas(code, texts, compiled);
    FormulaComponentCode parts;
    const int order[4] = {CODE_SETUP, CODE_RED, CODE_GREEN, CODE_BLUE};
    for (int k = 0; k < 4; ++k) {
        parts.code[k] = code.Code(order[k]);
        parts.size[k] = compiled.size[order[k]];
    }
    std::string templ, built;
    ASSERT_TRUE(ReadWholeFile(KESTREL_BINARY_DIR "/bin/ffksc.dll", templ));
    ASSERT_TRUE(BuildFormulaComponent(templ, set, parts, built));
    ASSERT_TRUE(WriteWholeFile(dir + "Comps\\made.ksc", built));  // in the Comps folder itself, before the limit
    ASSERT_TRUE(StartHere());
    UDBuffer* pic = CurrentPicture;
    Scramble(pic, 13);
    Buffer source;
    source.Alloc(Pair<int>{pic->Width(), pic->Height()});
    source.Copy(*pic, Pair<int>{0, 0}, 0xFFFFFFFF);
    Buffer expected;
    expected.Alloc(Pair<int>{pic->Width(), pic->Height()});
    expected.Copy(*pic, Pair<int>{0, 0}, 0xFFFFFFFF);
    const int ctl[8] = {};
    ASSERT_TRUE(RunCompiledFormulas(code, ctl, source, expected, false, nullptr));
    TMenuItem* item = MainForm->Image1->Find("&Made");
    ASSERT_NE(nullptr, item);
    item->Click();
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_EQ(nullptr, ComponentTool.form);  // no named slider: no parameter
    ASSERT_EQ(1, UndoSteps(pic));
    const int n = pic->Width() * pic->Height();
    for (int i = 0; i < n; ++i) ASSERT_EQ(expected.pixels[i], pic->pixels[i]) << i;
}

TEST_F(ComponentsProgram, ProgressStopsOnlyWhenTheUserAsks)
{
    ASSERT_TRUE(StartHere());
    SetEnvironmentVariableA("KS_PROBE_MODE", "progress");
    TCompForm* f = OpenProbe();
    ASSERT_NE(nullptr, f);
    // The instant preview runs outside any progress: nobody asked to stop.
    ASSERT_FALSE(LogLines("PROGRESS").empty());
    EXPECT_EQ("PROGRESS 500", LogLines("PROGRESS").back());
    // Escape while the preview runs stops it; the preview is then not up to date.
    PostMessageA(f->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    f->PreviewBtnClick(nullptr);
    const std::string last = LogLines("PROGRESS").back();
    EXPECT_NE("PROGRESS 500", last);
    EXPECT_FALSE(f->LastRunValid);
    EXPECT_EQ(&ComponentTool, CurrentTool);  // Escape stopped the run, it did not cancel
    SetEnvironmentVariableA("KS_PROBE_MODE", nullptr);
    f->CancelBtnClick(nullptr);
    gui::PumpUntilIdle();
}

TEST_F(ComponentsProgram, TheHostKeepsAComponentsRequestsAndFailuresInBounds)
{
    ASSERT_TRUE(StartHere());
    UDBuffer* pic = CurrentPicture;
    Scramble(pic, 17);
    const std::vector<unsigned long> before = Pixels(pic);
    TCompForm* f = OpenProbe();
    ASSERT_NE(nullptr, f);
    // A click on the picture reaches the component and keeps the tool.
    ToolPhase = 1;
    MousePoint = TPoint{415, 0};
    ComponentTool.Click();
    EXPECT_EQ(0, ToolPhase);
    EXPECT_EQ(std::vector<std::string>{"POINTER 65535 0 416 312 0 0"}, LogLines("POINTER"));
    // A resize while the component runs: the component writes on within
    // the new picture, which Cancel takes back.
    EXPECT_FALSE(ResizeComponentPicture(0, 50));
    EXPECT_FALSE(ResizeComponentPicture(100, 40000));
    EXPECT_EQ(416, pic->Width());
    SetEnvironmentVariableA("KS_PROBE_MODE", "resize");
    f->PreviewBtnClick(nullptr);
    SetEnvironmentVariableA("KS_PROBE_MODE", nullptr);
    EXPECT_EQ(208, pic->Width());
    EXPECT_EQ(156, pic->Height());
    EXPECT_TRUE(recorder->Boxes.empty());
    f->CancelBtnClick(nullptr);
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_EQ(416, pic->Width());
    EXPECT_EQ(before, Pixels(pic));
    // A component gone since the scan: no activation, no call, no message.
    const size_t calls = LogLines("").size();
    ASSERT_TRUE(DeleteFileA((dir + "Comps\\probe.ksc").c_str()));
    MousePoint = TPoint{40, 40};  // the default tool's outline is drawn into the picture once
    MainForm->Image1->Find("&Probe")->Click();
    gui::PumpUntilIdle();
    EXPECT_NE(&ComponentTool, CurrentTool);
    EXPECT_EQ(calls, LogLines("").size());
    EXPECT_TRUE(recorder->Boxes.empty());
    HideOutline();
    EXPECT_EQ(before, Pixels(pic));
}

using ComponentBrushProgram = ComponentsProgram;

TEST_F(ComponentBrushProgram, ChangesOnlyWhatItsDabsCover)
{
    ASSERT_TRUE(StartHere());
    UDBuffer* pic = CurrentPicture;
    Scramble(pic, 19);
    const std::vector<unsigned long> before = Pixels(pic);
    ASSERT_GE(Components[2].toolIcon, 0);
    SelectTool(&ComponentBrushTool, true, Components[2].toolIcon);
    gui::PumpUntilIdle();
    ASSERT_EQ(&ComponentBrushTool, CurrentTool);
    EXPECT_STREQ("Brush", ComponentBrushTool.iconKey.c_str());
    ASSERT_NE(nullptr, ComponentBrushTool.form);
    EXPECT_FALSE(ComponentBrushTool.form->OkBtn->GetVisible());
    HideOutline();
    MousePoint = TPoint{100, 100};
    ToolMouseDown();
    DragIsSure();
    for (int x = 102; x <= 140; x += 2) {
        MousePoint = TPoint{x, 100};
        ToolMouseMove();
    }
    ToolMouseUp();
    HideOutline();
    int changed = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        ASSERT_EQ(0u, pic->pixels[i] & 0x04000000) << i;
        ASSERT_EQ(0u, ComponentBrushTool.saved.pixels[i] & 0x04000000) << i;
        if (pic->pixels[i] == before[i]) continue;
        ASSERT_EQ(before[i] ^ 0xFFFFFF, pic->pixels[i]) << i;
        const int x = int(i) % pic->Width(), y = int(i) / pic->Width();
        ASSERT_TRUE(x >= 100 - StampBuffer.Width() && x <= 140 + StampBuffer.Width()) << x;
        ASSERT_TRUE(y >= 100 - StampBuffer.Height() && y <= 100 + StampBuffer.Height()) << y;
        ++changed;
    }
    EXPECT_GT(changed, 0);
    ASSERT_EQ(1, UndoSteps(pic));
    EXPECT_STREQ("Brush", pic->undoHead->key.c_str());
    SelectDefaultTool(true);
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_NE(before, Pixels(pic));  // the strokes stay
}

// A component setting its own parameters: values held within the control's
// limits, items and pictures that do not exist ignored, the point shown
// truncated, and nothing sent back while notifications are off.
TEST_F(ComponentsProgram, AComponentSetsItsParametersWithinTheirLimits)
{
    ASSERT_TRUE(StartHere());
    TCompForm* f = OpenProbe();
    ASSERT_NE(nullptr, f);
    HWND main = MainForm->GetHandle();
    double big = 12.5;
    const char caption[] = "Renamed";
    auto spin = [f](int i) { return int(static_cast<TSpinEdit*>(f->Rows[i].main)->GetValue()); };
    const struct {
        int n, sub;
        LPARAM value;
        std::function<int()> shown;
        int expected;
    } cases[] = {
        {1, 0, 500, [&] { return spin(0); }, 100},
        {1, 2, 60, [&] { return spin(0); }, 100},
        {1, 0, 10, [&] { return spin(0); }, 60},
        {2, 0, LPARAM(&big), [&] { return int(static_cast<TSpinEdit*>(f->Rows[1].main)->GetValue() * 10); }, 100},
        {4, 0, 0, [&] { return int(static_cast<TCheckBox*>(f->Rows[3].main)->GetChecked()); }, 0},
        {5, 0, 300, [&] { return static_cast<TScrollBar*>(f->Rows[4].main)->GetPosition(); }, 255},
        {6, 0, 7, [&] { return static_cast<TComboBox*>(f->Rows[5].main)->GetItemIndex(); }, 1},
        {6, 0, 3, [&] { return static_cast<TComboBox*>(f->Rows[5].main)->GetItemIndex(); }, 2},
        {7, 0, 0x123456, [&] { return int(SwatchColour(static_cast<TShape*>(f->Rows[6].main))); }, 0x123456},
        {8, 0, LPARAM(65535u << 16 | 32767u), [&] { return spin(7) * 1000 + int(static_cast<TSpinEdit*>(f->Rows[7].second)->GetValue()); }, 415155},
        {9, 0, 5, [&] { return spin(8); }, 1},
        {1, 1, LPARAM(caption), [&] { return int(f->Rows[0].label->GetCaption() == "Renamed"); }, 1},
        {3, 1, LPARAM(caption), [&] { return int(static_cast<TButton*>(f->Rows[2].main)->GetCaption() == "Renamed"); }, 1},
    };
    for (const auto& c : cases) {
        SendMessageA(main, UM_COMPSETPARAM, WPARAM(c.n | c.sub << 16), c.value);
        EXPECT_EQ(c.expected, c.shown()) << c.n << "/" << c.sub;
    }
    const size_t sent = LogLines("VALUES").size();
    SendMessageA(main, UM_COMPNOTIFYOFF, 0, 0);
    SendMessageA(main, UM_COMPSETPARAM, 1, 70);
    EXPECT_EQ(sent, LogLines("VALUES").size());
    SendMessageA(main, UM_COMPNOTIFYON, 0, 0);
    SendMessageA(main, UM_COMPSETPARAM, 1, 80);
    EXPECT_EQ(sent + 1, LogLines("VALUES").size());
    f->CancelBtnClick(nullptr);
    gui::PumpUntilIdle();
    // With no component tool current the requests change nothing.
    SendMessageA(main, UM_COMPSETPARAM, 1, 90);
    EXPECT_EQ(sent + 1, LogLines("VALUES").size());
}

// With components switched off nothing is scanned; switching them on in the
// preferences scans once, and off again hides the menus.
TEST_F(ComponentsProgram, PreferencesScanWhenComponentsAreSwitchedOn)
{
    WritePreference("UseKSC", false);
    ASSERT_TRUE(StartHere());
    EXPECT_EQ(nullptr, Sub("&A"));
    AppSettings.UseKSC = true;
    MainForm->RescanComponents();
    ASSERT_NE(nullptr, Sub("&A"));
    EXPECT_EQ(128, ComponentCount);
    TMenuItem* probe = MainForm->Image1->Find("&Probe");
    ASSERT_NE(nullptr, probe);
    AppSettings.UseKSC = false;
    MainForm->RescanComponents();
    EXPECT_FALSE(Sub("&A")->GetVisible());
    EXPECT_FALSE(probe->GetVisible());
    AppSettings.UseKSC = true;
    MainForm->RescanComponents();
    EXPECT_EQ(probe, MainForm->Image1->Find("&Probe"));  // shown again, not scanned again
    EXPECT_TRUE(probe->GetVisible());
}

// With a selection the component changes only marked pixels, and the step
// covers only the selection's rectangle.
TEST_F(ComponentsProgram, ASelectionLimitsTheRunAndItsStep)
{
    ASSERT_TRUE(StartHere());
    UDBuffer* pic = CurrentPicture;
    Scramble(pic, 23);
    const Rect sel{30, 20, 99, 59};
    for (int y = sel.top; y <= sel.bottom; ++y)
        for (int x = sel.left; x <= sel.right; ++x)
            if ((x + y) % 3) pic->pixels[y * pic->Width() + x] |= 0x04000000;
    pic->selMinX = sel.left;
    pic->selMinY = sel.top;
    pic->selMaxX = sel.right;
    pic->selMaxY = sel.bottom;
    pic->TraceSelection();
    ASSERT_TRUE(pic->HasSelection());
    const std::vector<unsigned long> before = Pixels(pic);
    TCompForm* f = OpenProbe();
    ASSERT_NE(nullptr, f);
    // Presses on the picture reach the component and neither drop the
    // selection nor end the dialog.
    for (int press = 0; press < 2; ++press) {
        MousePoint = TPoint{50, 30};
        ToolMouseDown();
        ToolMouseUp();
    }
    EXPECT_TRUE(pic->HasSelection());
    EXPECT_EQ(&ComponentTool, CurrentTool);
    EXPECT_EQ(nullptr, pic->undoHead);
    EXPECT_FALSE(LogLines("POINTER").empty());
    f->OkBtnClick(nullptr);
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_EQ(1u, LogLines("PROCESS 416 312 30 20 99 59 1 1").size());
    for (size_t i = 0; i < before.size(); ++i) {
        const bool marked = (before[i] & 0x04000000) != 0;
        ASSERT_EQ(marked ? before[i] ^ 0xFFFFFF : before[i], pic->pixels[i]) << i;
    }
    ASSERT_EQ(1, UndoSteps(pic));
    const UndoEntry* step = pic->undoHead;
    EXPECT_EQ((std::vector<int>{30, 20, 99, 59}), (std::vector<int>{step->left, step->top, step->right, step->bottom}));
}

// On a picture 101 pixels wide the point parameter shows the declared
// fraction 32767 rounded (x = 50), the same fraction a component sets
// truncated (x = 49); the run covers every row of the odd width.
TEST_F(ComponentsProgram, APointShowsTheDeclaredFractionRoundedAndAComponentsTruncated)
{
    ASSERT_TRUE(StartHere());
    UDBuffer* pic = CurrentPicture;
    pic->Alloc(Pair<int>{101, 60});
    PicturePixelsChanged(pic);
    Scramble(pic, 29);
    std::vector<unsigned long> before;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 101; ++x) before.push_back(*pic->At(x, y));
    for (const char* mode : {"", "setpoint"}) {
        SetEnvironmentVariableA("KS_PROBE_MODE", *mode ? mode : nullptr);
        TCompForm* f = OpenProbe();
        ASSERT_NE(nullptr, f);
        EXPECT_EQ(*mode ? 49 : 50, int(static_cast<TSpinEdit*>(f->Rows[7].main)->GetValue())) << mode;
        f->CancelBtnClick(nullptr);
        gui::PumpUntilIdle();
    }
    SetEnvironmentVariableA("KS_PROBE_MODE", nullptr);
    TCompForm* f = OpenProbe();
    ASSERT_NE(nullptr, f);
    f->OkBtnClick(nullptr);
    gui::PumpUntilIdle();
    HideOutline();
    for (int y = 0, i = 0; y < 60; ++y)
        for (int x = 0; x < 101; ++x, ++i) ASSERT_EQ(before[size_t(i)] ^ 0xFFFFFF, *pic->At(x, y)) << x << "," << y;
}

// Keys in the dialog: a focused spin edit keeps what typing a number needs,
// arrows are dropped, Enter is OK and Escape Cancel for the component tool.
TEST_F(ComponentsProgram, TheDialogsKeys)
{
    ASSERT_TRUE(StartHere());
    UDBuffer* pic = CurrentPicture;
    Scramble(pic, 31);
    const std::vector<unsigned long> before = Pixels(pic);
    const struct {
        unsigned short key;
        bool spinFocused;
        bool kept;       // the key goes on to the focused control
        bool toolStays;
    } cases[] = {{'5', true, true, true},   {VK_BACK, true, true, true},  {VK_LEFT, false, false, true},
                 {VK_ESCAPE, false, false, false}, {VK_RETURN, true, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        TCompForm* f = ComponentTool.form ? ComponentTool.form : OpenProbe();
        ASSERT_NE(nullptr, f);
        f->SetActiveControl(c.spinFocused ? static_cast<TWinControl*>(f->Rows[0].main) : nullptr);
        unsigned short key = c.key;
        f->OnKeyDown(f, key, TShiftState());
        gui::PumpUntilIdle();
        EXPECT_EQ(c.kept, key == c.key);
        EXPECT_EQ(c.toolStays, CurrentTool == &ComponentTool);
    }
    HideOutline();
    // Escape cancelled; Enter kept the result with its step.
    ASSERT_EQ(1, UndoSteps(pic));
    for (size_t i = 0; i < before.size(); ++i) ASSERT_EQ(before[i] ^ 0xFFFFFF, pic->pixels[i]) << i;
}

// A folder's "Browse": each of its components run on the picture at the
// declared values, the user's values kept, an empty cell for a component
// gone since the scan; the chosen one's dialog follows the browser, and
// the picture is as it was.
TEST_F(ComponentsProgram, BrowseShowsTheFoldersEffectsAndChoosingOneSelectsIt)
{
    Copy("probe.ksc", "Comps\\B\\probe.ksc");
    Copy("getdesc.ksc", "Comps\\B\\gone.ksc");
    ASSERT_TRUE(StartHere());
    ASSERT_TRUE(DeleteFileA((dir + "Comps\\B\\gone.ksc").c_str()));
    const std::string probePath = dir + "Comps\\B\\probe.ksc";
    int probe = -1;
    for (int i = 0; i < ComponentCount; ++i)
        if (Components[i].path == probePath) probe = i;
    ASSERT_GE(probe, 0);
    Components[probe].values[0] = 77;  // the amount the user chose last
    UDBuffer* pic = CurrentPicture;
    Scramble(pic, 37);
    const std::vector<unsigned long> before = Pixels(pic);
    const BrowserSize size = ThumbnailSize(pic->Width(), pic->Height());
    Buffer shrunk;
    shrunk.Alloc(Pair<int>{size.width, size.height});
    shrunk.Scale(*pic, Pair<int>{size.width, size.height}, Pair<int>{0, 0}, 0xFFFFFFFF, -1);
    std::vector<std::string> run;
    gui::WhenOpen<TBrowseForm>([&](TBrowseForm* f) {
        TBuffer* chosen = nullptr;
        [&] {
            for (int i = 0; i < 2000 && !(f->CellShows(0) && f->CellShows(1)); ++i) {
                Application->ProcessMessages();
                Sleep(10);
            }
            EXPECT_EQ(1, f->EffectComboBox->GetItemIndex());  // B
            EXPECT_FALSE(f->DriveComboBox->GetVisible());
            ASSERT_EQ(2, f->EntryCount());
            for (int n = 0; n < BrowserCells; ++n) {
                TBrowseCell& cell = f->Cell(n);
                if (cell.view->GetTag() < 0) continue;
                const bool isProbe = f->Entries()[size_t(cell.view->GetTag())].text == probePath.c_str();
                EXPECT_STREQ(isProbe ? "Probe" : "", cell.label->GetCaption().c_str());
                if (!isProbe) continue;
                chosen = cell.view;
                ASSERT_EQ(size.width, cell.picture.Width());
                for (int y = 0; y < size.height; ++y)
                    for (int x = 0; x < size.width; ++x)
                        ASSERT_EQ(*shrunk.At(x, y) ^ 0xFFFFFF, *cell.picture.At(x, y)) << x << "," << y;
            }
        }();
        run = LogLines("");
        if (chosen) gui::Click(chosen, 5, 5);
        else f->SetModalResult(mrCancel);
    });
    Sub("&B")->GetItem(0)->Click();  // Browse
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_EQ(before, Pixels(pic));
    const char* expected[] = {"INIT 120 90 0 0 119 89 0 0", "VALUES 4d 00 00 00", "VALUES 32 00 00 00",
                              "PROCESS 120 90 0 0 119 89 0 0", "DONE"};
    ASSERT_EQ(5u, run.size());
    for (size_t i = 0; i < run.size(); ++i) EXPECT_EQ(0u, run[i].find(expected[i])) << run[i];
    ASSERT_EQ(&ComponentTool, CurrentTool);
    EXPECT_EQ(probe, ComponentTool.component);
    ASSERT_NE(nullptr, ComponentTool.form);
    EXPECT_TRUE(ComponentTool.form->GetVisible());
    EXPECT_EQ(77, int(static_cast<TSpinEdit*>(ComponentTool.form->Rows[0].main)->GetValue()));
    ComponentTool.form->CancelBtnClick(nullptr);
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_EQ(before, Pixels(pic));

    // Browsing from an open dialog without choosing brings that dialog back,
    // not the last component shown (A's would apply itself at once). The
    // effect box goes to another folder on the way.
    ASSERT_NE(nullptr, OpenProbe());
    const int open = ComponentTool.component;
    gui::WhenOpen<TBrowseForm>([](TBrowseForm* f) {
        auto pumpUntil = [](const std::function<bool()>& done) {
            for (int i = 0; i < 2000 && !done(); ++i) {
                Application->ProcessMessages();
                Sleep(10);
            }
        };
        pumpUntil([f] { return f->CellShows(0); });
        EXPECT_EQ(1, f->EntryCount());
        f->EffectComboBox->SetItemIndex(1);
        f->EffectComboBox->OnChange(f->EffectComboBox);
        pumpUntil([f] { return f->EntryCount() == 2 && f->CellShows(0) && f->CellShows(1); });
        EXPECT_EQ(2, f->EntryCount());
        f->CloseBtn->Click();
    });
    Sub("&A")->GetItem(0)->Click();
    gui::PumpUntilIdle();
    ASSERT_EQ(&ComponentTool, CurrentTool);
    EXPECT_EQ(open, ComponentTool.component);
    ASSERT_NE(nullptr, ComponentTool.form);
    ComponentTool.form->CancelBtnClick(nullptr);
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_EQ(before, Pixels(pic));
}

}  // namespace
