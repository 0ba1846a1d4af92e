// Forms, the application and the screen: modal runs, closing rules,
// deferred release, creation events, styles, help and cursors.
#include <string>
#include <vector>

#include "dialogs.h"
#include "gui_fixture.h"
#include "handleexception.h"
#include "thread.h"

namespace {

// A dialog with one box that acts as its OK button.
struct OkDialog {
    explicit OkDialog(TComponent* owner)
    {
        form = new TForm(owner);
        form->SetBorderStyle(bsDialog);
        form->SetBounds(50, 50, 160, 100);
        ok = new TBox(form, form, 10, 10, 40, 20, 0x00FF00);
        ok->OnClick = [this](TObject*) { form->SetModalResult(mrOk); };
    }
    // Queues a click on the box, to be handled by the modal loop.
    void PostClick()
    {
        HWND h = ok->GetHandle();
        PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    TForm* form;
    TBox* ok;
};

}  // namespace

using FormsTest = GuiTest;

TEST_F(FormsTest, ShowModalEndsWithTheModalResultSetByAClick)
{
    auto* other = new TForm(app.get());
    other->ShowNoActivate();
    OkDialog dialog(app.get());
    bool otherEnabledDuringModal = true;
    dialog.ok->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        otherEnabledDuringModal = IsWindowEnabled(other->GetHandle()) != FALSE;
        EXPECT_TRUE(dialog.form->IsModal());
    };
    dialog.PostClick();
    EXPECT_EQ(mrOk, dialog.form->ShowModal());
    EXPECT_FALSE(otherEnabledDuringModal);
    EXPECT_TRUE(IsWindowEnabled(other->GetHandle()));
    EXPECT_FALSE(dialog.form->GetVisible());
    EXPECT_FALSE(IsWindowVisible(dialog.form->GetHandle()));
    EXPECT_FALSE(dialog.form->IsModal());
}

TEST_F(FormsTest, ModalCloseQueryCanRefuseTheFirstTime)
{
    OkDialog dialog(app.get());
    int asked = 0;
    dialog.form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked > 1; };
    std::vector<TCloseAction> actions;
    dialog.form->OnClose = [&](TObject*, TCloseAction& action) { actions.push_back(action); };
    dialog.PostClick();
    dialog.PostClick();
    EXPECT_EQ(mrOk, dialog.form->ShowModal());
    EXPECT_EQ(2, asked);
    EXPECT_EQ(std::vector<TCloseAction>{caHide}, actions);
}

