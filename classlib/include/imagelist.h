// TImageList: a row of same-sized images (toolbar glyphs) over a common
// controls image list, made on first use with a mask.
#ifndef CLASSLIB_IMAGELIST_H
#define CLASSLIB_IMAGELIST_H

#include "winapi.h"
#include <commctrl.h>
#include "graphic.h"

class TBitmap;

class TImageList {
public:
    TImageList() = default;  // 16 x 16
    TImageList(int width, int height);
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;
    virtual ~TImageList();

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    // Changing the size clears the list.
    void SetWidth(int width);
    void SetHeight(int height);
    int GetCount() const;

    HIMAGELIST GetHandle();
    // Takes ownership; the size comes from the list.
    void SetHandle(HIMAGELIST list);

    // Each returns the index of the first image added; a bitmap wider than
    // Width adds several. maskColor's pixels become transparent.
    int Add(TBitmap* image, TBitmap* mask);
    int AddMasked(TBitmap* image, TColor maskColor);
    void Delete(int index);
    void Clear();
    // Disabled images are drawn greyed. A bad index raises EInvalidOperation.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);

    std::function<void(TImageList* Sender)> OnChange;

private:
    void CheckIndex(int index) const;
    void Changed();

    int width_ = 16;
    int height_ = 16;
    HIMAGELIST handle_ = nullptr;
};

#endif
