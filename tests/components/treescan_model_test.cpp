// The tree walk over a file system held in memory: order of the reports,
// masks, recursion, normalisation of the start directory, and a handler
// that throws or stops the walk.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "exceptions.h"
#include "treescan_model.h"

namespace {

// Directories by full path ("C:\r\"), each with its entries. A pattern's
// mask is "*.*", "*" or "*.ext".
class TMemoryScanner : public TCustomTreeScanner {
public:
    TMemoryScanner() : TCustomTreeScanner(nullptr)
    {
        OnDirectoryFound = [this](TObject*) { Log.push_back("D " + Path() + Size()); };
        OnFileFound = [this](TObject*) { Log.push_back("F " + Path() + Size()); };
        OnDirectoryDone = [this](TObject*) { Log.push_back("E " + Path()); };
    }
    void Dir(const std::string& path, std::vector<TScanEntry> entries) { tree[path] = entries; }
    std::string Path() const { return GetFileFound().c_str(); }
    std::string Size() const { return GetFileSize() ? " " + std::to_string(GetFileSize()) : ""; }

    std::vector<std::string> Log;
    std::vector<std::string> Patterns;
    int Pumps = 0;
    std::string Current = "C:\\work";

protected:
    void ListEntries(const AnsiString& Pattern, std::vector<TScanEntry>& Entries) override
    {
        std::string p = Pattern.c_str();
        Patterns.push_back(p);
        size_t cut = p.rfind('\\');
        auto it = tree.find(p.substr(0, cut + 1));
        if (it == tree.end()) return;
        std::string mask = p.substr(cut + 1);
        for (const TScanEntry& e : it->second)
            if (Matches(mask, e.Name.c_str())) Entries.push_back(e);
    }
    AnsiString CurrentDirectory() override { return Current.c_str(); }
    void ProcessMessages() override { ++Pumps; }

private:
    static bool Matches(const std::string& mask, const std::string& name)
    {
        if (mask == "*.*" || mask == "*") return true;
        if (mask.size() > 1 && mask[0] == '*') return name.size() >= mask.size() - 1 &&
                                                      name.compare(name.size() - (mask.size() - 1), std::string::npos, mask, 1) == 0;
        return mask == name;
    }
    std::map<std::string, std::vector<TScanEntry>> tree;
};

TScanEntry File(const char* name, unsigned long size) { return TScanEntry{name, 0x20, size}; }
TScanEntry Folder(const char* name) { return TScanEntry{name, faScanDirectory, 0}; }

}  // namespace

TEST(TreeScanNormalise, AddsTheBackslashAndKeepsAMaskAsAFolderName)
{
    EXPECT_EQ("C:\\t1\\", NormaliseScanDirectory("C:\\t1"));
    EXPECT_EQ("C:\\t1\\", NormaliseScanDirectory("C:\\t1\\"));
    EXPECT_EQ("C:\\", NormaliseScanDirectory("C:"));
    EXPECT_EQ("C:\\dir\\*.ksc\\", NormaliseScanDirectory("C:\\dir\\*.ksc"));
    EXPECT_EQ("\\", NormaliseScanDirectory(""));
}

TEST(TreeScan, FilesComeInCaseInsensitiveOrderWithTheirSizes)
{
    TMemoryScanner s;
    s.Dir("C:\\p\\", {File("b.bmp", 2), File("A.bmp", 1), File("c.bmp", 3), File("x.txt", 9)});
    s.SetInitialDirectory("C:\\p");
    s.SetFileMask("*.bmp");
    s.Execute();
    EXPECT_EQ((std::vector<std::string>{"D C:\\p\\", "F C:\\p\\A.bmp 1", "F C:\\p\\b.bmp 2", "F C:\\p\\c.bmp 3",
                                        "E C:\\p\\c.bmp"}),
              s.Log);
    EXPECT_EQ("C:\\p\\", s.GetInitialDirectory());
    EXPECT_FALSE(s.GetSearchInProgress());
    EXPECT_EQ(0u, s.GetFileSize());
}

TEST(TreeScan, RecursiveWalkReportsFilesBeforeSubdirectories)
{
    TMemoryScanner s;
    s.Dir("C:\\r\\", {Folder("."), Folder(".."), Folder("s2"), File("x.ksc", 5), Folder("s1")});
    s.Dir("C:\\r\\s1\\", {Folder("."), Folder(".."), File("y.ksc", 6)});
    s.Dir("C:\\r\\s2\\", {Folder("."), Folder("..")});
    s.SetInitialDirectory("C:\\r\\");
    s.SetFileMask("*.ksc");
    s.Execute();
    EXPECT_EQ((std::vector<std::string>{"D C:\\r\\", "F C:\\r\\x.ksc 5", "D C:\\r\\s1\\", "F C:\\r\\s1\\y.ksc 6",
                                        "E C:\\r\\s1\\y.ksc", "D C:\\r\\s2\\", "E C:\\r\\s2\\", "E C:\\r\\s2\\"}),
              s.Log);
    // Each directory is listed twice: for subdirectories, then for the mask.
    EXPECT_EQ((std::vector<std::string>{"C:\\r\\*.*", "C:\\r\\*.ksc", "C:\\r\\s1\\*.*", "C:\\r\\s1\\*.ksc",
                                        "C:\\r\\s2\\*.*", "C:\\r\\s2\\*.ksc"}),
              s.Patterns);
}

