// The tree scanner over folder trees that the tests build in the temporary
// folder: order, masks, recursion, odd names and trees deeper than the
// path limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exceptions.h"
#include "sysutils.h"
#include "treescan.h"
#include "winapi.h"

namespace {

std::wstring Widen(const std::string& s)
{
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
    w.resize(n - 1);
    return w;
}

// Removes a tree of any depth (the long-path form has no MAX_PATH limit).
void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = dir + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(h, &data));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

class TreeScanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root = std::string(temp) + "kts" + std::to_string(GetCurrentProcessId()) + "_" +
               std::to_string(GetTickCount() % 100000);
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr)) << root;
        scanner.OnDirectoryFound = [this](TObject*) { Log.push_back("D " + Rel()); };
        scanner.OnFileFound = [this](TObject*) { Log.push_back("F " + Rel() + " " + std::to_string(scanner.GetFileSize())); };
        scanner.OnDirectoryDone = [this](TObject*) { Log.push_back("E " + Rel()); };
        scanner.SetInitialDirectory(root.c_str());
    }
    void TearDown() override
    {
        if (!root.empty()) RemoveTree(L"\\\\?\\" + Widen(root));  // never the working folder
    }

    // Path relative to the root, with '/' for readability.
    std::string Rel() const
    {
        std::string p = scanner.GetFileFound().c_str();
        if (p.compare(0, root.size(), root) == 0) p = p.substr(root.size());
        for (char& c : p)
            if (c == '\\') c = '/';
        return p;
    }
    void Dir(const std::string& rel) { ASSERT_TRUE(CreateDirectoryA((root + "\\" + rel).c_str(), nullptr)) << rel; }
    void File(const std::string& rel, size_t size)
    {
        HANDLE h = CreateFileA((root + "\\" + rel).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h) << rel;
        std::string bytes(size, 'x');
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(size), &written, nullptr);
        CloseHandle(h);
    }

    std::string root;
    TTreeScanner scanner{nullptr};
    std::vector<std::string> Log;
};

}  // namespace

TEST_F(TreeScanTest, FilesInCaseInsensitiveOrderWithTheirSizes)
{
    File("b.bmp", 2);
    File("A.bmp", 10);
    File("c.bmp", 0);
    File("x.txt", 5);
    scanner.SetFileMask("*.bmp");
    scanner.Execute();
    EXPECT_EQ((std::vector<std::string>{"D /", "F /A.bmp 10", "F /b.bmp 2", "F /c.bmp 0", "E /c.bmp"}), Log);
    EXPECT_EQ(AnsiString((root + "\\").c_str()), scanner.GetInitialDirectory());
    EXPECT_FALSE(scanner.GetSearchInProgress());
}

TEST_F(TreeScanTest, RecursiveWalkOfAGeneratedTree)
{
    File("x.ksc", 3);
    Dir("s2");
    Dir("s1");
    File("s1\\y.ksc", 4);
    File("s1\\y.bmp", 4);
    scanner.SetFileMask("*.ksc");
    scanner.Execute();
    EXPECT_EQ((std::vector<std::string>{"D /", "F /x.ksc 3", "D /s1/", "F /s1/y.ksc 4", "E /s1/y.ksc", "D /s2/", "E /s2/",
                                        "E /s2/"}),
              Log);
}

TEST_F(TreeScanTest, NotRecursiveListsNothingBelowTheStart)
{
    Dir("sub");
    File("sub\\deep.lng", 1);
    File("top.lng", 1);
    scanner.SetFileMask("*.lng");
    scanner.SetRecursive(false);
    scanner.Execute();
    EXPECT_EQ((std::vector<std::string>{"D /", "F /top.lng 1", "D /sub/", "E /sub/"}), Log);
}

TEST_F(TreeScanTest, OddNamesAreReportedAsTheyAre)
{
    const std::vector<std::string> names = {"with space.ksc", "a..b.ksc", ".dot.ksc", "semi;colon.ksc",
                                            "amp&[x]'.ksc",   "caf\xE9.ksc", "UPPER.KSC"};
    for (const std::string& n : names) File(n, n.size());
    Dir("d e");
    File("d e\\in folder.ksc", 17);  // its length, as the others
    scanner.SetFileMask("*.ksc");
    std::vector<std::string> found;
    scanner.OnFileFound = [&](TObject*) {
        found.push_back(Rel());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(scanner.GetFileFound().c_str())) << Rel();
        EXPECT_EQ(Rel().size() - 1, scanner.GetFileSize()) << Rel();
    };
    scanner.Execute();
    EXPECT_EQ(names.size() + 1, found.size());
    EXPECT_EQ("/d e/in folder.ksc", found.back());
}

TEST_F(TreeScanTest, ADeepTreeIsWalkedAndPartsBeyondThePathLimitAreSkipped)
{
    std::string rel;
    for (int i = 0; i < 12; ++i) {
        rel += (i ? "\\" : "") + std::string("level") + std::to_string(10 + i);
        Dir(rel);
        File(rel + "\\f.ksc", i);
    }
    // Far below: past MAX_PATH, reachable only by the long-path form.
    std::wstring deep = L"\\\\?\\" + Widen(root + "\\" + rel);
    for (int i = 0; i < 12; ++i) {
        deep += L"\\" + std::wstring(20, L'a' + i);
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    Dir("zz");
    File("zz\\last.ksc", 1);
    scanner.SetFileMask("*.ksc");
    std::vector<std::string> files;
    scanner.OnFileFound = [&](TObject*) { files.push_back(Rel()); };
    scanner.Execute();
    ASSERT_EQ(13u, files.size());
    EXPECT_EQ("/level10/f.ksc", files[0]);
    EXPECT_EQ("/zz/last.ksc", files.back());
    EXPECT_FALSE(scanner.GetSearchInProgress());
}

TEST_F(TreeScanTest, AThrowingHandlerLeavesTheScannerReusable)
{
    File("a.ksc", 1);
    File("b.ksc", 1);
    scanner.SetFileMask("*.ksc");
    scanner.OnFileFound = [](TObject*) { throw Exception("handler failed"); };
    EXPECT_THROW(scanner.Execute(), Exception);
    EXPECT_FALSE(scanner.GetSearchInProgress());
    // Nothing of the walk holds the folder open.
    EXPECT_TRUE(DeleteFileA((root + "\\a.ksc").c_str()));
    int files = 0;
    scanner.OnFileFound = [&](TObject*) { ++files; };
    scanner.Execute();
    EXPECT_EQ(1, files);
}

TEST_F(TreeScanTest, EmptyStartIsTheCurrentDirectory)
{
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA(root.c_str());
    File("here.ksc", 1);
    scanner.SetInitialDirectory("");
    scanner.SetFileMask("*.ksc");
    scanner.SetRecursive(false);
    scanner.Execute();
    SetCurrentDirectoryA(saved);
    char full[MAX_PATH];
    GetFullPathNameA((root + "\\").c_str(), MAX_PATH, full, nullptr);
    EXPECT_EQ(0, CompareText(AnsiString(full), scanner.GetInitialDirectory()));
    EXPECT_EQ(3u, Log.size());
}
