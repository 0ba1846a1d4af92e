// The main window's own section of a language file reaches its tool and
// palette windows, whose captions they draw themselves.
#include <gtest/gtest.h>

#include "../lang_fixture.h"
#include "bare_mainform_fixture.h"

namespace {

class LangMainForm : public BareMainForm, protected LangSandbox {
protected:
    void SetUp() override
    {
        BareMainForm::SetUp();
        Open(CurrentTestName());
    }
    void TearDown() override
    {
        Close();
        BareMainForm::TearDown();
    }
};

TEST_F(LangMainForm, ToolAndPaletteWindowCaptionsTranslate)
{
    LoadText("[Messages]\r\n[Translations]\r\n>=MainForm\r\nToolbar.Caption=Werkzeuge\r\n"
             "Palettebar.Caption=Farben\r\n");
    lang_->TranslateForm("[Translations]");
    EXPECT_STREQ(MainForm->Toolbar->GetCaption().c_str(), "Werkzeuge");
    EXPECT_STREQ(MainForm->Palettebar->GetCaption().c_str(), "Farben");
}

TEST_F(LangMainForm, GridOriginButtonFollowsTheLanguage)
{
    MainForm->InstallToolBoxServices();
    LoadText("[Messages]\r\nGridOriginBtn=Ursprung\r\nGridSet=Rasterursprung setzen\r\n");
    MainForm->RetranslateMenus();
    EXPECT_STREQ(MainForm->GridOriginBtn->GetCaption().c_str(), "Ursprung");
    EXPECT_STREQ(MainForm->GridOriginBtn->GetHint().c_str(), "Rasterursprung setzen");
}

}  // namespace
