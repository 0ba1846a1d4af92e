#include "toolbar_test_form.h"

#include <map>

#include "registry.h"
#include "saved_positions.h"

class TbPositionsTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        TRegistry reg;
        reg.DeleteKey(Key);
    }
    const char* Key = "Software\\Corvane\\KS\\TestToolbars";
};

namespace {

struct TPlace {
    TDock* Dock;
    int Row;
    int Pos;
    RECT Bounds;
    bool Visible;
};

TPlace PlaceOf(TToolbar* b)
{
    return TPlace{b->GetDockedTo(), b->GetDockRow(), b->GetDockPos(), b->GetBoundsRect(), b->GetVisible()};
}

void ExpectSame(const TPlace& a, const TPlace& b)
{
    EXPECT_EQ(a.Dock, b.Dock);
    EXPECT_EQ(a.Row, b.Row);
    EXPECT_EQ(a.Pos, b.Pos);
    EXPECT_TRUE(EqualRect(&a.Bounds, &b.Bounds));
    EXPECT_EQ(a.Visible, b.Visible);
}

// The in-memory store for the Ex forms.
struct TMemoryStore {
    std::map<std::string, std::string> Values;
    static std::string K(const AnsiString& s, const AnsiString& i) { return std::string(s.c_str()) + "/" + i.c_str(); }
    TPositionWriteIntProc WriteInt()
    {
        return [this](const AnsiString& s, const AnsiString& i, int v) { Values[K(s, i)] = std::to_string(v); };
    }
    TPositionWriteStringProc WriteString()
    {
        return [this](const AnsiString& s, const AnsiString& i, const AnsiString& v) { Values[K(s, i)] = v.c_str(); };
    }
    TPositionReadIntProc ReadInt()
    {
        return [this](const AnsiString& s, const AnsiString& i, int d) {
            auto it = Values.find(K(s, i));
            return it == Values.end() ? d : std::stoi(it->second);
        };
    }
    TPositionReadStringProc ReadString()
    {
        return [this](const AnsiString& s, const AnsiString& i, const AnsiString& d) {
            auto it = Values.find(K(s, i));
            return it == Values.end() ? d : AnsiString(it->second.c_str());
        };
    }
};

}  // namespace

TEST_F(TbPositionsTest, SavedValuesInTheRegistryRestoreTheSameLayout)
{
    TPlace p1, p2, p3;
    POINT floating;
    {
        TDockForm f;
        f.Bar1->SetDockedTo(f.Top);
        f.Bar2->SetDockRow(1);
        f.Bar2->SetDockPos(40);
        f.Bar2->SetDockedTo(f.Top);
        f.Bar3->SetFloatingPosition(POINT{300, 250});
        f.Bar3->SetDockedTo(nullptr);
        f.Bar3->SetFloatRightX(60);
        f.Show();
        p1 = PlaceOf(f.Bar1);
        p2 = PlaceOf(f.Bar2);
        p3 = PlaceOf(f.Bar3);
        floating = f.Bar3->GetFloatingPosition();
        SaveToolbarPositions(f.Form, Key);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(AnsiString(Key) + "\\Bar2", false));
    EXPECT_EQ(AnsiString("TopDock"), reg.ReadString("DockedTo"));
    EXPECT_EQ(AnsiString("2"), reg.ReadString("Rev"));
    EXPECT_EQ(AnsiString("1"), reg.ReadString("DockRow"));
    EXPECT_EQ(AnsiString("40"), reg.ReadString("DockPos"));
    EXPECT_EQ(AnsiString("1"), reg.ReadString("Visible"));
    EXPECT_EQ(AnsiString("0"), reg.ReadString("FloatRightX"));
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey(AnsiString(Key) + "\\Bar3", false));
    EXPECT_EQ(AnsiString("+"), reg.ReadString("DockedTo"));
    EXPECT_EQ(AnsiString("300"), reg.ReadString("FloatLeft"));
    EXPECT_EQ(AnsiString("250"), reg.ReadString("FloatTop"));
    EXPECT_EQ(AnsiString("60"), reg.ReadString("FloatRightX"));
    reg.CloseKey();

    TDockForm g;  // a new form starts with every bar floating nowhere
    g.Bar1->SetDockedTo(g.Bottom);
    g.Show();
    LoadToolbarPositions(g.Form, Key);
    gui::PumpUntilIdle();
    p1.Dock = p1.Dock == nullptr ? nullptr : g.Top;
    p2.Dock = g.Top;
    p3.Dock = nullptr;
    ExpectSame(p1, PlaceOf(g.Bar1));
    ExpectSame(p2, PlaceOf(g.Bar2));
    EXPECT_EQ(60, g.Bar3->GetFloatRightX());
    EXPECT_EQ(floating.x, g.Bar3->GetFloatingPosition().x);
    EXPECT_EQ(floating.y, g.Bar3->GetFloatingPosition().y);
    EXPECT_EQ(p3.Bounds.right - p3.Bounds.left, g.Bar3->GetWidth());
    EXPECT_EQ(0, g.Bottom->GetToolbarCount());
}