TEST(TreeScan, NotRecursiveReportsEachSubdirectoryOnce)
{
    TMemoryScanner s;
    s.Dir("C:\\r\\", {Folder("B"), Folder("a"), File("f.lng", 1)});
    s.Dir("C:\\r\\a\\", {File("g.lng", 1)});
    s.SetInitialDirectory("C:\\r");
    s.SetFileMask("*.lng");
    s.SetRecursive(false);
    s.Execute();
    EXPECT_EQ((std::vector<std::string>{"D C:\\r\\", "F C:\\r\\f.lng 1", "D C:\\r\\a\\", "D C:\\r\\B\\", "E C:\\r\\B\\"}),
              s.Log);
    EXPECT_EQ(2u, s.Patterns.size());
}

TEST(TreeScan, EmptyStartIsTheCurrentDirectoryAndMissingFoldersGiveNothing)
{
    TMemoryScanner s;
    s.Dir("C:\\work\\", {Folder("gone"), File("a.ksc", 1)});
    s.SetFileMask("*.ksc");
    s.SetEnableMessages(true);
    s.Execute();
    EXPECT_EQ("C:\\work\\", s.GetInitialDirectory());
    // "gone" cannot be listed: it is entered and finished, nothing more.
    EXPECT_EQ((std::vector<std::string>{"D C:\\work\\", "F C:\\work\\a.ksc 1", "D C:\\work\\gone\\",
                                        "E C:\\work\\gone\\", "E C:\\work\\gone\\"}),
              s.Log);
    EXPECT_EQ(2, s.Pumps);
}

TEST(TreeScan, DirectoryEntriesAndVolumeLabelsAreNeverReportedAsFiles)
{
    TMemoryScanner s;
    s.Dir("C:\\r\\", {TScanEntry{"LABEL", faScanVolumeID, 0}, Folder("sub.ksc"), File("z.ksc", 1)});
    s.Dir("C:\\r\\sub.ksc\\", {});
    s.SetInitialDirectory("C:\\r");
    s.SetFileMask("*.ksc");
    s.SetRecursive(false);
    s.Execute();
    EXPECT_EQ((std::vector<std::string>{"D C:\\r\\", "F C:\\r\\z.ksc 1", "D C:\\r\\sub.ksc\\", "E C:\\r\\sub.ksc\\"}),
              s.Log);
}

TEST(TreeScan, AThrowingHandlerLeavesTheScannerReusable)
{
    TMemoryScanner s;
    s.Dir("C:\\r\\", {File("a.ksc", 1), File("b.ksc", 2)});
    s.SetInitialDirectory("C:\\r");
    s.SetFileMask("*.ksc");
    s.OnFileFound = [&](TObject*) {
        EXPECT_TRUE(s.GetSearchInProgress());
        throw EAbort();
    };
    EXPECT_THROW(s.Execute(), EAbort);
    EXPECT_FALSE(s.GetSearchInProgress());
    int files = 0;
    s.OnFileFound = [&](TObject*) { ++files; };
    s.Execute();
    EXPECT_EQ(2, files);
}

TEST(TreeScan, StopEndsTheWalkWithoutFurtherReports)
{
    TMemoryScanner s;
    s.Dir("C:\\r\\", {File("a.ksc", 1), File("b.ksc", 2), Folder("s")});
    s.Dir("C:\\r\\s\\", {File("c.ksc", 3)});
    s.SetInitialDirectory("C:\\r");
    s.SetFileMask("*.ksc");
    s.OnFileFound = [&](TObject*) {
        s.Log.push_back("F " + s.Path());
        s.Stop();
    };
    s.Execute();
    EXPECT_EQ((std::vector<std::string>{"D C:\\r\\", "F C:\\r\\a.ksc"}), s.Log);
    // The next Execute starts afresh.
    s.Log.clear();
    s.OnFileFound = nullptr;
    s.Execute();
    EXPECT_EQ(4u, s.Log.size());  // two directories, each found and done
}

TEST(TreeScan, ExecuteFromItsOwnHandlerIsRefused)
{
    TMemoryScanner s;
    s.Dir("C:\\r\\", {});
    s.SetInitialDirectory("C:\\r");
    s.OnDirectoryFound = [&](TObject*) { s.Execute(); };
    EXPECT_THROW(s.Execute(), EInvalidOperation);
    EXPECT_FALSE(s.GetSearchInProgress());
}

TEST(TreeScan, ADeepTreeIsWalkedToTheBottom)
{
    TMemoryScanner s;
    std::string path = "C:\\d\\";
    for (int i = 0; i < 200; ++i) {
        s.Dir(path, {Folder("n")});
        path += "n\\";
    }
    s.Dir(path, {File("deep.ksc", 7)});
    s.SetInitialDirectory("C:\\d");
    s.SetFileMask("*.ksc");
    s.Execute();
    ASSERT_EQ(201u * 2 + 1, s.Log.size());
    EXPECT_EQ("F " + path + "deep.ksc 7", s.Log[201]);
}
