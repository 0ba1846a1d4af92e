// Translating real forms from their language sections: captions, hints,
// texts, item lists, the form found among all live forms, and lines that
// must be skipped.
#include <gtest/gtest.h>

#include "../../gui/win32/gui_fixture.h"
#include "../lang_fixture.h"
#include "formbuilder.h"
#include "menus.h"

namespace {

class TInfoForm : public TForm {
public:
    explicit TInfoForm(TComponent* owner) : TForm(owner)
    {
        SetName("InfoForm");
        SetCaption("Information");
        OkBtn = NewButton(this, this, "OK", 8, 8, 75, 25);
        OkBtn->SetName("OkBtn");
        Level = NewRadioGroup(this, this, "Level", 8, 40, 150, 80, {"x", "y", "z"}, 2);
        Level->SetName("Level");
        Format = NewComboBox(this, this, 8, 130, 120, {"one", "two"});
        Format->SetName("Format");
        Notes = New<TMemo>(this, this, 160, 8, 120, 60);
        Notes->SetName("Notes");
        NameEdit = NewEdit(this, this, "name", 160, 80, 100);
        NameEdit->SetName("NameEdit");
        Menu = new TMainMenu(this);
        Menu->SetName("Menu");
        FileItem = new TMenuItem(this);
        FileItem->SetName("FileItem");
        FileItem->SetCaption("File");
        Menu->GetItems()->Add(FileItem);
    }
    TButton* OkBtn;
    TRadioGroup* Level;
    TComboBox* Format;
    TMemo* Notes;
    TEdit* NameEdit;
    TMainMenu* Menu;
    TMenuItem* FileItem;
};

class TranslateFormTest : public GuiTest, protected LangSandbox {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        Open(CurrentTestName());
    }
    void TearDown() override
    {
        Close();
        GuiTest::TearDown();
    }
};

std::string Str(const AnsiString& s) { return s.c_str(); }

TEST_F(TranslateFormTest, SectionSetsCaptionsHintsTextsAndItems)
{
    // Owned by nobody: a dialog made without the application as owner.
    std::unique_ptr<TInfoForm> form(new TInfoForm(nullptr));
    LoadText("[Messages]\r\nOk=OK\r\n[InfoForm]\r\nCaption=Info@\r\nOkBtn.Caption=Fine\r\nOkBtn.Hint=Closes\r\n"
             "OkBtn.Width=90\r\nLevel.Items=A|B|\r\nLevel.Caption=Stufe\r\nFormat.Items=eins|zwei|drei\r\n"
             "Notes.Lines=first|second\r\nNameEdit.Text=Name\r\nFileItem.Caption=&Datei\r\n");
    lang_->TranslateForm("[InfoForm]");
    EXPECT_EQ(Str(form->GetCaption()), "Info ");
    EXPECT_EQ(Str(form->OkBtn->GetCaption()), "Fine");
    EXPECT_EQ(Str(form->OkBtn->GetHint()), "Closes");
    EXPECT_EQ(form->OkBtn->GetWidth(), 90);
    EXPECT_EQ(Str(form->Level->GetItems()->GetCommaText()), "A,B");
    EXPECT_EQ(form->Level->GetItemIndex(), -1);  // item 2 no longer exists
    EXPECT_EQ(Str(form->Level->GetCaption()), "Stufe");
    EXPECT_EQ(Str(form->Format->GetItems()->GetCommaText()), "eins,zwei,drei");
    EXPECT_EQ(form->Format->GetItemIndex(), 0);  // a drop-down list never stands blank
    EXPECT_EQ(Str(form->Notes->GetLines()->GetCommaText()), "first,second");
    EXPECT_EQ(Str(form->NameEdit->GetText()), "Name");
    EXPECT_EQ(Str(form->FileItem->GetCaption()), "&Datei");
}

TEST_F(TranslateFormTest, ItemIndexSurvivesAListOfTheSameLength)
{
    TInfoForm* form = new TInfoForm(app.get());
    form->Level->SetItemIndex(1);
    form->Format->SetItemIndex(1);
    LoadText("[InfoForm]\r\nLevel.Items=Novice|Expert|Master\r\nFormat.Items=Eins|Zwei\r\n");
    lang_->TranslateForm("[InfoForm]");
    EXPECT_EQ(form->Level->GetItemIndex(), 1);
    EXPECT_EQ(form->Format->GetItemIndex(), 1);
    form->Show();
    gui::PumpUntilIdle();
    EXPECT_EQ(Str(form->Format->GetText()), "Zwei");
}

TEST_F(TranslateFormTest, UnknownComponentsPropertiesAndBadValuesAreSkipped)
{
    TInfoForm* form = new TInfoForm(app.get());
    LoadText("[InfoForm]\r\nOkBtn.Font=Arial\r\nOkBtn.Visible=0\r\nNoSuch.Caption=x\r\nOkBtn.Width=wide\r\n"
             "Level.ItemIndex=9\r\nNameEdit.Caption=x\r\nOkBtn.Caption=Still\r\n");
    lang_->TranslateForm("[InfoForm]");
    EXPECT_EQ(Str(form->OkBtn->GetCaption()), "Still");
    EXPECT_EQ(form->OkBtn->GetWidth(), 75);
    EXPECT_TRUE(form->OkBtn->GetVisible());
    EXPECT_EQ(form->Level->GetItemIndex(), 2);
    EXPECT_EQ(Str(form->NameEdit->GetText()), "name");  // an edit publishes Text, not Caption
}

TEST_F(TranslateFormTest, TranslationsSectionTargetsNamedForms)
{
    TInfoForm* form = new TInfoForm(app.get());
    LoadText("[Translations]\r\nOkBtn.Caption=Early\r\n>=infoform\r\nOkBtn.Caption=Late\r\n");
    lang_->TranslateForm("[Translations]");
    EXPECT_EQ(Str(form->OkBtn->GetCaption()), "Late");
}

}  // namespace
