#include <gtest/gtest.h>

#include <cstdio>
#include "lang_fixture.h"

namespace {

const char* const German =
    "; German\r\n[Messages]\r\nCancel=Abbrechen\r\nSpaced=@ja@\r\nEmpty=\r\nErr=Fehler\r\n"
    "[InfoForm]\r\nOkBtn.Caption=Gut\r\n";
const char* const French = "[MESSAGES]\nCancel=Annuler\n";

TEST_F(LangTest, NoLanguageGivesKeysAndBuiltInTexts)
{
    EXPECT_EQ(T("Cancel"), "Cancel");
    EXPECT_EQ(T("Err"), "Error");
    EXPECT_TRUE(lang_->ReadFormSection("[InfoForm]").empty());
}

TEST_F(LangTest, LoadedLanguageAnswersItsMessages)
{
    WriteLng("german", EncodeLng(German));
    lang_->Load("german");
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(T("Cancel"), "Abbrechen");
    EXPECT_EQ(T("Spaced"), " ja ");
    EXPECT_EQ(T("Empty"), "Empty");
    EXPECT_EQ(T("cancel"), "cancel");  // keys keep their case
    EXPECT_EQ(T("NoMem"), "Not enough memory for this operation.");
    std::vector<LangEntry> form = lang_->ReadFormSection("[InfoForm]");
    ASSERT_EQ(form.size(), 1u);
    EXPECT_STREQ(form[0].value.c_str(), "Gut");
}

TEST_F(LangTest, ExpandedTextMatchesTheSource)
{
    WriteLng("german", EncodeLng(German));
    lang_->Load("german");
    std::FILE* f = std::fopen(lang_->TempFileName().c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::string text;
    for (int c; (c = std::getc(f)) != EOF;) text += static_cast<char>(c);
    std::fclose(f);
    EXPECT_EQ(text, German);
}

TEST_F(LangTest, SwitchingLanguageReplacesMessagesAndTempFile)
{
    WriteLng("german", EncodeLng(German));
    WriteLng("french", EncodeLng(French));
    lang_->Load("german");
    AnsiString first = lang_->TempFileName();
    lang_->Load("french");
    EXPECT_EQ(T("Cancel"), "Annuler");
    EXPECT_EQ(T("Spaced"), "Spaced");
    EXPECT_FALSE(FileExists(first));
    EXPECT_TRUE(FileExists(lang_->TempFileName()));
}

TEST_F(LangTest, MissingOrDamagedFileIsReportedAndChangesNothing)
{
    WriteLng("german", EncodeLng(German));
    EXPECT_TRUE(lang_->Load("german"));
    AnsiString temp = lang_->TempFileName();
    EXPECT_FALSE(lang_->Load("nosuch"));
    Bytes damaged = EncodeLng(French);
    damaged.resize(damaged.size() - 3);
    WriteLng("damaged", damaged);
    EXPECT_FALSE(lang_->Load("damaged"));
    ASSERT_EQ(shown_.size(), 2u);
    for (const Shown& s : shown_) {
        EXPECT_EQ(s.text, BuiltInText("Can't Load Language File"));
        EXPECT_EQ(s.caption, "Error");  // a key of its own, not "Err"
        EXPECT_EQ(s.flags, MsgIconWarning);
    }
    EXPECT_EQ(T("Cancel"), "Abbrechen");
    EXPECT_EQ(lang_->TempFileName(), temp);
    EXPECT_TRUE(FileExists(temp));
}

TEST_F(LangTest, TempFileFailureIsReported)
{
    WriteLng("german", EncodeLng(German));
    auto saved = MakeLanguageTempName;
    MakeLanguageTempName = [this] { return AnsiString((dir_ + "no/such/dir/x.tmp").c_str()); };
    lang_->Load("german");
    MakeLanguageTempName = saved;
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, BuiltInText("CantSaveLngFile"));
    EXPECT_EQ(T("Cancel"), "Cancel");
}

TEST_F(LangTest, SingleSymbolFileHasNoMessages)
{
    WriteLng("x", {5, 0, 0, 0, 0, 'x'});
    lang_->Load("x");
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(MessageKeys->GetCount(), 0);
    EXPECT_EQ(T("Cancel"), "Cancel");
}

TEST_F(LangTest, DestructorRemovesTempFileAndLookup)
{
    WriteLng("german", EncodeLng(German));
    lang_->Load("german");
    AnsiString temp = lang_->TempFileName();
    delete lang_;
    lang_ = nullptr;
    EXPECT_FALSE(FileExists(temp));
    EXPECT_EQ(T("Cancel"), "Cancel");
}

TEST_F(LangTest, LanguageNamesAreCapitalisedBaseNames)
{
    lang_->AddLanguageName("C:\\Kestrel\\GERMAN.LNG");
    lang_->AddLanguageName("english.lng");
    ASSERT_EQ(LanguageNames->GetCount(), 2);
    EXPECT_STREQ(LanguageNames->GetStrings(0).c_str(), "German");
    EXPECT_STREQ(LanguageNames->GetStrings(1).c_str(), "English");
}

}  // namespace