TEST_F(FormsTest, CloseOfAModalFormGivesCancel)
{
    OkDialog dialog(app.get());
    dialog.form->GetHandle();
    PostMessageA(dialog.form->GetHandle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(mrCancel, dialog.form->ShowModal());
}

TEST_F(FormsTest, ShowModalOfAShownFormRaises)
{
    OkDialog dialog(app.get());
    dialog.form->ShowNoActivate();
    try {
        dialog.form->ShowModal();
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ("Cannot make a visible window modal", e.what());
    }
}

TEST_F(FormsTest, CloseAsksOnCloseQueryThenHidesByDefault)
{
    auto* form = new TForm(app.get());
    bool allow = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    form->ShowNoActivate();
    form->Close();
    EXPECT_TRUE(form->GetVisible());
    allow = true;
    SendMessageA(form->GetHandle(), WM_CLOSE, 0, 0);  // the close box
    EXPECT_FALSE(form->GetVisible());
    EXPECT_TRUE(form->HandleAllocated());  // hidden, not destroyed
}

TEST_F(FormsTest, ReleaseDeletesOnlyAfterTheHandlerReturned)
{
    OkDialog dialog(app.get());
    bool destroyed = false;
    int formsBefore = Screen->GetFormCount();
    dialog.form->OnDestroy = [&](TObject*) { destroyed = true; };
    dialog.form->AfterConstruction();
    dialog.ok->OnClick = [&](TObject*) {
        dialog.form->Release();
        EXPECT_FALSE(destroyed);
        dialog.ok->SetTag(7);  // still safe to use here
    };
    dialog.form->ShowNoActivate();
    HWND window = dialog.form->GetHandle();
    gui::Click(dialog.ok, 5, 5);
    EXPECT_FALSE(destroyed);
    gui::PumpUntilIdle();
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(formsBefore - 1, Screen->GetFormCount());
}

TEST_F(FormsTest, CloseWithCaFreeReleases)
{
    auto* form = new TForm(app.get());
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    form->AfterConstruction();
    form->ShowNoActivate();
    int owned = app->GetComponentCount();
    form->Close();
    EXPECT_FALSE(destroyed);
    gui::PumpUntilIdle();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(owned - 1, app->GetComponentCount());
}

TEST_F(FormsTest, CreateFormRunsOnCreateAndClosingTheMainFormEndsTheProgram)
{
    struct MainForm : TForm {
        explicit MainForm(TComponent* owner) : TForm(owner)
        {
            OnCreate = [this](TObject*) { created = true; };
        }
        bool created = false;
    };
    MainForm* main = nullptr;
    app->CreateForm(main);
    EXPECT_TRUE(main->created);
    EXPECT_EQ(main, app->GetMainForm());
    OkDialog second(app.get());
    EXPECT_EQ(main, app->GetMainForm());
    main->ShowNoActivate();
    main->Close();
    gui::PumpUntilIdle();
    EXPECT_TRUE(app->GetTerminated());
    delete main;
    EXPECT_EQ(nullptr, app->GetMainForm());
}

TEST_F(FormsTest, ActivationEventsAndActiveControl)
{
    std::vector<std::string> log;
    auto* a = new TForm(app.get());
    auto* box = new TBox(a, a, 0, 0, 20, 20, 0);
    box->SetTabStop(true);
    a->OnActivate = [&](TObject*) { log.push_back("a on"); };
    a->OnDeactivate = [&](TObject*) { log.push_back("a off"); };
    a->OnShow = [&](TObject*) { log.push_back("a show"); };
    a->OnHide = [&](TObject*) { log.push_back("a hide"); };
    auto* b = new TForm(app.get());
    a->Show();
    gui::PumpUntilIdle();
    EXPECT_TRUE(a->GetActive());
    EXPECT_EQ(a, Screen->GetActiveForm());
    EXPECT_TRUE(box->Focused());  // the first tab stop takes the focus
    EXPECT_EQ(box, Screen->GetActiveControl());
    b->Show();
    gui::PumpUntilIdle();
    EXPECT_FALSE(a->GetActive());
    a->Hide();
    EXPECT_EQ((std::vector<std::string>{"a show", "a on", "a off", "a hide"}), log);
}

TEST_F(FormsTest, BorderStylesAndFormStyleSetTheWindowStyles)
{
    auto* form = new TForm(app.get());
    form->SetBorderStyle(bsDialog);
    HWND h = form->GetHandle();
    EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(GetWindowLongA(h, GWL_STYLE) & WS_THICKFRAME);
    form->SetBorderStyle(bsSizeToolWin);  // a new window
    h = form->GetHandle();
    EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & WS_THICKFRAME);
    form->SetFormStyle(fsStayOnTop);
    EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    form->SetBorderIcons(biSystemMenu);
    EXPECT_FALSE(GetWindowLongA(form->GetHandle(), GWL_STYLE) & WS_MAXIMIZEBOX);
    form->SetCaption("Tools");
    char text[32] = {};
    GetWindowTextA(form->GetHandle(), text, sizeof(text));
    EXPECT_STREQ("Tools", text);
}

