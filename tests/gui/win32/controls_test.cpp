// The control core: layout, painting, mouse and key input, focus, leaks,
// exceptions in handlers and misuse.
#include <stdexcept>
#include <string>
#include <vector>

#include "gui_fixture.h"

namespace {

const TColor kRed = 0x0000FF;
const TColor kGreen = 0x00FF00;
const TColor kBlue = 0xFF0000;

// A form with a top bar, a left strip, a client box and a windowless dot.
struct LayoutForm {
    explicit LayoutForm(TComponent* owner)
    {
        form = new TForm(owner);
        form->SetBorderStyle(bsNone);
        form->SetBounds(10, 10, 200, 150);
        top = new TBox(form, form, 0, 0, 10, 30, kRed);
        top->SetAlign(alTop);
        left = new TBox(form, form, 0, 0, 40, 10, kGreen);
        left->SetAlign(alLeft);
        client = new TBox(form, form, 0, 0, 10, 10, kBlue);
        client->SetAlign(alClient);
        dot = new TDot(form, client, 5, 6, 10, 8, 0x00FFFF);
    }
    TForm* form;
    TBox* top;
    TBox* left;
    TBox* client;
    TDot* dot;
};

RECT Bounds(TControl* c)
{
    return c->GetBoundsRect();
}

bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

using ControlsTest = GuiTest;

TEST_F(ControlsTest, AlignLaysOutAndFollowsResize)
{
    LayoutForm f(app.get());
    EXPECT_TRUE(Bounds(f.top) == (RECT{0, 0, 200, 30}));
    EXPECT_TRUE(Bounds(f.left) == (RECT{0, 30, 40, 150}));
    EXPECT_TRUE(Bounds(f.client) == (RECT{40, 30, 200, 150}));

    f.form->ShowNoActivate();
    gui::PumpUntilIdle();
    f.form->SetBounds(10, 10, 300, 100);
    EXPECT_TRUE(Bounds(f.top) == (RECT{0, 0, 300, 30}));
    EXPECT_TRUE(Bounds(f.client) == (RECT{40, 30, 300, 100}));
    RECT r;
    GetWindowRect(f.client->GetHandle(), &r);
    EXPECT_EQ(260, r.right - r.left);

    f.top->SetHeight(50);  // an aligned control asks its parent to realign
    EXPECT_TRUE(Bounds(f.client) == (RECT{40, 50, 300, 100}));
    f.left->Hide();
    EXPECT_TRUE(Bounds(f.client) == (RECT{0, 50, 300, 100}));
}

TEST_F(ControlsTest, OnResizeFiresWhenTheSizeChanges)
{
    LayoutForm f(app.get());
    int resized = 0;
    f.client->OnResize = [&](TObject*) { ++resized; };
    f.form->ShowNoActivate();
    gui::PumpUntilIdle();
    resized = 0;
    f.form->SetWidth(250);
    EXPECT_EQ(1, resized);
    f.form->SetLeft(20);  // moved only
    EXPECT_EQ(1, resized);
}

TEST_F(ControlsTest, WindowsAndGraphicControlsPaintWhereTheyStand)
{
    LayoutForm f(app.get());
    f.form->ShowNoActivate();
    f.form->Update();
    gui::PumpUntilIdle();
    gui::TPixels px = gui::ReadPixels(f.form->GetHandle());
    ASSERT_EQ(200, px.Width);
    EXPECT_EQ(0xFF0000u, px.At(100, 10));  // red top bar, 0x00RRGGBB
    EXPECT_EQ(0x00FF00u, px.At(10, 100));  // green left strip
    EXPECT_EQ(0x0000FFu, px.At(150, 100)); // blue client
    gui::TPixels client = gui::ReadPixels(f.client->GetHandle());
    EXPECT_EQ(0xFFFF00u, client.At(5, 6));   // the dot's first pixel
    EXPECT_EQ(0xFFFF00u, client.At(14, 13)); // and its last
    EXPECT_EQ(0x0000FFu, client.At(15, 13));
    EXPECT_EQ(0x0000FFu, client.At(4, 6));
}

TEST_F(ControlsTest, MouseReachesWindowsAndGraphicControls)
{
    LayoutForm f(app.get());
    f.form->ShowNoActivate();
    std::vector<std::string> log;
    f.client->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        log.push_back("client down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y) +
                      ((s & ssLeft) ? " left" : ""));
    };
    f.client->OnClick = [&](TObject*) { log.push_back("client click"); };
    f.dot->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        log.push_back("dot down " + std::to_string(x) + "," + std::to_string(y));
    };
    f.dot->OnClick = [&](TObject*) { log.push_back("dot click"); };
    f.dot->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        log.push_back("dot up " + std::to_string(x) + "," + std::to_string(y));
    };

    gui::Click(f.client, 50, 40);
    gui::Click(f.dot, 2, 3);  // sent to the client window at (7, 9)
    gui::Click(f.client, 60, 40, mbRight);
    EXPECT_EQ((std::vector<std::string>{"client down 0 50,40 left", "client click", "dot down 2,3", "dot click",
                                        "dot up 2,3", "client down 1 60,40"}),
              log);
}

