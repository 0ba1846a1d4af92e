#include "pageprinter_page.h"

#include "exceptions.h"

namespace {

// The frame in 0.01 mm as the reference device measures its pixels, which
// is how playing maps the frame back to pixels.
RECT FrameOf(HDC reference, int width, int height)
{
    HDC dc = reference ? reference : GetDC(nullptr);
    double mmX = GetDeviceCaps(dc, HORZSIZE), mmY = GetDeviceCaps(dc, VERTSIZE);
    double pxX = GetDeviceCaps(dc, HORZRES), pxY = GetDeviceCaps(dc, VERTRES);
    if (!reference) ReleaseDC(nullptr, dc);
    if (pxX <= 0 || pxY <= 0) return RECT{0, 0, width, height};
    return RECT{0, 0, static_cast<LONG>(width * mmX * 100 / pxX), static_cast<LONG>(height * mmY * 100 / pxY)};
}

}  // namespace

PageRecording::PageRecording(HDC reference, int width, int height) : width_(width), height_(height)
{
    RECT frame = FrameOf(reference, width, height);
    recorder_ = CreateEnhMetaFileA(reference, nullptr, &frame, nullptr);
    if (!recorder_) throw EPrinter("Cannot record a page");
    canvas_.reset(new TCanvas);
    canvas_->SetHandle(recorder_);
}

PageRecording::~PageRecording()
{
    Finish();
    if (metafile_) DeleteEnhMetaFile(metafile_);
}

void PageRecording::Finish()
{
    if (!recorder_) return;
    canvas_->SetHandle(nullptr);
    canvas_.reset();
    metafile_ = CloseEnhMetaFile(recorder_);
    recorder_ = nullptr;
}

void PageRecording::Play(HDC dc, const RECT& r)
{
    Finish();
    if (metafile_) PlayEnhMetaFile(dc, metafile_, &r);
}