TEST_F(FormsTest, ClientSizeIsKnownBeforeTheWindowExists)
{
    auto* form = new TForm(app.get());
    form->SetBorderStyle(bsSingle);
    form->SetClientWidth(200);
    form->SetClientHeight(120);
    int w = form->GetWidth();
    int h = form->GetHeight();
    form->ShowNoActivate();
    RECT r;
    GetClientRect(form->GetHandle(), &r);
    EXPECT_EQ(200, r.right);
    EXPECT_EQ(120, r.bottom);
    EXPECT_EQ(w, form->GetWidth());
    EXPECT_EQ(h, form->GetHeight());
}

TEST_F(FormsTest, ScreenCenterPlacesTheFormInTheWorkArea)
{
    auto* form = new TForm(app.get());
    form->SetPosition(poScreenCenter);
    form->SetBounds(0, 0, 200, 100);
    form->ShowNoActivate();
    RECT area = Screen->GetWorkAreaRect();
    EXPECT_EQ(area.left + (area.right - area.left - 200) / 2, form->GetLeft());
    EXPECT_EQ(area.top + (area.bottom - area.top - 100) / 2, form->GetTop());
}

TEST_F(FormsTest, WindowStateFollowsTheWindow)
{
    auto* form = new TForm(app.get());
    form->SetWindowState(wsMaximized);
    EXPECT_EQ(wsMaximized, form->GetWindowState());
    form->ShowNoActivate();
    EXPECT_TRUE(IsZoomed(form->GetHandle()));
    form->SetWindowState(wsNormal);
    EXPECT_EQ(wsNormal, form->GetWindowState());
}