TEST_F(ControlsTest, ClickNeedsTheButtonToComeUpInside)
{
    LayoutForm f(app.get());
    f.form->ShowNoActivate();
    int clicks = 0;
    f.client->OnClick = [&](TObject*) { ++clicks; };
    gui::MouseDown(f.client, 10, 10);
    gui::MouseUp(f.client, 500, 10);  // released outside: no click
    EXPECT_EQ(0, clicks);
    int dbl = 0;
    f.client->OnDblClick = [&](TObject*) { ++dbl; };
    gui::DoubleClick(f.client, 50, 40);
    EXPECT_EQ(1, dbl);
}

TEST_F(ControlsTest, EnterAndLeaveOfGraphicControlsComeFromTheParent)
{
    LayoutForm f(app.get());
    f.form->ShowNoActivate();
    std::vector<std::string> log;
    f.client->OnMouseEnter = [&](TObject*) { log.push_back("client enter"); };
    f.dot->OnMouseEnter = [&](TObject*) { log.push_back("dot enter"); };
    f.dot->OnMouseLeave = [&](TObject*) { log.push_back("dot leave"); };
    gui::MouseMove(f.client, 50, 50);
    gui::MouseMove(f.dot, 1, 1);
    gui::MouseMove(f.dot, 2, 2);  // still inside: nothing new
    gui::MouseMove(f.client, 60, 60);
    EXPECT_EQ((std::vector<std::string>{"client enter", "dot enter", "dot leave"}), log);
    EXPECT_TRUE(f.client->MouseInControl());
    EXPECT_FALSE(f.dot->MouseInControl());
}

TEST_F(ControlsTest, LeaveComesWhenTheRealMouseGoes)
{
    LayoutForm f(app.get());
    f.form->ShowNoActivate();
    gui::PumpUntilIdle();
    int enter = 0;
    int leave = 0;
    f.client->OnMouseEnter = [&](TObject*) { ++enter; };
    f.client->OnMouseLeave = [&](TObject*) { ++leave; };
    // The X server reports real moves back a little later, and later still on
    // a loaded machine: wait up to 3 s, moving the pointer by one pixel again
    // every 0.5 s in case a move was reported before the window was there.
    auto moveUntil = [](const int& count, POINT to) {
        for (int i = 0; i < 150 && count == 0; ++i) {
            if (i % 25 == 0) gui::InputMouseMoveTo(to.x + (i / 25) % 2, to.y);
            Sleep(20);
            gui::PumpUntilIdle();
        }
    };
    gui::InputMouseMoveTo(700, 700);  // start outside, wherever the pointer was
    Sleep(50);
    gui::PumpUntilIdle();
    POINT inside = f.client->ClientToScreen(POINT{60, 50});
    gui::InputMouseMoveTo(inside.x, inside.y);
    moveUntil(enter, POINT{inside.x + 1, inside.y + 1});
    // !!! In a fresh prefix, after many other test processes on the display,
    // Wine has been seen to deliver no real pointer move to the window at all
    // (the same test passes alone): nothing can be said about leave then.
    if (enter == 0) GTEST_SKIP() << "the display delivered no real pointer move to the window";
    EXPECT_EQ(1, enter);
    moveUntil(leave, POINT{700, 700});
    EXPECT_EQ(1, leave);
}

