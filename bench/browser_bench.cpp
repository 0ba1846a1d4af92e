// The image browser's thumbnails per second on a folder of 100 photos of
// 3000 x 2000 (JPEG, written here), beside the plain loop that loads each
// file through Pixmill and scales it to the same thumbnail:
//   first visit   no browser.ks yet: every file is loaded, scaled and stored
//   cached visit  every thumbnail comes from browser.ks
// With a display, a visit is the browser window itself scrolled through
// every row, its worker thread handing the cells over; without one (make
// bench runs without), the same per-cell routine the worker calls, in a
// loop. Targets: first visit at least 0.9 x the plain loop, cached at
// least 20 x.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <string>

#include "application.h"
#include "appsettings.h"
#include "bench_ratio.h"
#include "browseform.h"
#include "browser_layout.h"
#include "browser_worker.h"
#include "buffer.h"
#include "exceptions.h"
#include "gfxfile.h"

// (The class library has a Now() of its own: bench_timer.h's would clash.)
static double Seconds()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

static const int Photos = 100, PhotoWidth = 3000, PhotoHeight = 2000;

static unsigned long Rgb(int r, int g, int b)
{
    auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    return (unsigned long)clamp(r) << 16 | (unsigned long)clamp(g) << 8 | (unsigned long)clamp(b);
}

// Sky-like shading, discs with sharp edges and a little sensor noise.
static void MakePhoto(Buffer& b)
{
    b.Alloc({PhotoWidth, PhotoHeight});
    const int unit = PhotoHeight / 12;
    unsigned seed = 99;
    for (int y = 0; y < PhotoHeight; y++)
        for (int x = 0; x < PhotoWidth; x++) {
            seed = seed * 1103515245 + 12345;
            int n = int(seed >> 29) - 4;
            int r = 90 + 100 * y / PhotoHeight, g = 140 + 60 * y / PhotoHeight, bl = 220 - 40 * x / PhotoWidth;
            int cx = x % (4 * unit) - 2 * unit, cy = y % (4 * unit) - 2 * unit;
            if (cx * cx + cy * cy < unit * unit) {
                r = 200 - 80 * cy / unit;
                g = 120 + 40 * cx / unit;
                bl = 40;
            }
            *b.At(x, y) = Rgb(r + n, g + n, bl + n);
        }
}

static std::string Folder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    return std::string(base) + "kestrel-browser-bench\\";
}

static std::string PhotoName(int i)
{
    char name[32];
    snprintf(name, sizeof name, "photo%03d.jpg", i);
    return name;
}

// One photo written through Pixmill, then copied: the cache tells files
// apart by name, time and size, not by content.
static void MakeFolder(const std::string& dir)
{
    CreateDirectoryA(dir.c_str(), nullptr);
    DeleteFileA((dir + "browser.ks").c_str());
    Buffer photo;
    MakePhoto(photo);
    GFXSaveParams p = {};
    p.bits = 24;
    p.quality = 85;
    if (!GFXFile::Save(photo, (dir + PhotoName(0)).c_str(), nullptr, &p)) Mismatch("the photo was not written");
    for (int i = 1; i < Photos; i++)
        if (!CopyFileA((dir + PhotoName(0)).c_str(), (dir + PhotoName(i)).c_str(), FALSE)) Mismatch("copy failed");
}

static void RemoveFolder(const std::string& dir)
{
    for (int i = 0; i < Photos; i++) DeleteFileA((dir + PhotoName(i)).c_str());
    DeleteFileA((dir + "browser.ks").c_str());
    RemoveDirectoryA(dir.c_str());
}

// The baseline: load and scale, nothing else.
static double PlainLoop(const std::string& dir, Buffer& lastThumb)
{
    double start = Seconds();
    for (int i = 0; i < Photos; i++) {
        Buffer picture;
        GFXFileDesc d = {};
        AnsiString name = (dir + PhotoName(i)).c_str();
        if (!GFXFile::Load(picture, name, nullptr, 0, &d)) Mismatch("the plain loop did not load a photo");
        BrowserSize s = ThumbnailSize(picture.Width(), picture.Height());
        lastThumb.Free();
        lastThumb.Alloc({s.width, s.height});
        lastThumb.Scale(picture, {s.width, s.height}, {0, 0}, 0xFFFFFFFF, -1);
    }
    return Seconds() - start;
}