TEST_F(FormsTest, HelpGoesThroughTheApplication)
{
    app->SetHelpFile("kestrel.hlp");
    EXPECT_TRUE(app->HelpContext(1234));
    EXPECT_TRUE(app->HelpCommand(HELP_FINDER, 0));
    ASSERT_EQ(2u, recorder->Helps.size());
    EXPECT_EQ("kestrel.hlp", recorder->Helps[0].File);
    EXPECT_EQ(unsigned(HELP_CONTEXT), recorder->Helps[0].Command);
    EXPECT_EQ(1234u, recorder->Helps[0].Data);

    // F1 on a control: the nearest help context up the parents.
    auto* form = new TForm(app.get());
    form->SetHelpContext(77);
    auto* box = new TBox(form, form, 0, 0, 20, 20, 0);
    form->ShowNoActivate();
    HELPINFO info = {sizeof(info), HELPINFO_WINDOW, 0, box->GetHandle(), 0, {0, 0}};
    SendMessageA(form->GetHandle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_EQ(3u, recorder->Helps.size());
    EXPECT_EQ(77u, recorder->Helps[2].Data);
}

TEST_F(FormsTest, MessageBoxAnswersWithTheButton)
{
    recorder->Reply = IDNO;
    EXPECT_EQ(IDNO, app->MessageBox("Save changes?", "Kestrel", MB_YESNO));
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_EQ(UINT(MB_YESNO), recorder->Boxes[0].Flags);
}

TEST_F(FormsTest, MessageDlgPassesItsHelpContext)
{
    EXPECT_EQ(mrOk, MessageDlg("Too many layers", mtWarning, TMsgDlgButtons(mbOK) | mbHelp, 4321));
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_TRUE(recorder->Boxes[0].Flags & MB_HELP);
    EXPECT_EQ(4321, app->GetLastMessageBoxHelpContext());
    app->MessageBox("Plain", "Kestrel");
    EXPECT_EQ(0, app->GetLastMessageBoxHelpContext());
}

namespace {

// Asks the open message box for help (F1 sends the box WM_HELP), then OK.
void CALLBACK PressHelpThenOk(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = FindWindowA("#32770", "Kestrel help");
    if (!box) return;
    KillTimer(nullptr, id);
    HELPINFO info = {sizeof(info), HELPINFO_WINDOW, 0, box, 0, {0, 0}};
    SendMessageA(box, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST_F(FormsTest, TheHelpButtonOfARealMessageBoxShowsItsContext)
{
    app->MessageBoxHook = nullptr;
    SetTimer(nullptr, 0, 50, PressHelpThenOk);
    EXPECT_EQ(IDOK, app->MessageBox("Needs help", "Kestrel help", MB_OK | MB_HELP, 555));
    ASSERT_EQ(1u, recorder->Helps.size());
    EXPECT_EQ(unsigned(HELP_CONTEXT), recorder->Helps[0].Command);
    EXPECT_EQ(555u, recorder->Helps[0].Data);
}

TEST_F(FormsTest, TheApplicationServesSynchronizeWhenIdle)
{
    EXPECT_TRUE(IsMainThread());
    struct Worker : TThread {
        Worker() : TThread(true) {}
        void Execute() override { Synchronize([this] { RanOnMain = IsMainThread(); }); }
        bool RanOnMain = false;
    } worker;
    worker.Start();
    // The loop, not WaitFor, serves the call.
    for (int i = 0; i < 200 && !worker.RanOnMain; ++i) {
        PostMessageA(nullptr, WM_NULL, 0, 0);
        app->HandleMessage();
        Sleep(5);
    }
    EXPECT_TRUE(worker.RanOnMain);
    worker.WaitFor();
}

TEST_F(FormsTest, HandleCallbackExceptionReachesTheApplication)
{
    try {
        throw EOutOfResources("Out of system resources");
    } catch (...) {
        HandleCallbackException();
    }
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_EQ("Out of system resources.", recorder->Boxes[0].Text);
    HandleCallbackException();  // outside a catch: nothing happens
    EXPECT_EQ(1u, recorder->Boxes.size());
}

TEST_F(FormsTest, ScreenKeepsFormsCursorsAndTheWorkArea)
{
    int before = Screen->GetFormCount();
    auto* form = new TForm(app.get());
    EXPECT_EQ(before + 1, Screen->GetFormCount());
    EXPECT_EQ(form, Screen->GetForms(before));
    EXPECT_THROW(Screen->GetForms(before + 1), EListError);
    delete form;
    EXPECT_EQ(before, Screen->GetFormCount());

    EXPECT_EQ(LoadCursorA(nullptr, IDC_WAIT), Screen->GetCursors(crHourGlass));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), Screen->GetCursors(-45));  // none installed
    BYTE andMask[128];
    BYTE xorMask[128] = {};
    memset(andMask, 0xFF, sizeof(andMask));
    HCURSOR custom = CreateCursor(GetModuleHandleA(nullptr), 0, 0, 32, 32, andMask, xorMask);
    Screen->SetCursors(-45, custom);
    EXPECT_EQ(custom, Screen->GetCursors(-45));
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(crHourGlass, Screen->GetCursor());
    Screen->SetCursor(crDefault);
    EXPECT_EQ(1024, Screen->GetWidth());
    EXPECT_EQ(768, Screen->GetHeight());
    RECT area = Screen->GetWorkAreaRect();
    EXPECT_GT(area.right, area.left);

    Mouse->SetCursorPos(POINT{123, 45});
    POINT p = Mouse->GetCursorPos();
    EXPECT_EQ(123, p.x);
    EXPECT_EQ(45, p.y);
}

TEST_F(FormsTest, ACursorShowsOverItsControl)
{
    auto* form = new TForm(app.get());
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 100, 100);
    auto* box = new TBox(form, form, 0, 0, 50, 50, 0);
    box->SetCursor(crCross);
    form->ShowNoActivate();
    gui::PumpUntilIdle();
    Mouse->SetCursorPos(POINT{110, 110});
    SendMessageA(box->GetHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(box->GetHandle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_CROSS), GetCursor());
    Screen->SetCursor(crHourGlass);  // the program's cursor wins
    SendMessageA(box->GetHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(box->GetHandle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_WAIT), GetCursor());
    Screen->SetCursor(crDefault);
}