TEST_F(ControlsTest, KeysReachTheControlAndKeyPreviewSeesThemFirst)
{
    LayoutForm f(app.get());
    f.form->ShowNoActivate();
    std::vector<std::string> log;
    f.client->OnKeyDown = [&](TObject*, unsigned short& key, TShiftState s) {
        log.push_back("client down " + std::to_string(key) + ((s & ssAlt) ? " alt" : ""));
    };
    f.client->OnKeyPress = [&](TObject*, char& key) { log.push_back(std::string("client press ") + key); };
    f.client->OnKeyUp = [&](TObject*, unsigned short& key, TShiftState) { log.push_back("client up " + std::to_string(key)); };
    gui::KeyDown(f.client, 'A');
    gui::KeyPress(f.client, 'a');
    gui::KeyDown(f.client, 'X', true);  // Alt+X arrives as WM_SYSKEYDOWN
    EXPECT_EQ((std::vector<std::string>{"client down 65", "client up 65", "client press a", "client down 88 alt",
                                        "client up 88"}),
              log);

    log.clear();
    f.form->SetKeyPreview(true);
    f.form->OnKeyDown = [&](TObject*, unsigned short& key, TShiftState) {
        log.push_back("form down " + std::to_string(key));
        if (key == 'Q') key = 0;  // swallowed
        if (key == 'B') key = 'C';  // changed
    };
    f.form->OnKeyPress = [&](TObject*, char& key) {
        if (key == 'q') key = 0;
    };
    gui::KeyDown(f.client, 'Q');
    gui::KeyDown(f.client, 'B');
    gui::KeyPress(f.client, 'q');
    EXPECT_EQ((std::vector<std::string>{"form down 81", "client up 81", "form down 66", "client down 67",
                                        "client up 66"}),
              log);
}

TEST_F(ControlsTest, ModifierStateComesWithRealInput)
{
    LayoutForm f(app.get());
    f.client->SetTabStop(true);
    f.form->Show();
    gui::PumpUntilIdle();
    f.client->SetFocus();
    ASSERT_TRUE(f.client->Focused());
    TShiftState seen = 0;
    f.client->OnKeyDown = [&](TObject*, unsigned short& key, TShiftState s) {
        if (key == 'K') seen = s;
    };
    gui::InputKeyStroke('K', VK_CONTROL);
    EXPECT_EQ(unsigned(ssCtrl), seen);
}

TEST_F(ControlsTest, TabMovesTheFocusInTabOrderAndEnterExitFire)
{
    LayoutForm f(app.get());
    f.top->SetTabStop(true);
    f.client->SetTabStop(true);
    f.left->SetTabStop(true);
    f.left->SetTabOrder(0);  // left, top, client
    std::vector<std::string> log;
    f.left->OnExit = [&](TObject*) { log.push_back("left exit"); };
    f.top->OnEnter = [&](TObject*) { log.push_back("top enter"); };
    f.form->Show();
    gui::PumpUntilIdle();
    f.left->SetFocus();
    EXPECT_EQ(f.left, f.form->GetActiveControl());
    gui::PostKey(f.left, VK_TAB);
    EXPECT_TRUE(f.top->Focused());
    EXPECT_EQ(f.top, f.form->GetActiveControl());
    EXPECT_EQ((std::vector<std::string>{"left exit", "top enter"}), log);
    gui::PostKey(f.top, VK_TAB);
    EXPECT_TRUE(f.client->Focused());
    gui::PostKey(f.client, VK_TAB);  // wraps round
    EXPECT_TRUE(f.left->Focused());
    EXPECT_EQ(0, f.left->GetTabOrder());
    EXPECT_EQ(2, f.client->GetTabOrder());
}

// Another window taking the activation (another program's, on a busy
// desktop) moves no focus inside the form: no exit, and no enter on return.
TEST_F(ControlsTest, EnterAndExitFollowTheFormsFocusNotTheActivation)
{
    LayoutForm f(app.get());
    f.top->SetTabStop(true);
    f.left->SetTabStop(true);
    f.left->SetTabOrder(0);
    std::vector<std::string> log;
    f.left->OnEnter = [&](TObject*) { log.push_back("left enter"); };
    f.left->OnExit = [&](TObject*) { log.push_back("left exit"); };
    f.top->OnEnter = [&](TObject*) { log.push_back("top enter"); };
    f.top->OnExit = [&](TObject*) { log.push_back("top exit"); };
    f.form->Show();
    gui::PumpUntilIdle();
    f.left->SetFocus();
    gui::PumpUntilIdle();
    EXPECT_EQ((std::vector<std::string>{"left enter"}), log);

    log.clear();
    auto* other = new TForm(app.get());
    other->SetBounds(300, 10, 100, 80);
    other->Show();
    SetActiveWindow(other->GetHandle());
    gui::PumpUntilIdle();
    SetActiveWindow(f.form->GetHandle());
    gui::PumpUntilIdle();
    EXPECT_EQ(f.left, f.form->GetActiveControl());
    EXPECT_TRUE(log.empty()) << log.front();

    gui::PostKey(f.left, VK_TAB);
    EXPECT_EQ((std::vector<std::string>{"left exit", "top enter"}), log);
    delete other;
}