TEST_F(TbPositionsTest, DockWithoutDraggingIsStoredEmptyAndSkipsAreHonoured)
{
    TDockForm f;
    f.Bottom->SetAllowDrag(false);
    f.Bar1->SetDockedTo(f.Bottom);
    f.Bar2->SetDockedTo(f.Top);
    f.Show();
    TMemoryStore store;
    SaveToolbarPositionsEx(f.Form, store.WriteInt(), store.WriteString());
    EXPECT_EQ("", store.Values["Bar1/DockedTo"]);
    EXPECT_EQ(1u, store.Values.count("Bar1/FloatRightX")) << "toolbars write FloatRightX";
    // Bar2: a section without Rev 2 is left alone, visibility included.
    store.Values["Bar2/Rev"] = "1";
    store.Values["Bar2/Visible"] = "0";
    // Bar3: a dock name that no longer exists keeps it, but Visible is restored.
    store.Values["Bar3/Rev"] = "2";
    store.Values["Bar3/Visible"] = "0";
    store.Values["Bar3/DockedTo"] = "GoneDock";
    // Bar1 asks for a dock that does not allow dragging: stays.
    store.Values["Bar1/DockedTo"] = "BottomDock";
    f.Bar1->SetDockedTo(f.Top);
    LoadToolbarPositionsEx(f.Form, store.ReadInt(), store.ReadString());
    EXPECT_EQ(f.Top, f.Bar1->GetDockedTo());
    EXPECT_TRUE(f.Bar2->GetVisible());
    EXPECT_EQ(f.Top, f.Bar2->GetDockedTo());
    EXPECT_FALSE(f.Bar3->GetVisible());
    EXPECT_EQ(nullptr, f.Bar3->GetParent());
}

TEST_F(TbPositionsTest, FloatingOffScreenComesBackAndManyBarsArrangeOnce)
{
    TDockForm f;
    TToolbar* extra1 = f.MakeBar("Extra1", "E1", 1, false);
    TToolbar* extra2 = f.MakeBar("Extra2", "E2", 1, false);
    f.Show();
    TMemoryStore store;
    int n = 0;
    for (const char* name : {"Bar1", "Bar2", "Bar3", "Extra1", "Extra2"}) {
        std::string s = name;
        store.Values[s + "/Rev"] = "2";
        store.Values[s + "/DockedTo"] = "topdock";  // names compare without case
        store.Values[s + "/DockPos"] = std::to_string(n++ * 100);
    }
    store.Values["Extra2/DockedTo"] = "+";
    store.Values["Extra2/FloatLeft"] = "3000";
    store.Values["Extra2/FloatTop"] = "3000";
    int before = f.Top->GetArrangeCount();
    LoadToolbarPositionsEx(f.Form, store.ReadInt(), store.ReadString());
    EXPECT_EQ(before + 1, f.Top->GetArrangeCount());
    EXPECT_EQ(4, f.Top->GetToolbarCount());
    EXPECT_EQ(f.Top, extra1->GetDockedTo());
    RECT r = ScreenRect(extra2->GetFloatParent());
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.right, r.right);
    EXPECT_EQ(work.bottom, r.bottom);
}

TEST_F(TbPositionsTest, NamesAreRequiredAndDocksAreReleasedOnError)
{
    TDockForm f;
    f.Bar1->SetDockedTo(f.Top);
    f.Show();
    TMemoryStore store;
    f.Bar2->SetName("");
    try {
        SaveToolbarPositionsEx(f.Form, store.WriteInt(), store.WriteString());
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ("Cannot save tool window's position because Name property is not set", e.what());
    }
    store.Values["Bar1/Rev"] = "2";
    EXPECT_THROW(LoadToolbarPositionsEx(f.Form, store.ReadInt(), store.ReadString()), EInvalidOperation);
    int before = f.Top->GetArrangeCount();
    f.Top->ArrangeToolbars();
    EXPECT_EQ(before + 1, f.Top->GetArrangeCount()) << "the dock's update count is back to 0";
    f.Bar2->SetName("Bar2");
    f.Top->SetName("");
    try {
        SaveToolbarPositionsEx(f.Form, store.WriteInt(), store.WriteString());
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ("Cannot save tool window's position because DockedTo's Name property not set", e.what());
    }
}

TEST_F(TbPositionsTest, ABarRestoredIntoADockKeepsItsFloatingSpot)
{
    TMemoryStore store;
    {
        TDockForm f;
        f.Bar1->SetFloatingPosition(POINT{320, 210});
        f.Bar1->SetDockedTo(nullptr);
        f.Bar1->SetDockedTo(f.Left);
        f.Show();
        SaveToolbarPositionsEx(f.Form, store.WriteInt(), store.WriteString());
    }
    std::map<std::string, std::string> saved = store.Values;
    TDockForm g;
    g.Show();
    LoadToolbarPositionsEx(g.Form, store.ReadInt(), store.ReadString());
    EXPECT_EQ(g.Left, g.Bar1->GetDockedTo());
    SaveToolbarPositionsEx(g.Form, store.WriteInt(), store.WriteString());
    EXPECT_EQ(saved, store.Values) << "a save after the restore changes nothing";
    g.Bar1->SetDockedTo(nullptr);
    gui::PumpUntilIdle();
    EXPECT_EQ(320, ScreenRect(g.Bar1).left);
    EXPECT_EQ(210, ScreenRect(g.Bar1).top);
}
