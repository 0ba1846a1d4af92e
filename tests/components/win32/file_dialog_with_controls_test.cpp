// The file dialogs that host their form's controls, run for real under Wine
// and driven by a timer that takes one step per tick.
#include "../../gui/win32/gui_fixture.h"
#include "forms.h"
#include "stdctrls.h"
#include "file_dialog_with_controls.h"

#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A step answers true when done; false retries it on the next tick.
typedef std::function<bool(HWND dialog)> Step;

struct Driver {
    std::vector<Step> steps;
    size_t next = 0;
    int ticks = 0;
};
Driver* driver = nullptr;

BOOL CALLBACK FindFileDialog(HWND hwnd, LPARAM lp)
{
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(lp) = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DriveTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&dialog));
    // Give up after about 15 s rather than hang the run.
    if (++driver->ticks > 300 || driver->next >= driver->steps.size()) {
        KillTimer(nullptr, id);
        if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (dialog && driver->steps[driver->next](dialog)) driver->next++;
}

void Press(HWND dialog, int button)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(GetDlgItem(dialog, button)));
}

void TypeName(HWND dialog, const std::string& name)
{
    SendMessageA(dialog, CDM_SETCONTROLTEXT, 0x47c, reinterpret_cast<LPARAM>(name.c_str()));
}

std::string NameBoxText(HWND dialog)
{
    char text[MAX_PATH] = "";
    GetDlgItemTextA(dialog, 0x47c, text, sizeof text);
    return text;
}

class FileDialogHostTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        dir = std::string(base) + "kestrel-file-dialog-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir.c_str(), nullptr);
        CreateDirectoryA((dir + "\\sub").c_str(), nullptr);
        for (const char* name : {"a.png", "b.png"}) {
            FILE* f = fopen((dir + "\\" + name).c_str(), "w");
            if (f) fclose(f);
        }
        form = new TForm(app.get());
        form->SetClientWidth(300);
        form->SetClientHeight(80);
        check = new TCheckBox(form);
        check->SetParent(form);
        check->SetBounds(12, 20, 120, 20);
        check->SetCaption("Transparent");
        hidden = new TCheckBox(form);
        hidden->SetParent(form);
        hidden->SetBounds(150, 20, 120, 20);
        hidden->SetVisible(false);
        form->HandleNeeded();
        check->HandleNeeded();
        hidden->HandleNeeded();
    }
    void TearDown() override
    {
        for (const char* name : {"a.png", "b.png"}) DeleteFileA((dir + "\\" + name).c_str());
        RemoveDirectoryA((dir + "\\sub").c_str());
        RemoveDirectoryA(dir.c_str());
        GuiTest::TearDown();
    }
    template <class Dialog>
    bool Run(Dialog* dialog, std::vector<Step> steps)
    {
        Driver d;
        d.steps = std::move(steps);
        driver = &d;
        SetTimer(nullptr, 0, 50, DriveTimer);
        dialog->SetInitialDir(dir.c_str());
        dialog->SetFilter("PNG (*.png)|*.png|All (*.*)|*.*");
        bool ok = dialog->Execute();
        EXPECT_EQ(d.next, d.steps.size()) << "the dialog stopped before every step ran";
        return ok;
    }

    std::string dir;
    TForm* form = nullptr;
    TCheckBox* check = nullptr;
    TCheckBox* hidden = nullptr;
};

TEST_F(FileDialogHostTest, FormControlsLiveInTheDialogWorkThereAndComeBack)
{
    auto* dialog = new TCustomOpenDialog(form);
    int clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    HWND inDialog = nullptr;
    bool ok = Run(dialog, {
        [&](HWND dlg) {
            inDialog = GetParent(check->GetHandle());
            EXPECT_EQ(GetParent(inDialog), dlg);
            EXPECT_EQ(inDialog, dialog->GetHost()->GetChildWindow());
            EXPECT_TRUE(IsWindowVisible(check->GetHandle()));
            EXPECT_FALSE(IsWindowVisible(hidden->GetHandle()));
            // Below the dialog's own controls, inside the dialog.
            RECT box, types, whole;
            GetWindowRect(check->GetHandle(), &box);
            GetWindowRect(GetDlgItem(dlg, 0x470), &types);
            GetWindowRect(dlg, &whole);
            EXPECT_GE(box.top, types.bottom);
            EXPECT_LE(box.bottom, whole.bottom);
            SendMessageA(check->GetHandle(), BM_CLICK, 0, 0);
            return true;
        },
        [&](HWND dlg) {
            TypeName(dlg, "a.png");
            Press(dlg, IDOK);
            return true;
        },
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(check->GetChecked());
    EXPECT_EQ(GetParent(check->GetHandle()), form->GetHandle());
    RECT r;
    GetWindowRect(check->GetHandle(), &r);
    POINT p = {r.left, r.top};
    ScreenToClient(form->GetHandle(), &p);
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 20);
    EXPECT_EQ(dialog->GetFileName(), (dir + "\\a.png").c_str());
}

TEST_F(FileDialogHostTest, FileOkCanRefuseAndSeesTheNameAndType)
{
    auto* dialog = new TSaveDialogEx(form);
    std::vector<std::string> asked;
    std::vector<int> types;
    dialog->SetOnFileOk([&](TObject*) {
        asked.push_back(dialog->GetSelFileName().c_str());
        types.push_back(dialog->GetSelFilterIndex());
        return asked.size() > 1;
    });
    bool ok = Run(dialog, {
        [&](HWND dlg) {
            TypeName(dlg, "new1.png");
            Press(dlg, IDOK);
            return true;
        },
        [&](HWND dlg) {
            // Refused: still open, the name still there.
            if (asked.empty()) return false;
            EXPECT_EQ(NameBoxText(dlg), "new1.png");
            dialog->SetSelFilterIndex(2);
            dialog->SetSelFileName("new2.png");
            Press(dlg, IDOK);
            return true;
        },
    });
    EXPECT_TRUE(ok);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], "new1.png");
    EXPECT_EQ(types[0], 1);
    EXPECT_EQ(asked[1], "new2.png");
    EXPECT_EQ(types[1], 2);
    EXPECT_EQ(dialog->GetHost()->GetCurrentPath(), (dir + "\\new2.png").c_str());
}

TEST_F(FileDialogHostTest, FolderChangeClearsTheNameWhenAskedAndRefreshFollowsTheForm)
{
    auto* dialog = new TCustomOpenDialog(form);
    dialog->SetClearFileNameOnFolderChange(true);
    int growth = 0;
    bool ok = Run(dialog, {
        [&](HWND dlg) {
            TypeName(dlg, "sub");
            Press(dlg, IDOK);  // opens the folder
            return true;
        },
        [&](HWND dlg) { return NameBoxText(dlg).empty(); },
        [&](HWND dlg) {
            RECT before, after;
            GetWindowRect(dlg, &before);
            form->SetClientHeight(form->GetClientHeight() + 30);
            hidden->SetVisible(true);
            dialog->RefreshControls();
            GetWindowRect(dlg, &after);
            growth = (after.bottom - after.top) - (before.bottom - before.top);
            EXPECT_TRUE(IsWindowVisible(hidden->GetHandle()));
            Press(dlg, IDCANCEL);
            return true;
        },
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(growth, 30);
    EXPECT_EQ(GetParent(hidden->GetHandle()), form->GetHandle());
}

}  // namespace
