// The standard controls one by one: properties reach the window and come
// back, survive a new window, and misuse raises with an English message.
#include <string>
#include <vector>

#include "buttons.h"
#include "formbuilder.h"
#include "form_fixture.h"
#include "metafile.h"
#include "scrollbox.h"

#include <commctrl.h>

namespace {

AnsiString ListText(HWND list, int i)
{
    char buffer[256] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

AnsiString ComboText(HWND combo, int i)
{
    char buffer[256] = {};
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

template <class E, class F>
std::string MessageOf(F f)
{
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "no exception";
}

using StdCtrlsStateTest = FormTest;

}  // namespace

TEST_F(StdCtrlsStateTest, ListItemsAreKeptWithoutAWindowAndSurviveANewOne)
{
    TListBox* list = NewListBox(form, form, 0, 0, 100, 100, {"b", "c"});
    list->GetItems()->Insert(0, "a");
    list->SetItemIndex(2);
    TObject marker;
    list->GetItems()->SetObjects(1, &marker);
    EXPECT_FALSE(list->HandleAllocated());
    Show();
    HWND first = list->GetHandle();
    EXPECT_EQ(3, SendMessageA(first, LB_GETCOUNT, 0, 0));
    EXPECT_EQ("a", ListText(first, 0));
    EXPECT_EQ("c", ListText(first, 2));
    EXPECT_EQ(2, SendMessageA(first, LB_GETCURSEL, 0, 0));

    list->GetItems()->Delete(0);
    list->RecreateWnd();
    EXPECT_NE(first, list->GetHandle());
    EXPECT_EQ(2, SendMessageA(list->GetHandle(), LB_GETCOUNT, 0, 0));
    EXPECT_EQ("b", ListText(list->GetHandle(), 0));
    EXPECT_EQ(1, list->GetItemIndex());
    EXPECT_EQ(&marker, list->GetItems()->GetObjects(0));

    list->SetSorted(true);
    list->GetItems()->Add("a");
    EXPECT_EQ("a", ListText(list->GetHandle(), 0));
    EXPECT_EQ("a,b,c", std::string(list->GetItems()->GetCommaText().c_str()));
}

TEST_F(StdCtrlsStateTest, MultiSelectionSurvivesANewWindow)
{
    TListBox* list = NewListBox(form, form, 0, 0, 100, 100, {"a", "b", "c"});
    list->SetMultiSelect(true);
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    Show();
    EXPECT_EQ(2, list->GetSelCount());
    list->SetSelected(0, false);
    list->RecreateWnd();
    EXPECT_FALSE(list->GetSelected(0));
    EXPECT_TRUE(list->GetSelected(2));
    EXPECT_EQ(1, list->ItemAtPos(POINT{5, list->GetItemHeight() + 2}, true));
    EXPECT_EQ(-1, list->ItemAtPos(POINT{5, 95}, true));
    EXPECT_EQ(3, list->ItemAtPos(POINT{5, 95}, false));
}

TEST_F(StdCtrlsStateTest, ComboBoxKeepsItemsSelectionAndTypedText)
{
    TComboBox* combo = NewComboBox(form, form, 0, 0, 100, {"x", "y"}, csDropDown);
    combo->SetItemIndex(1);
    EXPECT_EQ("y", combo->GetText());
    Show();
    EXPECT_EQ(2, SendMessageA(combo->GetHandle(), CB_GETCOUNT, 0, 0));
    EXPECT_EQ("y", ComboText(combo->GetHandle(), 1));
    EXPECT_EQ("y", combo->GetText());
    EXPECT_LT(combo->GetHeight(), 40);  // the closed box, not the list

    combo->SetItemIndex(-1);
    combo->SetText("typed");
    combo->RecreateWnd();
    EXPECT_EQ("typed", combo->GetText());
    EXPECT_EQ(-1, combo->GetItemIndex());
    combo->SetStyle(csDropDownList);  // a new window of another style
    EXPECT_EQ(2, combo->GetItems()->GetCount());
    combo->SetItemIndex(0);
    EXPECT_EQ("x", combo->GetText());
}

TEST_F(StdCtrlsStateTest, EditPropertiesReachTheWindowAndSurviveANewOne)
{
    TEdit* edit = NewEdit(form, form, "secret", 0, 0, 100);
    edit->SetMaxLength(10);
    edit->SetPasswordChar('*');
    edit->SetReadOnly(true);
    Show();
    HWND h = edit->GetHandle();
    EXPECT_EQ(10, SendMessageA(h, EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ('*', SendMessageA(h, EM_GETPASSWORDCHAR, 0, 0));
    EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & ES_READONLY);
    edit->SetReadOnly(false);
    EXPECT_FALSE(GetWindowLongA(h, GWL_STYLE) & ES_READONLY);

    edit->SetSelStart(1);
    edit->SetSelLength(3);
    EXPECT_EQ("ecr", edit->GetSelText());
    edit->SetSelText("-");
    EXPECT_EQ("s-et", edit->GetText());
    edit->SetModified(true);
    edit->SetCharCase(ecUpperCase);  // a new window
    EXPECT_NE(h, edit->GetHandle());
    EXPECT_EQ("S-ET", edit->GetText());
    EXPECT_TRUE(edit->GetModified());
    EXPECT_EQ(10, SendMessageA(edit->GetHandle(), EM_GETLIMITTEXT, 0, 0));
    gui::KeyPress(edit, 'q');  // the style converts what is typed
    EXPECT_EQ(0, edit->GetText().Pos("q"));

    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("new");
    EXPECT_EQ(1, changes);
    edit->SelectAll();
    EXPECT_EQ(3, edit->GetSelLength());
}

TEST_F(StdCtrlsStateTest, MemoLinesAreTheLinesOfItsText)
{
    TMemo* memo = New<TMemo>(form, form, 0, 0, 150, 80);
    TStrings* lines = memo->GetLines();
    lines->Add("first");
    lines->Add("");
    lines->Add("third");
    EXPECT_EQ(3, lines->GetCount());
    Show();
    EXPECT_EQ("first\r\n\r\nthird\r\n", memo->GetText());
    lines->SetStrings(1, "second");
    lines->Delete(0);
    EXPECT_EQ("second", lines->GetStrings(0));
    memo->SetText("a\nb\r\nc");
    EXPECT_EQ(3, lines->GetCount());
    EXPECT_EQ("c", lines->GetStrings(2));
    memo->RecreateWnd();
    EXPECT_EQ("a\nb\r\nc", memo->GetText());
    EXPECT_THROW(lines->GetStrings(3), EListError);
    EXPECT_THROW(lines->Insert(5, "x"), EListError);
    EXPECT_TRUE(GetWindowLongA(memo->GetHandle(), GWL_STYLE) & ES_MULTILINE);
    // Tab moves on unless WantTabs.
    EXPECT_FALSE(SendMessageA(memo->GetHandle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
    memo->SetWantTabs(true);
    EXPECT_TRUE(SendMessageA(memo->GetHandle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
}

TEST_F(StdCtrlsStateTest, CheckAndRadioStatesAndTheirClicks)
{
    std::vector<std::string> log;
    TCheckBox* check = NewCheckBox(form, form, "c", 0, 0, 80, 17, true, [&](TObject*) { log.push_back("check"); });
    TRadioButton* a = NewRadioButton(form, form, "a", 0, 20, 80, 17, false, [&](TObject*) { log.push_back("a"); });
    TRadioButton* b = NewRadioButton(form, form, "b", 0, 40, 80, 17, true, [&](TObject*) { log.push_back("b"); });
    Show();
    EXPECT_EQ(BST_CHECKED, SendMessageA(check->GetHandle(), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageA(b->GetHandle(), BM_GETCHECK, 0, 0));
    check->SetAllowGrayed(true);
    gui::Click(check, 5, 8);  // checked -> unchecked
    gui::Click(check, 5, 8);  // -> grayed
    EXPECT_EQ(cbGrayed, check->GetState());
    EXPECT_EQ(BST_INDETERMINATE, SendMessageA(check->GetHandle(), BM_GETCHECK, 0, 0));
    a->SetChecked(true);  // in code: b goes off, a's click fires
    EXPECT_FALSE(b->GetChecked());
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(b->GetHandle(), BM_GETCHECK, 0, 0));
    check->SetChecked(false);
    check->RecreateWnd();
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(check->GetHandle(), BM_GETCHECK, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"check", "check", "a", "check"}), log);
}

TEST_F(StdCtrlsStateTest, DefaultAndCancelButtonsAnswerEnterAndEscape)
{
    std::vector<std::string> log;
    TEdit* edit = NewEdit(form, form, "", 0, 0, 100);
    TButton* ok = NewButton(form, form, "OK", 0, 30, 75, 25, [&](TObject*) { log.push_back("ok"); });
    TButton* cancel = NewButton(form, form, "Cancel", 80, 30, 75, 25, [&](TObject*) { log.push_back("cancel"); });
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    form->Show();
    gui::PumpUntilIdle();
    edit->SetFocus();
    gui::PostKey(edit, VK_RETURN);
    EXPECT_EQ(mrOk, form->GetModalResult());
    gui::PostKey(edit, VK_ESCAPE);
    cancel->SetFocus();
    gui::PostKey(cancel, VK_RETURN);  // the focused button, not the default one
    EXPECT_EQ((std::vector<std::string>{"ok", "cancel", "cancel"}), log);
    EXPECT_TRUE(GetWindowLongA(ok->GetHandle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
}

TEST_F(StdCtrlsStateTest, RangesArePushedToTheCommonControls)
{
    TScrollBar* scroll = New<TScrollBar>(form, form, 0, 0, 150, 17);
    scroll->SetParams(30, 10, 200);
    TTrackBar* track = New<TTrackBar>(form, form, 0, 20, 150, 30);
    track->SetRange(0, 50);
    track->SetPosition(20);
    TProgressBar* progress = New<TProgressBar>(form, form, 0, 60, 150, 16);
    progress->SetMax(40);
    progress->StepIt();
    progress->StepIt();
    TUpDown* upDown = New<TUpDown>(form, form, 160, 0, 17, 24);
    upDown->SetMax(5);
    upDown->SetPosition(9);  // clamped
    Show();
    EXPECT_EQ(30, GetScrollPos(scroll->GetHandle(), SB_CTL));
    EXPECT_EQ(20, SendMessageA(track->GetHandle(), TBM_GETPOS, 0, 0));
    EXPECT_EQ(50, SendMessageA(track->GetHandle(), TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(20, SendMessageA(progress->GetHandle(), PBM_GETPOS, 0, 0));
    EXPECT_EQ(5, upDown->GetPosition());
    progress->StepIt();
    progress->StepIt();
    EXPECT_EQ(40, progress->GetPosition());
    progress->StepIt();  // past the end: starts again
    EXPECT_EQ(0, progress->GetPosition());

    int scrolled = 0;
    scroll->OnScroll = [&](TObject*, TScrollCode code, int& pos) {
        if (code == scPageDown) pos = 190;  // the handler may move it elsewhere
        ++scrolled;
    };
    scroll->SetLargeChange(10);
    gui::KeyDown(scroll, VK_NEXT);
    EXPECT_EQ(190, scroll->GetPosition());
    EXPECT_EQ(190, GetScrollPos(scroll->GetHandle(), SB_CTL));
    gui::KeyDown(scroll, VK_END);
    EXPECT_EQ(200, scroll->GetPosition());
    EXPECT_GE(scrolled, 2);
    scroll->SetKind(sbVertical);
    EXPECT_EQ(17, scroll->GetWidth());
    EXPECT_TRUE(GetWindowLongA(scroll->GetHandle(), GWL_STYLE) & SBS_VERT);
    EXPECT_EQ(200, GetScrollPos(scroll->GetHandle(), SB_CTL));
}

TEST_F(StdCtrlsStateTest, StatusPanelsReachTheBar)
{
    auto* status = new TStatusBar(form);
    status->SetParent(form);
    TStatusPanels* panels = status->GetPanels();
    panels->Add()->SetWidth(80);
    panels->Add()->SetText("middle");
    panels->GetItems(1)->SetWidth(60);
    panels->Add()->SetAlignment(taRightJustify);
    Show();
    HWND h = status->GetHandle();
    int edges[4] = {};
    EXPECT_EQ(3, SendMessageA(h, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)));
    EXPECT_EQ(80, edges[0]);
    EXPECT_EQ(140, edges[1]);
    EXPECT_EQ(-1, edges[2]);
    panels->GetItems(2)->SetText("right");
    char text[64] = {};
    SendMessageA(h, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("middle", text);
    SendMessageA(h, SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("\t\tright", text);
    status->RecreateWnd();
    SendMessageA(status->GetHandle(), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("middle", text);
    panels->Delete(0);
    EXPECT_EQ(2, SendMessageA(status->GetHandle(), SB_GETPARTS, 0, 0));
}

TEST_F(StdCtrlsStateTest, PagesFollowTheirControlAndTheUserCanBeRefused)
{
    auto* pages = New<TPageControl>(form, form, 0, 0, 300, 200);
    auto* one = new TTabSheet(form);
    one->SetCaption("One");
    one->SetPageControl(pages);
    auto* two = new TTabSheet(form);
    two->SetCaption("Two");
    two->SetPageControl(pages);
    Show();
    EXPECT_EQ(2, SendMessageA(pages->GetHandle(), TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(one, pages->GetActivePage());
    bool allow = false;
    pages->OnChanging = [&](TObject*, bool& a) { a = allow; };
    RECT r;
    SendMessageA(pages->GetHandle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    gui::Click(pages, r.left + 5, r.top + 5);
    EXPECT_EQ(one, pages->GetActivePage());
    allow = true;
    gui::Click(pages, r.left + 5, r.top + 5);
    EXPECT_EQ(two, pages->GetActivePage());
    EXPECT_EQ(1, SendMessageA(pages->GetHandle(), TCM_GETCURSEL, 0, 0));

    two->SetPageIndex(0);
    EXPECT_EQ(0, pages->GetActivePageIndex());
    delete two;  // the other page takes over
    EXPECT_EQ(one, pages->GetActivePage());
    EXPECT_TRUE(one->GetVisible());
    EXPECT_EQ(1, SendMessageA(pages->GetHandle(), TCM_GETITEMCOUNT, 0, 0));

    auto* stranger = new TTabSheet(form);
    stranger->SetName("Stranger");
    EXPECT_EQ("Tab sheet 'Stranger' is not a page of this page control",
              MessageOf<EInvalidOperation>([&] { pages->SetActivePage(stranger); }));
    EXPECT_EQ("List index out of bounds (4)", MessageOf<EListError>([&] { pages->SetActivePageIndex(4); }));
}

TEST_F(StdCtrlsStateTest, MisuseRaisesWithAnEnglishMessage)
{
    TListBox* list = NewListBox(form, form, 0, 0, 100, 100, {"a"});
    TComboBox* combo = NewComboBox(form, form, 0, 0, 100, {"a", "b"});
    TRadioGroup* radios = NewRadioGroup(form, form, "r", 0, 0, 100, 60, {"a"});
    auto* status = new TStatusBar(form);
    status->SetParent(form);
    status->GetPanels()->Add();
    for (int round = 0; round < 2; ++round) {  // without and with windows
        EXPECT_EQ("List index out of bounds (1)", MessageOf<EListError>([&] { list->SetItemIndex(1); }));
        EXPECT_EQ("List index out of bounds (-2)", MessageOf<EListError>([&] { combo->SetItemIndex(-2); }));
        EXPECT_EQ("List index out of bounds (3)", MessageOf<EListError>([&] { radios->SetItemIndex(3); }));
        EXPECT_EQ("List index out of bounds (1)", MessageOf<EListError>([&] { status->GetPanels()->GetItems(1); }));
        EXPECT_EQ("List index out of bounds (5)", MessageOf<EListError>([&] { list->GetSelected(5); }));
        Show();
    }
    EXPECT_EQ(-1, list->GetItemIndex());
    EXPECT_EQ("Scroll bar property out of range",
              MessageOf<EInvalidOperation>([&] { New<TScrollBar>(form, form, 0, 0, 10, 10)->SetParams(0, 5, 1); }));
    EXPECT_THROW(radios->SetColumns(0), EInvalidOperation);
    EXPECT_THROW(New<TSpeedButton>(form, form, 0, 0, 10, 10)->SetNumGlyphs(5), EInvalidOperation);
    EXPECT_THROW(New<TProgressBar>(form, form, 0, 0, 10, 10)->SetMax(-1), EInvalidOperation);
    TImage* image = New<TImage>(form, form, 0, 0, 10, 10);
    TMetafile metafile;
    image->GetPicture()->SetGraphic(&metafile);
    EXPECT_EQ("Can only modify an image if it contains a bitmap",
              MessageOf<EInvalidOperation>([&] { image->GetCanvas(); }));
}