// Containers hear enter and exit when the focus comes in from, or goes out
// to, a control outside them; moves inside them fire only for the children.
TEST_F(ControlsTest, EnterAndExitReachTheContainersBetween)
{
    LayoutForm f(app.get());
    auto* inner = new TBox(f.form, f.client, 5, 5, 20, 20, kRed);
    auto* inner2 = new TBox(f.form, f.client, 30, 5, 20, 20, kRed);
    std::vector<std::string> log;
    auto logTo = [&](const char* what) { return [&log, what](TObject*) { log.push_back(what); }; };
    f.client->OnEnter = logTo("client enter");
    f.client->OnExit = logTo("client exit");
    inner->OnEnter = logTo("inner enter");
    inner->OnExit = logTo("inner exit");
    inner2->OnEnter = logTo("inner2 enter");
    f.top->OnExit = logTo("top exit");
    f.form->Show();
    gui::PumpUntilIdle();
    f.top->SetFocus();
    log.clear();
    inner->SetFocus();
    inner2->SetFocus();
    f.top->SetFocus();
    EXPECT_EQ((std::vector<std::string>{"top exit", "client enter", "inner enter", "inner exit", "inner2 enter",
                                        "client exit"}),
              log);
}

TEST_F(ControlsTest, AFormBuiltShownAndFreedLeavesNothingBehind)
{
    // The first round makes what is made once per process (window classes,
    // stock objects, cursors); the second must leave the counts as they were.
    for (int round = 0; round < 2; ++round) {
        gui::TGuiCounts before = gui::CountGuiObjects();
        ASSERT_GT(before.Gdi, 0u) << "GDI objects cannot be counted here";
        {
            LayoutForm f(app.get());
            f.form->SetColor(0x336699);  // a brush of its own
            f.form->Show();
            f.form->Update();
            gui::PumpUntilIdle();
            gui::Click(f.dot, 1, 1);
            gui::KeyDown(f.client, 'A');
            // The form and three boxes (Wine may add an input-method window).
            EXPECT_GE(gui::CountGuiObjects().User - before.User, 4u);
            delete f.form;
        }
        gui::PumpUntilIdle();
        gui::TGuiCounts after = gui::CountGuiObjects();
        if (round == 1) {
            EXPECT_EQ(before.Gdi, after.Gdi);
            EXPECT_EQ(before.User, after.User);
            EXPECT_EQ(before.TopLevel, after.TopLevel);
        }
    }
}

TEST_F(ControlsTest, AnExceptionInAClickHandlerIsShownAndTheProgramGoesOn)
{
    LayoutForm f(app.get());
    f.form->ShowNoActivate();
    int clicks = 0;
    f.client->OnClick = [&](TObject*) {
        ++clicks;
        if (clicks == 1) throw EInvalidOperation("Nothing to undo");
    };
    gui::Click(f.client, 50, 40);
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_EQ("Nothing to undo.", recorder->Boxes[0].Text);
    EXPECT_EQ("Kestrel test", recorder->Boxes[0].Caption);
    EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), recorder->Boxes[0].Flags);
    gui::Click(f.client, 50, 40);
    EXPECT_EQ(2, clicks);
    EXPECT_EQ(1u, recorder->Boxes.size());
}

TEST_F(ControlsTest, AnExceptionWhilePaintingIsShownOnce)
{
    struct Failing : TCustomControl {
        explicit Failing(TWinControl* parent) : TCustomControl(parent)
        {
            SetParent(parent);
            SetBounds(0, 0, 20, 20);
        }
        int paints = 0;
        void Paint() override
        {
            ++paints;
            throw Exception("Cannot draw");
        }
    };
    auto* form = new TForm(app.get());
    auto* failing = new Failing(form);
    form->ShowNoActivate();
    gui::PumpUntilIdle();
    gui::PumpUntilIdle();
    EXPECT_EQ(1, failing->paints);  // EndPaint ran: no repaint storm
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_EQ("Cannot draw.", recorder->Boxes[0].Text);
}