// The worker's per-cell routine over every file, with the cache open.
static double RoutineVisit(const std::string& dir)
{
    UDBuffer thumb;
    double start = Seconds();
    BrowserCache cache;
    cache.Open(dir);
    for (int i = 0; i < Photos; i++) {
        AnsiString caption, hint;
        if (MakeImageThumbnail(cache, (dir + PhotoName(i)).c_str(), thumb, caption, hint) != 0)
            Mismatch("no thumbnail");
    }
    cache.Close();
    return Seconds() - start;
}

static bool RangeShown(TBrowseForm* f)
{
    BrowserRange r = VisibleRange(f->Panel1->GetTop(), f->ScrollBox1->GetClientHeight());
    for (int i = r.first; i <= r.last && i < f->EntryCount(); i++)
        if (!f->CellShows(i)) return false;
    return true;
}

// The browser window scrolled row by row to the end.
static double WindowVisit(const std::string& dir)
{
    BrowserFolder = dir.c_str();
    std::unique_ptr<TBrowseForm> f(NewForm<TBrowseForm>(nullptr, bmImages, 0));
    double start = Seconds();
    f->Show();
    for (int pos = 0;; pos += 30) {
        f->ScrollBar1->SetPosition(std::min(pos, f->ScrollBar1->GetMax()));
        while (!RangeShown(f.get())) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            Application->ProcessMessages();
        }
        if (pos >= f->ScrollBar1->GetMax()) break;
    }
    f->Hide();
    double t = Seconds() - start;
    GFXFile::SetProgFunc(nullptr, nullptr, nullptr);  // hiding put the program's hooks back
    return t;
}

static bool Same(Buffer& a, Buffer& b)
{
    if (!a.pixels || !b.pixels || a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); y++)
        for (int x = 0; x < a.Width(); x++)
            if ((*a.At(a.left + x, a.top + y) & 0xFFFFFF) != (*b.At(b.left + x, b.top + y) & 0xFFFFFF)) return false;
    return true;
}

int main()
{
    bool window = getenv("DISPLAY") != nullptr;
    std::unique_ptr<TApplication> app;
    if (window) {
        app.reset(new TApplication);
        app->Initialize();
    }
    AppSettings.CacheThumbs = true;
    std::string dir = Folder();
    MakeFolder(dir);
    printf("%d photos of %d x %d, visits through %s\n", Photos, PhotoWidth, PhotoHeight,
           window ? "the browser window and its worker" : "the worker's per-cell routine (no display)");

    // Best of two rounds each, interleaved, so that a slow spell of the
    // machine does not fall on one side only.
    Buffer plainThumb;
    auto visit = [&] { return window ? WindowVisit(dir) : RoutineVisit(dir); };
    double plain = 1e9, first = 1e9;
    for (int round = 0; round < 2; round++) {
        plain = std::min(plain, PlainLoop(dir, plainThumb));
        DeleteFileA((dir + "browser.ks").c_str());
        BrowserPictureLoads = 0;
        first = std::min(first, visit());
        if (BrowserPictureLoads != Photos) Mismatch("the first visit did not load every photo once");
    }
    BrowserPictureLoads = 0;
    double cached = visit();
    if (BrowserPictureLoads != 0) Mismatch("the cached visit loaded photos");
    BrowserCache cache;
    Buffer cachedThumb;
    int slot = cache.Open(dir) ? cache.Find(PhotoName(Photos - 1)) : -1;
    if (slot < 0 || !cache.ReadThumbnail(slot, cachedThumb) || !Same(plainThumb, cachedThumb))
        Mismatch("the cached thumbnail differs from the plain loop's");
    cache.Close();
    RemoveFolder(dir);

    printf("plain load and scale  %7.2f thumbnails/s\n", Photos / plain);
    printf("browser, first visit  %7.2f thumbnails/s\n", Photos / first);
    printf("browser, cached visit %7.2f thumbnails/s\n", Photos / cached);
    Ratio("browser thumbnails, first visit", "load and scale loop", first, plain);
    Ratio("browser thumbnails, cached visit", "load and scale loop", cached, plain);
    return 0;
}
