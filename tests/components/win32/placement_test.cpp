#include "../../gui/win32/gui_fixture.h"

#include <cstdio>

#include "placement_ini.h"
#include "inifiles.h"
#include "placement.h"
#include "workarea.h"

namespace {

AnsiString TempIni()
{
    char dir[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "fp", 0, name);
    return name;
}

class PlacementTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        ini = TempIni();
        saved = MonitorFunctions();
    }
    void TearDown() override
    {
        MonitorFunctions() = saved;
        DeleteFileA(ini.c_str());
        GuiTest::TearDown();
    }
    TFormPlacement* MakePlacement(TForm& form)
    {
        form.SetName("PlaceForm");
        auto* p = new TFormPlacement(&form);
        p->SetIniFileName(ini);
        return p;
    }
    AnsiString Read(const AnsiString& section, const char* ident)
    {
        TIniFile f(ini);
        return f.ReadString(section, ident, "");
    }
    AnsiString ini;
    TMonitorFunctions saved;
};

// Fake multi-monitor functions: a second monitor right of the primary one,
// and a primary work area smaller than the real screen (Wine itself keeps
// windows on its real screen, so only a smaller area shows our fitting).
HMONITOR WINAPI FakeFromRect(LPCRECT r, DWORD)
{
    return reinterpret_cast<HMONITOR>(r->left >= 1024 ? 2 : 1);
}
BOOL WINAPI FakeInfo(HMONITOR m, LPMONITORINFO info)
{
    RECT work = m == reinterpret_cast<HMONITOR>(2) ? RECT{1024, 0, 2048, 700} : RECT{0, 0, 800, 600};
    info->rcMonitor = work;
    info->rcWork = work;
    return TRUE;
}

}  // namespace

TEST_F(PlacementTest, SavesNormPosAndShowCmdUnderTheResolutionSection)
{
    TForm form(nullptr);
    TFormPlacement* p = MakePlacement(form);
    form.SetBounds(40, 50, 300, 200);
    form.Show();
    gui::PumpUntilIdle();
    p->SaveFormPlacement();
    AnsiString section = "PlaceForm" + GetResolutionStr();
    EXPECT_EQ(AnsiString("(1024x768)"), GetResolutionStr());
    EXPECT_EQ(AnsiString("40,50,340,250"), Read(section, "NormPos"));
    EXPECT_EQ(AnsiString("40,50,340,250"), Read("PlaceForm", "NormPos"));
    EXPECT_EQ(AnsiString("1"), Read(section, "ShowCmd"));
    EXPECT_EQ(AnsiString("1"), Read("PlaceForm", "Visible"));
}

TEST_F(PlacementTest, RoundTripThroughShowAndClose)
{
    {
        TForm form(nullptr);
        MakePlacement(form);
        form.SetBounds(100, 120, 260, 180);
        form.Show();
        gui::PumpUntilIdle();
        form.Close();  // saves
    }
    TForm again(nullptr);
    MakePlacement(again);
    again.Show();  // restores
    gui::PumpUntilIdle();
    EXPECT_EQ(100, again.GetLeft());
    EXPECT_EQ(120, again.GetTop());
    EXPECT_EQ(260, again.GetWidth());
    EXPECT_EQ(180, again.GetHeight());
}

TEST_F(PlacementTest, ResolutionSectionIsReadBeforeThePlainOne)
{
    {
        TIniFile f(ini);
        f.WriteString("PlaceForm", "NormPos", "10,10,210,110");
        f.WriteString("PlaceForm" + GetResolutionStr(), "NormPos", "30,40,230,140");
    }
    TForm form(nullptr);
    MakePlacement(form)->RestoreFormPlacement();
    EXPECT_EQ(30, form.GetLeft());
    EXPECT_EQ(40, form.GetTop());
    {
        TIniFile f(ini);
        f.EraseSection("PlaceForm" + GetResolutionStr());
    }
    TForm other(nullptr);
    MakePlacement(other)->RestoreFormPlacement();
    EXPECT_EQ(10, other.GetLeft());
}

TEST_F(PlacementTest, DamagedOrMissingValuesLeaveTheFormAlone)
{
    {
        TIniFile f(ini);
        f.WriteString("PlaceForm", "NormPos", "10,x,210");
    }
    TForm form(nullptr);
    form.SetBounds(5, 6, 300, 200);
    MakePlacement(form)->RestoreFormPlacement();
    EXPECT_EQ(5, form.GetLeft());
    EXPECT_EQ(300, form.GetWidth());
}

TEST_F(PlacementTest, PositionFromAVanishedMonitorComesBackOnScreen)
{
    {
        TIniFile f(ini);
        f.WriteString("PlaceForm", "NormPos", "1500,100,1800,300");
    }
    TForm form(nullptr);
    MakePlacement(form)->RestoreFormPlacement();
    EXPECT_EQ(1024 - 300, form.GetLeft());
    EXPECT_EQ(300, form.GetWidth());
}

TEST_F(PlacementTest, RestoreUsesTheMonitorFunctions)
{
    MonitorFunctions().FromRect = FakeFromRect;
    MonitorFunctions().GetInfo = FakeInfo;
    RECT r = WorkAreaNear(RECT{1500, 100, 1800, 900});
    EXPECT_EQ(1024, r.left);
    EXPECT_EQ(700, r.bottom);
    {
        TIniFile f(ini);
        f.WriteString("PlaceForm", "NormPos", "700,500,900,650");
    }
    TForm form(nullptr);
    MakePlacement(form)->RestoreFormPlacement();
    EXPECT_EQ(600, form.GetLeft()) << "pulled into the fake monitor's work area";
    EXPECT_EQ(450, form.GetTop());
    EXPECT_EQ(200, form.GetWidth());
}

