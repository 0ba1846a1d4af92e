#include "stringlist.h"

#include <gtest/gtest.h>

#include <vector>

#include "exceptions.h"
#include "streams.h"

namespace {

// A TStrings with only the required functions, as a control's Items is:
// checks that the base class builds everything else on them.
class MinimalStrings : public TStrings {
public:
    void Clear() override { lines.clear(); }
    void Delete(int Index) override { lines.erase(lines.begin() + Checked(Index)); }
    void Insert(int Index, const AnsiString& S) override { lines.insert(lines.begin() + Index, S); }
    int GetCount() const override { return static_cast<int>(lines.size()); }

    std::vector<AnsiString> lines;
    std::vector<bool> updateStates;

protected:
    AnsiString Get(int Index) const override { return lines.at(Checked(Index)); }
    void SetUpdateState(bool Updating) override { updateStates.push_back(Updating); }

private:
    int Checked(int Index) const
    {
        if (Index < 0 || Index >= GetCount()) throw EListError("bad");
        return Index;
    }
};

TObject* Obj(int n)
{
    return reinterpret_cast<TObject*>(static_cast<intptr_t>(n));
}

}  // namespace

TEST(TStringsBase, DerivedOperationsUseOnlyTheVirtualCore)
{
    MinimalStrings s;
    s.SetText("one\r\ntwo\nthree\rfour\r\n");
    EXPECT_EQ(4, s.GetCount());
    EXPECT_EQ("four", s.GetStrings(3));
    s.SetStrings(1, "TWO");
    s.Move(0, 3);
    EXPECT_EQ("TWO\r\nthree\r\nfour\r\none\r\n", s.GetText());
    s.Exchange(0, 3);
    EXPECT_EQ("one,three,four,TWO", s.GetCommaText());
    EXPECT_EQ(2, s.IndexOf("FOUR"));
    EXPECT_EQ(nullptr, s.GetObjects(0));
    // Every compound change is one update pair for the control.
    EXPECT_FALSE(s.updateStates.empty());
    EXPECT_EQ(0u, s.updateStates.size() % 2);
    EXPECT_EQ(0, s.GetUpdateCount());
}

TEST(TStringsBase, NestedUpdatesReachTheSubclassOnce)
{
    MinimalStrings s;
    s.BeginUpdate();
    s.BeginUpdate();
    s.Add("x");
    s.EndUpdate();
    s.EndUpdate();
    s.EndUpdate();  // unbalanced: ignored
    EXPECT_EQ((std::vector<bool>{true, false}), s.updateStates);
}

TEST(TStringsText, SplittingAndJoining)
{
    TStringList s;
    s.SetText("");
    EXPECT_EQ(0, s.GetCount());
    s.SetText("a\r\n\r\nb");
    EXPECT_EQ(3, s.GetCount());
    EXPECT_EQ("", s.GetStrings(1));
    EXPECT_EQ("a\r\n\r\nb\r\n", s.GetText());
}

TEST(TStringsText, CommaTextQuotesWhatNeedsIt)
{
    TStringList s;
    s.Add("plain");
    s.Add("two words");
    s.Add("say \"hi\"");
    s.Add("");
    s.Add("a,b");
    AnsiString text = s.GetCommaText();
    EXPECT_EQ("plain,\"two words\",\"say \"\"hi\"\"\",\"\",\"a,b\"", text);
    TStringList back;
    back.SetCommaText(text);
    EXPECT_TRUE(back.Equals(&s));
    back.SetCommaText(" x  y ,z,");
    EXPECT_EQ("x\r\ny\r\nz\r\n\r\n", back.GetText());
    back.SetCommaText("\"unterminated");
    EXPECT_EQ("unterminated", back.GetStrings(0));
}

TEST(TStringsText, NamesAndValues)
{
    TStringList s;
    s.Add("Width=640");
    s.Add("noequals");
    s.Add("Height=480");
    EXPECT_EQ("Width", s.GetNames(0));
    EXPECT_EQ("", s.GetNames(1));
    EXPECT_EQ("480", s.GetValues("HEIGHT"));
    EXPECT_EQ("", s.GetValues("Depth"));
    s.SetValues("height", "600");
    EXPECT_EQ("height=600", s.GetStrings(2));
    s.SetValues("Depth", "24");
    EXPECT_EQ(4, s.GetCount());
    s.SetValues("Width", "");
    EXPECT_EQ(-1, s.IndexOfName("Width"));
    EXPECT_EQ(3, s.GetCount());
}

