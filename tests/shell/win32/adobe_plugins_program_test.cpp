// The program started with the test plug-ins' folder as its plug-in folder:
// the "&Adobe" submenu by category, the failed list, and the menu command
// on the current picture: one undo step named after the filter when it
// works, none and the picture untouched when it cancels, fails or crashes.

#include <memory>
#include <random>

#include "../../painting/undo_fixture.h"
#include "adobe_plugins.h"
#include "started_program_fixture.h"
#include "toolmanager.h"
#include "undo_entry.h"

namespace {

class AdobePlugInsProgram : public StartedProgram {
protected:
    static AnsiString PluginFolder()
    {
        std::string dir = "Z:" KESTREL_BINARY_DIR "/tests/plugins/";
        for (char& c : dir)
            if (c == '/') c = '\\';
        return dir.c_str();
    }

    void SetUp() override
    {
        StartedProgram::SetUp();
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("Software\\Corvane\\KS\\Preferences", true));
        reg.WriteString("AdobeLoc", PluginFolder());
        reg.WriteBool("UseAdobe", true);
        reg.CloseKey();
        ASSERT_TRUE(Start());
    }

    static std::vector<std::string> Captions(TMenuItem* menu)
    {
        std::vector<std::string> captions;
        for (int i = 0; menu && i < menu->GetCount(); i++) captions.push_back(menu->GetItem(i)->GetCaption().c_str());
        return captions;
    }

    TMenuItem* Item(const char* category, const char* name)
    {
        TMenuItem* adobe = MainForm->Image1->Find("&Adobe plug-ins");
        TMenuItem* sub = adobe ? adobe->Find(category) : nullptr;
        return sub ? sub->Find(name) : nullptr;
    }
};

TEST_F(AdobePlugInsProgram, MenuAndFailedList)
{
    TMenuItem* image = MainForm->Image1;
    TMenuItem* adobe = image->Find("&Adobe plug-ins");
    ASSERT_NE(nullptr, adobe);
    // Right after the Image menu's first separator.
    const int at = image->IndexOf(adobe);
    ASSERT_GT(at, 0);
    EXPECT_EQ("-", std::string(image->GetItem(at - 1)->GetCaption().c_str()));
    EXPECT_EQ((std::vector<std::string>{"&Tests", "&Default", "&PimiCat"}), Captions(adobe));
    EXPECT_EQ((std::vector<std::string>{"&FromPiPL", "&Cancel", "&Crash", "&Fail", "&Invert", "&Second"}),
              Captions(adobe->Find("&Tests")));
    EXPECT_EQ(std::vector<std::string>{"&multi"}, Captions(adobe->Find("&Default")));
    EXPECT_EQ(std::vector<std::string>{"&PimiName"}, Captions(adobe->Find("&PimiCat")));
    ASSERT_EQ(1u, FailedAdobePlugIns.size());
    EXPECT_STREQ("garbage", FailedAdobePlugIns[0].c_str());
    const int tag = Item("&Tests", "&Invert")->GetTag();
    EXPECT_STREQ("Invert", GetAdobePlugInName(tag).c_str());
    EXPECT_EQ("#PluginMain", std::string(GetAdobePlugInPath(tag).c_str()).substr(GetAdobePlugInPath(tag).Length() - 11));
    EXPECT_STREQ("", GetAdobePlugInPath(999).c_str());
}

TEST_F(AdobePlugInsProgram, RunsOnTheCurrentPicture)
{
    const struct {
        const char* name;
        bool changes, refuseUndo;
    } cases[] = {
        {"&Cancel", false, false}, {"&Fail", false, false}, {"&Crash", false, false},
        {"&Invert", false, true},  // no room for the step: the filter must not run
        {"&Invert", true, false},
    };
    // What start-up posted to itself runs first: on a loaded machine it may
    // still be waiting, and must not land between the picture and its check.
    // The pointer goes away from the pictures: a tool's outline under it is
    // drawn into the picture and taken back when the command suspends the
    // tool, which would read as a change.
    gui::InputMouseMoveTo(1023, 767);
    gui::PumpUntilIdle();
    UDBuffer* pic = CurrentPicture;
    ASSERT_NE(nullptr, pic);
    std::mt19937 rng(47);
    const int n = pic->Width() * pic->Height();
    // Compared without the tool's outline, which is drawn into the picture
    // whenever the window shows it.
    HideOutline();
    for (int i = 0; i < n; i++) pic->pixels[i] = (rng() & 0xFFFFFF) | (i % 5 ? 0 : 0x01000000);
    const std::vector<unsigned long> before(pic->pixels, pic->pixels + n);
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMenuItem* item = Item("&Tests", c.name);
        ASSERT_NE(nullptr, item);
        const unsigned long modified = pic->modified;
        {
            std::unique_ptr<UndoTest> undo;
            if (c.refuseUndo) {
                undo.reset(new UndoTest);
                undo->folder.allocBudget = 0;
            }
            MainForm->AdobePlugInClick(item);
            gui::PumpUntilIdle();
            if (undo) {
                EXPECT_EQ(1u, undo->messages.size());
            }
        }
        HideOutline();
        if (!c.changes) {
            EXPECT_EQ(before, std::vector<unsigned long>(pic->pixels, pic->pixels + n));
            EXPECT_EQ(nullptr, pic->undoHead);
            EXPECT_EQ(modified, pic->modified);
            continue;
        }
        for (int i = 0; i < n; i++) ASSERT_EQ(before[size_t(i)] ^ 0xFFFFFF, pic->pixels[i]) << i;
        ASSERT_NE(nullptr, pic->undoHead);
        EXPECT_STREQ("Invert", pic->undoHead->key.c_str());
        EXPECT_EQ(nullptr, pic->undoHead->next);
        EXPECT_EQ(modified + 1, pic->modified);
        ASSERT_TRUE(UDBuffer::Undo(pic, false));
        EXPECT_EQ(before, std::vector<unsigned long>(pic->pixels, pic->pixels + n));
    }
}

}  // namespace
