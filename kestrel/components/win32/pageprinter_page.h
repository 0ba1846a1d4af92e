// One recorded page of the page printer: an enhanced metafile whose frame
// is the page's size in printer pixels, so that playing it into a rectangle
// of that size reproduces it dot for dot, and into a smaller one scales it.
#ifndef KESTREL_PAGEPRINTER_PAGE_H
#define KESTREL_PAGEPRINTER_PAGE_H

#include <memory>
#include "canvas.h"

class PageRecording {
public:
    // reference: the device whose pixels the page is drawn in (null: the
    // screen). EPrinter when the system cannot record.
    PageRecording(HDC reference, int width, int height);
    ~PageRecording();
    PageRecording(const PageRecording&) = delete;
    PageRecording& operator=(const PageRecording&) = delete;

    // Null once finished.
    TCanvas* GetCanvas() { return canvas_.get(); }
    bool Recording() const { return recorder_ != nullptr; }
    // Ends the recording; drawing is no longer possible.
    void Finish();
    // Plays the page into r (finishing it first).
    void Play(HDC dc, const RECT& r);
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    HDC recorder_ = nullptr;
    HENHMETAFILE metafile_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    int width_, height_;
};

#endif