TEST(TStringListEdit, ObjectsTravelWithTheirStrings)
{
    TStringList s;
    s.AddObject("a", Obj(1));
    s.AddObject("b", Obj(2));
    s.InsertObject(0, "c", Obj(3));
    s.Move(0, 2);
    EXPECT_EQ("a,b,c", s.GetCommaText());
    EXPECT_EQ(Obj(3), s.GetObjects(2));
    s.Exchange(0, 2);
    EXPECT_EQ(Obj(1), s.GetObjects(2));
    EXPECT_EQ(0, s.IndexOfObject(Obj(3)));
    s.SetObjects(1, Obj(9));
    EXPECT_EQ(Obj(9), s.GetObjects(1));
    TStringList copy;
    copy.Assign(&s);
    EXPECT_TRUE(copy.Equals(&s));
    EXPECT_EQ(Obj(9), copy.GetObjects(1));
    copy.Assign(&copy);
    EXPECT_EQ(3, copy.GetCount());
    copy.AddStrings(&copy);
    EXPECT_EQ(6, copy.GetCount());
}

TEST(TStringListEdit, BadIndexesAndAssignRaise)
{
    TStringList s;
    s.Add("a");
    try {
        s.GetStrings(1);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ("List index out of bounds (1)", e.what());
    }
    EXPECT_THROW(s.Delete(-1), EListError);
    EXPECT_THROW(s.Insert(2, "x"), EListError);
    EXPECT_THROW(s.SetObjects(1, nullptr), EListError);
    EXPECT_THROW(s.Move(0, 1), EListError);
    EXPECT_THROW(s.Exchange(0, 5), EListError);
    TPersistent other;
    EXPECT_THROW(s.Assign(&other), EConvertError);
    EXPECT_EQ("a", s.GetStrings(0));
}

TEST(TStringListSorted, FindAndDuplicates)
{
    TStringList s;
    s.SetCommaText("pear,Apple,fig,apple");
    s.SetSorted(true);
    EXPECT_EQ("Apple,apple,fig,pear", s.GetCommaText());  // stable among equals
    int index = -1;
    EXPECT_TRUE(s.Find("APPLE", index));
    EXPECT_EQ(0, index);
    EXPECT_FALSE(s.Find("grape", index));
    EXPECT_EQ(3, index);
    EXPECT_EQ(2, s.Add("banana"));  // goes to its place
    EXPECT_EQ(0, s.Add("apple"));   // dupIgnore: the existing index
    EXPECT_EQ(5, s.GetCount());
    s.SetDuplicates(dupError);
    EXPECT_THROW(s.Add("FIG"), EListError);
    s.SetDuplicates(dupAccept);
    s.Add("fig");
    EXPECT_EQ(6, s.GetCount());
    EXPECT_THROW(s.Insert(0, "x"), EListError);
    EXPECT_THROW(s.SetStrings(0, "x"), EListError);
    EXPECT_THROW(s.Move(0, 2), EListError);
    EXPECT_EQ(6, s.GetCount());
}

TEST(TStringListSorted, CaseSensitiveChangesOrderAndLookup)
{
    TStringList s;
    s.SetCommaText("b,B,a,A");
    s.SetCaseSensitive(true);
    EXPECT_EQ(2, s.IndexOf("a"));
    EXPECT_EQ(3, s.IndexOf("A"));
    s.SetSorted(true);
    EXPECT_EQ("A,B,a,b", s.GetCommaText());
    EXPECT_EQ(2, s.IndexOf("a"));
    EXPECT_EQ(-1, s.IndexOf("c"));
    s.SetCaseSensitive(false);
    EXPECT_EQ("A,a,B,b", s.GetCommaText());
    EXPECT_EQ(0, s.IndexOf("a"));
}

TEST(TStringListEvents, ChangeEventsAroundEachChangeAndOncePerUpdate)
{
    TStringList s;
    std::vector<std::string> log;
    s.OnChanging = [&](TObject* sender) {
        EXPECT_EQ(&s, sender);
        log.push_back("ing");
    };
    s.OnChange = [&](TObject*) { log.push_back("ed"); };
    s.Add("x");
    EXPECT_EQ((std::vector<std::string>{"ing", "ed"}), log);
    log.clear();
    s.SetText("a\nb\nc");  // one update around clear and three adds
    EXPECT_EQ((std::vector<std::string>{"ing", "ed"}), log);
    log.clear();
    s.BeginUpdate();
    s.Delete(0);
    s.Clear();
    EXPECT_TRUE(log.size() == 1);
    s.EndUpdate();
    EXPECT_EQ((std::vector<std::string>{"ing", "ed"}), log);
    log.clear();
    s.Clear();  // already empty: no change
    EXPECT_TRUE(log.empty());
}

TEST(TStringListStreams, SaveAndLoadThroughAStream)
{
    TStringList s;
    s.Add("first");
    s.Add("second");
    TMemoryStream stream;
    stream.WriteBuffer("junk", 4);
    s.SaveToStream(&stream);
    stream.SetPosition(4);
    TStringList back;
    back.LoadFromStream(&stream);
    EXPECT_TRUE(back.Equals(&s));
    stream.SetPosition(stream.GetSize() + 10);  // past the end: empty
    back.LoadFromStream(&stream);
    EXPECT_EQ(0, back.GetCount());
}
