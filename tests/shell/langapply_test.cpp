// Form translation against plain components: paths, targets, property kinds
// and the lines that must change nothing.
#include <gtest/gtest.h>

#include <map>
#include "exceptions.h"
#include "lang_fixture.h"
#include "publishedprops.h"

namespace {

class TFakeForm : public TComponent {
public:
    explicit TFakeForm(const char* name) : TComponent(nullptr) { SetName(name); }
    AnsiString caption;
};

class TFakeControl : public TComponent {
public:
    TFakeControl(TComponent* owner, const char* name) : TComponent(owner) { SetName(name); }
    AnsiString caption;
    int width = 75;
    TStringList items;
    int itemIndex = -1;
    int listChanges = 0;
    bool fontTouched = false;
};

void PublishFakes()
{
    static bool done = false;
    if (done) return;
    done = true;
    PublishString<TFakeForm>("Caption", [](TFakeForm* f, const AnsiString& v) { f->caption = v; });
    PublishString<TFakeControl>("Caption", [](TFakeControl* c, const AnsiString& v) { c->caption = v; });
    PublishInteger<TFakeControl>("Width", [](TFakeControl* c) { return c->width; },
                                 [](TFakeControl* c, int v) { c->width = v; });
    PublishInteger<TFakeControl>("ItemIndex", [](TFakeControl* c) { return c->itemIndex; },
                                 [](TFakeControl* c, int v) {
                                     if (v >= c->items.GetCount()) throw EListError("List index out of bounds");
                                     c->itemIndex = v;
                                 });
    PublishStringList<TFakeControl>("Items", [](TFakeControl* c) { return &c->items; },
                                    [](TFakeControl* c) { c->listChanges++; });
}

class LangApplyTest : public LangTest {
protected:
    void SetUp() override
    {
        LangTest::SetUp();
        PublishFakes();
        info_ = new TFakeForm("InfoForm");
        main_ = new TFakeForm("MainForm");
        ok_ = new TFakeControl(info_, "OkBtn");
        level_ = new TFakeControl(info_, "Level");
        for (const char* item : {"x", "y", "z"}) level_->items.Add(item);
        level_->itemIndex = 1;
        mainOk_ = new TFakeControl(main_, "OkBtn");
        finder_ = [this](const AnsiString& name) -> TComponent* {
            for (TComponent* form : {static_cast<TComponent*>(info_), static_cast<TComponent*>(main_)})
                if (form->GetName().AnsiCompareIC(name) == 0) return form;
            return nullptr;
        };
    }
    void TearDown() override
    {
        delete info_;
        delete main_;
        LangTest::TearDown();
    }
    std::string Items(TFakeControl* c) { return c->items.GetCommaText().c_str(); }

    TFakeForm* info_ = nullptr;
    TFakeForm* main_ = nullptr;
    TFakeControl* ok_ = nullptr;
    TFakeControl* level_ = nullptr;
    TFakeControl* mainOk_ = nullptr;
    FormFinder finder_;
};

TEST_F(LangApplyTest, SectionSetsTextsIntegersAndLists)
{
    LoadText("[Messages]\nOk=OK\n[InfoForm]\nCaption=@Info@\nokbtn.Caption=Fine\n OkBtn . Width =120\n"
             "Level.Items=A|B|\n[NewForm]\nOkBtn.Caption=Wrong\n");
    lang_->TranslateSection("[InfoForm]", finder_);
    EXPECT_STREQ(info_->caption.c_str(), " Info ");
    EXPECT_STREQ(ok_->caption.c_str(), "Fine");
    EXPECT_EQ(ok_->width, 120);
    EXPECT_EQ(Items(level_), "A,B");
    EXPECT_EQ(level_->itemIndex, 1);  // kept across the change
    EXPECT_EQ(level_->listChanges, 1);
    EXPECT_EQ(lang_->GetTarget(), nullptr);
}

TEST_F(LangApplyTest, LinesThatCannotApplyChangeNothing)
{
    LoadText("[InfoForm]\nOkBtn.Font=Arial\nNobody.Caption=x\nOkBtn.Nobody.Caption=x\nOkBtn.Width=wide\n"
             "OkBtn.Caption=\nLevel.ItemIndex=7\nOkBtn.Caption=Still\n");
    lang_->TranslateSection("[InfoForm]", finder_);
    EXPECT_STREQ(ok_->caption.c_str(), "Still");  // the lines before it were skipped, not fatal
    EXPECT_EQ(ok_->width, 75);
    EXPECT_EQ(level_->itemIndex, 1);
    EXPECT_FALSE(TLang::SetPublishedProperty(ok_, "Font", "Arial"));
    EXPECT_FALSE(TLang::SetPublishedProperty(ok_, "Width", "12px"));
}

TEST_F(LangApplyTest, ShorterListDropsTheSelection)
{
    LoadText("[InfoForm]\nLevel.Items=only\n");
    lang_->TranslateSection("[InfoForm]", finder_);
    EXPECT_EQ(Items(level_), "only");
    EXPECT_EQ(level_->itemIndex, -1);
}

TEST_F(LangApplyTest, SectionHeaderCaseMatters)
{
    LoadText("[infoform]\nOkBtn.Caption=Fine\n");
    lang_->TranslateSection("[InfoForm]", finder_);
    EXPECT_TRUE(ok_->caption.IsEmpty());
}

TEST_F(LangApplyTest, TranslationsActOnlyAfterATargetLine)
{
    LoadText("[Translations]\nOkBtn.Caption=Nowhere\n>= MainForm\nOkBtn.Caption=Main\n>=InfoForm\n"
             "OkBtn.Caption=Info\n>=NoSuchForm\nOkBtn.Caption=Lost\n");
    lang_->TranslateSection("[Translations]", finder_);
    EXPECT_STREQ(mainOk_->caption.c_str(), "Main");
    EXPECT_STREQ(ok_->caption.c_str(), "Info");
}

TEST_F(LangApplyTest, NoLanguageTranslatesNothing)
{
    lang_->TranslateSection("[InfoForm]", finder_);
    EXPECT_TRUE(ok_->caption.IsEmpty());
    EXPECT_EQ(TLang::FindComponentByName(info_, "level"), level_);
    EXPECT_EQ(TLang::FindComponentByName(nullptr, "Level"), nullptr);
}

}  // namespace
