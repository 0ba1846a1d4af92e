// The image and effect browser in the started program: the cache across
// visits (129 pictures: two blocks, nothing loaded again, a changed file
// rebuilt, an emptied folder without cache), the entries, a damaged or
// unwritable cache, an idle worker, and clicks on files and folders.
// Effect mode runs in the program test with the component host.
#include <sys/stat.h>
#include <sys/utime.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "../../gui/win32/timed_step.h"
#include "browseform.h"
#include "browser_layout.h"
#include "browser_worker.h"
#include "mainwindow_fixture.h"
#include "picturefiles_fixture.h"

namespace {

class BrowseFormTest : public MainWindow {
protected:
    void SetUp() override
    {
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        dir = std::string(base) + "kestrel-browse-" + std::to_string(GetCurrentProcessId()) + "\\";
        Clean();
        CreateDirectoryA(dir.c_str(), nullptr);
        MainWindow::SetUp();
        AppSettings.CacheThumbs = true;
    }
    void TearDown() override
    {
        BrowserFolder = "";
        Clean();
        MainWindow::TearDown();
    }
    // Only what the tests put there: the files of the folder and of its
    // sub-folders, one level down.
    void Clean()
    {
        ASSERT_NE(std::string::npos, dir.find("kestrel-browse-"));
        for (const char* sub : {"Sub\\", "Inner\\", ""}) {
            std::string folder = dir + sub;
            WIN32_FIND_DATAA fd;
            HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
            if (h == INVALID_HANDLE_VALUE) continue;
            do
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + fd.cFileName).c_str());
            while (FindNextFileA(h, &fd));
            FindClose(h);
            RemoveDirectoryA(folder.c_str());
        }
    }
    void Picture(const std::string& name, int w, int h, int seed)
    {
        Buffer b;
        FillPattern(b, w, h, seed);
        GFXSaveParams p;
        memset(&p, 0, sizeof p);
        p.bits = 24;
        ASSERT_TRUE(GFXFile::Save(b, (dir + name).c_str(), nullptr, &p)) << name;
    }

    // Lets the worker hand cells over until cond holds (false after 20 s).
    static bool PumpUntil(const std::function<bool()>& cond)
    {
        for (int i = 0; i < 2000 && !cond(); ++i) {
            Application->ProcessMessages();
            Sleep(10);
        }
        return cond();
    }
    static bool RangeShown(TBrowseForm* f)
    {
        BrowserRange r = VisibleRange(f->Panel1->GetTop(), f->ScrollBox1->GetClientHeight());
        for (int i = r.first; i <= r.last && i < f->EntryCount(); ++i)
            if (!f->CellShows(i)) return false;
        return true;
    }
    // Shows the browser on folder, scrolls through every row, hides it.
    void Visit(const std::string& folder, const std::function<void(TBrowseForm*)>& check = nullptr)
    {
        BrowserFolder = folder.c_str();
        std::unique_ptr<TBrowseForm> f(NewForm<TBrowseForm>(MainForm, bmImages, 0));
        f->Show();
        for (int pos = 0;; pos += 30) {
            f->ScrollBar1->SetPosition(std::min(pos, f->ScrollBar1->GetMax()));
            ASSERT_TRUE(PumpUntil([&] { return RangeShown(f.get()); })) << "position " << pos;
            if (pos >= f->ScrollBar1->GetMax()) break;
        }
        if (check) check(f.get());
        f->Hide();
    }
    std::string Caption(TBrowseForm* f, int index)
    {
        for (int n = 0; n < BrowserCells; ++n)
            if (f->Cell(n).view->GetTag() == index) return f->Cell(n).label->GetCaption().c_str();
        return "<no cell>";
    }
    bool Exists(const std::string& name) { return GetFileAttributesA((dir + name).c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::string dir;
};

// A file written again with another size, a second later.
void Rewrite(const std::string& path, int w, int h)
{
    Buffer b;
    FillPattern(b, w, h, 99);
    GFXSaveParams p;
    memset(&p, 0, sizeof p);
    p.bits = 24;
    ASSERT_TRUE(GFXFile::Save(b, path.c_str(), nullptr, &p));
    struct _utimbuf t = {std::time(nullptr) + 5, std::time(nullptr) + 5};
    _utime(path.c_str(), &t);
}

TEST_F(BrowseFormTest, TheCacheServesTheSecondVisitAndRebuildsAChangedFile)
{
    for (int i = 0; i < 129; ++i) Picture("p" + std::to_string(1000 + i) + ".png", 20 + i % 50, 10 + i % 30, i);
    {
        // Hidden at once: the worker is stopped in the middle of its work.
        BrowserFolder = dir.c_str();
        std::unique_ptr<TBrowseForm> f(NewForm<TBrowseForm>(MainForm, bmImages, 0));
        f->Show();
        f->Hide();
    }
    BrowserPictureLoads = 0;
    Visit(dir);
    EXPECT_EQ(129, BrowserPictureLoads.load());
    {
        BrowserCache cache;
        ASSERT_TRUE(cache.Open(dir));
        EXPECT_EQ(2, cache.Blocks());
        int slot = cache.Find("p1128.png");
        ASSERT_GE(slot, 0);
        EXPECT_EQ(20 + 128 % 50, cache.Entry(slot).pictureWidth);
    }

    BrowserPictureLoads = 0;
    Visit(dir, [&](TBrowseForm* f) { EXPECT_EQ("p1128.png", Caption(f, 129)); });  // entry 0 is the parent
    EXPECT_EQ(0, BrowserPictureLoads.load());

    Rewrite(dir + "p1005.png", 77, 33);
    struct stat st;
    ASSERT_EQ(0, stat((dir + "p1005.png").c_str(), &st));
    Visit(dir);
    EXPECT_EQ(1, BrowserPictureLoads.load());
    BrowserCache cache;
    ASSERT_TRUE(cache.Open(dir));
    int slot = cache.Find("p1005.png");
    ASSERT_GE(slot, 0);
    EXPECT_EQ(uint32_t(st.st_size), cache.Entry(slot).size);
    EXPECT_EQ(uint32_t(st.st_mtime), cache.Entry(slot).time);
    EXPECT_EQ(77, cache.Entry(slot).pictureWidth);
    EXPECT_EQ(120, cache.Entry(slot).thumbWidth);
}

// For browser_crosscheck.py: browses the folder it filled, so that it can
// read the cache with its own reader.
TEST_F(BrowseFormTest, ExportForPython)
{
    const char* folder = std::getenv("KESTREL_BROWSER_EXPORT");
    if (!folder) GTEST_SKIP() << "KESTREL_BROWSER_EXPORT not set";
    std::string d = std::string(folder) + "\\";
    BrowserPictureLoads = 0;
    Visit(d);
    int first = BrowserPictureLoads;
    Visit(d);
    EXPECT_GT(first, 0);
    EXPECT_EQ(first, BrowserPictureLoads.load());  // the second visit loaded nothing
}

TEST_F(BrowseFormTest, EntriesFoldersFilesAndTheCacheOfAnEmptiedFolder)
{
    Picture("a.png", 30, 20, 1);
    Picture("b.bmp", 40, 90, 2);
    WriteBytes(dir + "x.xyz", "not listed");
    WriteBytes(dir + "y.png", "not a picture at all");
    CreateDirectoryA((dir + "Sub").c_str(), nullptr);
    FolderGlyph->SetSize(32, 28);  // the program's folder pictures are 32 x 28
    Visit(dir, [&](TBrowseForm* f) {
        ASSERT_EQ(5, f->EntryCount());
        EXPECT_EQ("\\..\\", Caption(f, 0));
        EXPECT_EQ("SUB", Caption(f, 1));
        for (int n = 0; n < BrowserCells; ++n)
            if (f->Cell(n).view->GetTag() == 1) {
                EXPECT_EQ(102, f->Cell(n).picture.Width());  // scaled by 90/28
                EXPECT_EQ(90, f->Cell(n).picture.Height());
            }
        EXPECT_EQ("a.png", Caption(f, 2));
        EXPECT_EQ("y.png", Caption(f, 4));
        for (int n = 0; n < BrowserCells; ++n)
            if (f->Cell(n).view->GetTag() == 3) {
                EXPECT_EQ(40, f->Cell(n).picture.Width());  // fits at its own size
                EXPECT_EQ(90, f->Cell(n).picture.Height());
                EXPECT_STREQ(("40 x 90 " + Translate("Pixels") + "\r\n11 " + Translate("KBytes")).c_str(),
                             f->Cell(n).view->GetHint().c_str());  // 10,854 bytes
            }
    });
    EXPECT_TRUE(Exists("browser.ks"));
    DeleteFileA((dir + "a.png").c_str());
    DeleteFileA((dir + "b.bmp").c_str());
    Visit(dir);
    EXPECT_FALSE(Exists("browser.ks"));

}

TEST_F(BrowseFormTest, ADamagedOrUnwritableCacheStillBrowses)
{
    Picture("c.png", 50, 50, 3);
    // One entry for c.png claiming a 5000-pixel-wide thumbnail.
    std::string raw(CacheThumbsOffset, '\0');
    raw[0] = 1;
    raw.replace(1, 5, "c.png");
    raw[268] = char(5000 & 255);
    raw[269] = char(5000 >> 8);
    raw[CacheNextOffset] = 1;  // and a next block that is not there
    WriteBytes(dir + "browser.ks", raw);
    BrowserPictureLoads = 0;
    Visit(dir, [&](TBrowseForm* f) { EXPECT_EQ("c.png", Caption(f, 1)); });
    EXPECT_EQ(1, BrowserPictureLoads.load());

    const char* readOnly = std::getenv("KESTREL_READONLY_DRIVE");
    if (!readOnly) return;
    Visit(readOnly);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((std::string(readOnly) + "browser.ks").c_str()));
}