TEST_F(PlacementTest, WithoutMonitorFunctionsThePrimaryWorkAreaIsUsed)
{
    MonitorFunctions() = TMonitorFunctions{};
    RECT r = WorkAreaNear(RECT{3000, 3000, 3100, 3100});
    RECT primary = PrimaryWorkArea();
    EXPECT_TRUE(EqualRect(&r, &primary));
    EXPECT_EQ(1024, r.right);
}

TEST_F(PlacementTest, FixedSizeFormKeepsItsSize)
{
    {
        TIniFile f(ini);
        f.WriteString("PlaceForm", "NormPos", "20,30,520,430");
    }
    TForm form(nullptr);
    form.SetBorderStyle(bsDialog);
    form.SetBounds(0, 0, 200, 150);
    MakePlacement(form)->RestoreFormPlacement();
    EXPECT_EQ(20, form.GetLeft());
    EXPECT_EQ(200, form.GetWidth());
    EXPECT_EQ(150, form.GetHeight());
}

TEST_F(PlacementTest, MaximisedStateIsRestoredWithFpState)
{
    {
        TIniFile f(ini);
        f.WriteString("PlaceForm", "NormPos", "20,30,320,230");
        f.WriteInteger("PlaceForm", "ShowCmd", SW_SHOWMAXIMIZED);
    }
    TForm form(nullptr);
    TFormPlacement* p = MakePlacement(form);
    form.Show();
    gui::PumpUntilIdle();
    EXPECT_EQ(wsMaximized, form.GetWindowState());
    p->SetOptions(fpPosition);
    form.SetWindowState(wsNormal);
    p->RestoreFormPlacement();
    EXPECT_EQ(wsNormal, form.GetWindowState());
}

TEST_F(PlacementTest, ActiveControlAndLinksShareTheSection)
{
    TForm form(nullptr);
    TFormPlacement* p = MakePlacement(form);
    p->SetOptions(fpPosition | fpActiveControl);
    auto* box = new TBox(&form, &form, 0, 0, 20, 20, clRed);
    box->SetName("Box1");
    box->SetTabStop(true);
    form.Show();
    gui::PumpUntilIdle();
    form.SetActiveControl(box);
    TIniLink link;
    link.SetStorage(p);
    AnsiString loaded;
    link.OnSave = [](TObject* f, const AnsiString& s) { IniWriteString(f, s, "States", "1,0,2"); };
    link.OnLoad = [&](TObject* f, const AnsiString& s) { loaded = IniReadString(f, s, "States", ""); };
    p->SaveFormPlacement();
    EXPECT_EQ(AnsiString("Box1"), Read("PlaceForm", "ActiveControl"));
    p->RestoreFormPlacement();
    EXPECT_EQ(AnsiString("1,0,2"), loaded);
}

TEST_F(PlacementTest, FormEventsAreChainedAndPutBack)
{
    TForm form(nullptr);
    int shows = 0, closes = 0;
    form.OnShow = [&](TObject*) { ++shows; };
    form.OnCloseQuery = [&](TObject*, bool&) { ++closes; };
    int restores = 0, saves = 0;
    TFormPlacement* p = MakePlacement(form);
    p->OnRestorePlacement = [&](TObject*) { ++restores; };
    p->OnSavePlacement = [&](TObject*) { ++saves; };
    form.Show();
    gui::PumpUntilIdle();
    form.Close();
    gui::PumpUntilIdle();
    EXPECT_EQ(1, shows);
    EXPECT_EQ(1, closes);
    EXPECT_EQ(1, restores);
    EXPECT_EQ(1, saves);
    delete p;
    form.Show();
    gui::PumpUntilIdle();
    EXPECT_EQ(2, shows) << "the form's own handler is back";
    EXPECT_EQ(1, restores);
}

TEST_F(PlacementTest, PreventResizeFixesTrackingSizeAndBorders)
{
    TForm form(nullptr);
    TFormPlacement* p = MakePlacement(form);
    p->SetPreventResize(true);
    form.SetBounds(10, 10, 300, 200);
    form.Show();
    gui::PumpUntilIdle();
    MINMAXINFO info = {};
    info.ptMaxTrackSize = POINT{5000, 5000};
    SendMessageA(form.GetHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(300, info.ptMinTrackSize.x);
    EXPECT_EQ(200, info.ptMaxTrackSize.y);
    RECT r;
    GetWindowRect(form.GetHandle(), &r);
    LRESULT hit = SendMessageA(form.GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, r.bottom - 1));
    EXPECT_EQ(HTNOWHERE, hit);
}

TEST_F(PlacementTest, MinMaxInfoFillsOnlyNonZeroValues)
{
    TForm form(nullptr);
    TFormPlacement* p = MakePlacement(form);
    p->MinMaxInfo().MinTrackWidth = 150;
    p->MinMaxInfo().MaxTrackHeight = 400;
    form.HandleNeeded();
    gui::PumpUntilIdle();
    MINMAXINFO info = {};
    info.ptMinTrackSize = POINT{11, 12};
    info.ptMaxTrackSize = POINT{5000, 5000};
    SendMessageA(form.GetHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(150, info.ptMinTrackSize.x);
    EXPECT_EQ(12, info.ptMinTrackSize.y);
    EXPECT_EQ(5000, info.ptMaxTrackSize.x);
    EXPECT_EQ(400, info.ptMaxTrackSize.y);
}

TEST_F(PlacementTest, NonIniObjectsAreRefused)
{
    TObject other;
    EXPECT_THROW(IniReadString(&other, "S", "I", ""), EInvalidOperation);
}