TEST_F(ControlsTest, AbortIsSilentAndOnExceptionReplacesTheBox)
{
    LayoutForm f(app.get());
    f.form->ShowNoActivate();
    f.client->OnClick = [&](TObject*) { throw EAbort(); };
    gui::Click(f.client, 50, 40);
    EXPECT_TRUE(recorder->Boxes.empty());
    AnsiString seen;
    app->OnException = [&](TObject*, Exception* e) { seen = e->Message; };
    f.client->OnClick = [&](TObject*) { throw std::runtime_error("low level"); };
    gui::Click(f.client, 50, 40);
    EXPECT_EQ("low level", seen);
    EXPECT_TRUE(recorder->Boxes.empty());
}

TEST_F(ControlsTest, SystemClassesAreSuperclassedAndNotificationsReflected)
{
    // A button made from the system class: its procedure draws and keeps its
    // text, its BN_CLICKED (sent to the parent) comes back as CN_COMMAND.
    struct Button : TWinControl {
        explicit Button(TWinControl* parent) : TWinControl(parent)
        {
            SetParent(parent);
            SetBounds(10, 10, 80, 24);
        }
        void CreateParams(TCreateParams& p) override
        {
            TWinControl::CreateParams(p);
            CreateSubClass(p, "BUTTON");
            p.Style |= BS_PUSHBUTTON;
        }
        void WndProc(TMessage& m) override
        {
            if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) Click();
            TWinControl::WndProc(m);
        }
    };
    auto* form = new TForm(app.get());
    auto* button = new Button(form);
    button->SetCaption("Apply");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form->ShowNoActivate();
    char cls[64] = {};
    GetClassNameA(button->GetHandle(), cls, sizeof(cls));
    EXPECT_STREQ("Kestrel.BUTTON", cls);
    EXPECT_EQ("Apply", button->GetCaption());
    SendMessageA(button->GetHandle(), BM_CLICK, 0, 0);
    gui::PumpUntilIdle();
    EXPECT_EQ(1, clicks);
    button->RecreateWnd();  // the text survives a new window
    EXPECT_EQ("Apply", button->GetCaption());
}

TEST_F(ControlsTest, MisuseRaisesWithAnEnglishMessage)
{
    TBox orphan(nullptr, nullptr, 0, 0, 10, 10, kRed);
    orphan.SetName("Orphan");
    try {
        orphan.GetHandle();
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ("Control 'Orphan' has no parent window", e.what());
    }
    EXPECT_FALSE(orphan.HandleAllocated());

    LayoutForm f(app.get());
    try {
        f.form->GetControl(7);
        FAIL() << "no exception";
    } catch (const EListError& e) {
        EXPECT_STREQ("List index out of bounds (7)", e.what());
    }
    EXPECT_THROW(f.form->GetComponent(-1), EListError);
    EXPECT_THROW(f.client->SetParent(f.client), EInvalidOperation);
    EXPECT_THROW(f.form->SetParent(f.client), EInvalidOperation);  // its own child
    EXPECT_THROW(f.client->SetFocus(), EInvalidOperation);          // the form is hidden
    f.client->SetEnabled(false);
    EXPECT_THROW(f.form->SetActiveControl(f.client), EInvalidOperation);
}

TEST_F(ControlsTest, DeletingAControlTakesItOutOfItsParentAndOwner)
{
    LayoutForm f(app.get());
    f.form->ShowNoActivate();
    HWND window = f.left->GetHandle();
    int count = f.form->GetComponentCount();
    delete f.left;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(count - 1, f.form->GetComponentCount());
    EXPECT_EQ(2, f.form->GetControlCount());
    EXPECT_TRUE(Bounds(f.client) == (RECT{0, 30, 200, 150}));
    EXPECT_EQ(f.client, FindControl(f.client->GetHandle()));
    EXPECT_EQ(nullptr, FindControl(window));
}

TEST_F(ControlsTest, ReparentingKeepsTheWindow)
{
    LayoutForm f(app.get());
    f.form->ShowNoActivate();
    HWND dotParent = f.client->GetHandle();
    auto* inner = new TBox(f.form, f.client, 1, 1, 10, 10, kGreen);
    HWND window = inner->GetHandle();
    EXPECT_EQ(dotParent, GetParent(window));
    inner->SetParent(f.top);
    EXPECT_EQ(window, inner->GetHandle());
    EXPECT_EQ(f.top->GetHandle(), GetParent(window));
    inner->SetParent(nullptr);
    EXPECT_FALSE(inner->HandleAllocated());
    EXPECT_FALSE(IsWindow(window));
}