TEST_F(BrowseFormTest, AnIdleWorkerTakesNoProcessorTime)
{
    for (int i = 0; i < 3; ++i) Picture("i" + std::to_string(i) + ".png", 30, 30, i);
    BrowserFolder = dir.c_str();
    std::unique_ptr<TBrowseForm> f(NewForm<TBrowseForm>(MainForm, bmImages, 0));
    f->Show();
    ASSERT_TRUE(PumpUntil([&] { return RangeShown(f.get()); }));
    Application->ProcessMessages();
    auto busy = [&] {
        FILETIME created, ended, kernel, user;
        GetThreadTimes(f->Thread()->GetHandle(), &created, &ended, &kernel, &user);
        return (ULARGE_INTEGER{{kernel.dwLowDateTime, kernel.dwHighDateTime}}.QuadPart +
                ULARGE_INTEGER{{user.dwLowDateTime, user.dwHighDateTime}}.QuadPart) / 10000;  // ms
    };
    unsigned long long before = busy();
    for (int i = 0; i < 50; ++i) {
        Application->ProcessMessages();
        Sleep(20);
    }
    EXPECT_LT(busy() - before, 100u) << "milliseconds of processor time in one idle second";
    f->Hide();
}

TEST_F(BrowseFormTest, AFileClickOpensItAndAFolderClickBrowsesThere)
{
    Picture("open.png", 31, 17, 5);
    CreateDirectoryA((dir + "Inner").c_str(), nullptr);
    Picture("Inner\\deep.png", 12, 12, 6);
    BrowserFolder = dir.c_str();
    int windows = ImageFormCount();
    gui::WhenOpen<TBrowseForm>([&](TBrowseForm* f) {
        ASSERT_TRUE(PumpUntil([&] { return RangeShown(f); }));
        ASSERT_EQ(3, f->EntryCount());
        for (int n = 0; n < BrowserCells; ++n)
            if (f->Cell(n).view->GetTag() == 1) gui::Click(f->Cell(n).view, 5, 5);  // INNER
        ASSERT_TRUE(PumpUntil([&] { return f->EntryCount() == 2 && RangeShown(f); }));
        EXPECT_EQ(dir + "Inner\\", std::string(BrowserFolder.c_str()));
        EXPECT_EQ("..", std::string(f->Entries()[0].text.c_str()));
        for (int n = 0; n < BrowserCells; ++n)
            if (f->Cell(n).view->GetTag() == 0) gui::Click(f->Cell(n).view, 5, 5);  // back up
        ASSERT_TRUE(PumpUntil([&] { return f->EntryCount() == 3 && RangeShown(f); }));
        for (int n = 0; n < BrowserCells; ++n)
            if (f->Cell(n).view->GetTag() == 2) gui::Click(f->Cell(n).view, 5, 5);  // open.png
    });
    auto* browse = dynamic_cast<TMenuItem*>(MainForm->FindComponent("Browse1"));  // File > Browse...
    ASSERT_NE(nullptr, browse);
    browse->Click();
    ASSERT_EQ(windows + 1, ImageFormCount());
    EXPECT_EQ(dir + "open.png", std::string(CurrentPicture->fileName.c_str()));
    EXPECT_EQ(31, CurrentPicture->Width());
    EXPECT_EQ(dir, std::string(LastDirectory.c_str()));
    EXPECT_EQ(nullptr, BrowseForm);
}

TEST_F(BrowseFormTest, TheDriveBoxEscapeAndHelp)
{
    BrowserFolder = dir.c_str();
    int windows = ImageFormCount();
    gui::WhenOpen<TBrowseForm>([&](TBrowseForm* f) {
        // The drive box goes to the drive's root, which has no parent entry.
        f->DriveComboBox->SetDrive('c');
        f->DriveComboBox->OnChange(f->DriveComboBox);
        ASSERT_TRUE(PumpUntil([&] { return f->FileLabel->GetFileName() == "C:\\" && RangeShown(f); }));
        ASSERT_GT(f->EntryCount(), 0);
        EXPECT_NE("..", std::string(f->Entries()[0].text.c_str()));
        EXPECT_EQ('C', f->DriveComboBox->GetDrive());
        f->HelpBtn->Click();
        gui::PostKey(f->CloseBtn, VK_ESCAPE);
    });
    RunImageBrowser(MainForm);
    EXPECT_EQ(nullptr, BrowseForm);
    EXPECT_EQ(windows, ImageFormCount());
    ASSERT_EQ(1u, recorder->Helps.size());
    EXPECT_EQ(1130u, recorder->Helps[0].Data);
}

}  // namespace
