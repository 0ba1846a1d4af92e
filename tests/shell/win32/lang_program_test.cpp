// The program as the user starts it, about its texts: with no language
// chosen its messages read as English sentences, and a language file that
// cannot be loaded at start-up is reported in a message box, before any
// picture window exists.
#include "picturefiles_fixture.h"
#include "program_process.h"
#include "registry_fixture.h"

namespace {

const char* const PrefsKey = "Software\\Corvane\\KS\\Preferences";

// The program's "Language" setting for the test, put back afterwards.
class ChosenLanguage {
public:
    explicit ChosenLanguage(const char* name) : old_(RegDefault(HKEY_CURRENT_USER, PrefsKey, "Language"))
    {
        Set(name);
    }
    ~ChosenLanguage() { Set(old_.c_str()); }
    ChosenLanguage(const ChosenLanguage&) = delete;
    ChosenLanguage& operator=(const ChosenLanguage&) = delete;

private:
    static void Set(const char* name)
    {
        if (*name) {
            RegSetString(HKEY_CURRENT_USER, PrefsKey, "Language", name);
            return;
        }
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, PrefsKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        RegDeleteValueA(key, "Language");
        RegCloseKey(key);
    }
    std::string old_;
};

class LangProgram : public PictureFolderTest {
protected:
    // The box the program shows first, with its text, caption and buttons.
    struct Box {
        std::string text, caption;
        bool yes = false, no = false, ok = false;
    };
    Box FirstBox(const std::string& arguments)
    {
        Box box;
        ProgramProcess program;
        EXPECT_TRUE(program.Start(arguments));
        HWND h = WaitForProcessMessageBox(program.Id(), 60000);
        EXPECT_NE(h, nullptr) << "no message box within a minute";
        if (!h) return box;
        box.text = WindowText(GetDlgItem(h, 0xFFFF));
        box.caption = WindowText(h);
        box.yes = GetDlgItem(h, IDYES) != nullptr;
        box.no = GetDlgItem(h, IDNO) != nullptr;
        box.ok = GetDlgItem(h, IDOK) != nullptr;
        return box;
    }
};

// The text the program has built in, never the key standing for itself.
std::string English(const char* key)
{
    std::string text = BuiltInText(key);
    EXPECT_FALSE(text.empty()) << key;
    return text;
}

TEST_F(LangProgram, DamagedPictureWithNoLanguageChosenAsksInEnglish)
{
    ChosenLanguage none("");
    WritePicture("full.png", 64, 64, 3);
    std::string data = ReadBytes(Path("full.png"));
    WriteBytes(Path("cut.png"), data.substr(0, data.size() * 6 / 10));
    Box box = FirstBox("\"" + Path("cut.png") + "\"");
    EXPECT_EQ(box.text, English("ErrLoadImg"));
    EXPECT_EQ(box.caption, English("Err"));
    EXPECT_TRUE(box.yes && box.no);
}

TEST_F(LangProgram, DamagedLanguageFileAtStartUpIsReported)
{
    std::string lng = ReadBytes(ProgramFolder() + "english.lng");
    ASSERT_GT(lng.size(), 100u);
    std::string broken = ProgramFolder() + "ksbroken.lng";
    WriteBytes(broken, lng.substr(0, lng.size() / 2));
    {
        ChosenLanguage damaged("Ksbroken");
        Box box = FirstBox("");
        EXPECT_EQ(box.text, English("Can't Load Language File"));
        EXPECT_EQ(box.caption, English("Error"));
        EXPECT_TRUE(box.ok);
    }
    DeleteFileA(broken.c_str());
}

}  // namespace
