// TImageList over ImageList_* of comctl32.
#include "imagelist.h"
#include "bitmap.h"
#include "canvas.h"

TImageList::TImageList(int width, int height) : width_(width > 0 ? width : 16), height_(height > 0 ? height : 16) {}

TImageList::~TImageList()
{
    if (handle_) ImageList_Destroy(handle_);
}

void TImageList::Changed()
{
    if (OnChange) OnChange(this);
}

void TImageList::SetWidth(int width)
{
    if (width <= 0 || width == width_) return;
    width_ = width;
    if (handle_) ImageList_SetIconSize(handle_, width_, height_);  // also removes every image
    Changed();
}

void TImageList::SetHeight(int height)
{
    if (height <= 0 || height == height_) return;
    height_ = height;
    if (handle_) ImageList_SetIconSize(handle_, width_, height_);
    Changed();
}

int TImageList::GetCount() const
{
    return handle_ ? ImageList_GetImageCount(handle_) : 0;
}

HIMAGELIST TImageList::GetHandle()
{
    if (!handle_) {
        handle_ = ImageList_Create(width_, height_, ILC_COLORDDB | ILC_MASK, 4, 4);
        if (!handle_) throw EOutOfResources("Out of system resources");
    }
    return handle_;
}

void TImageList::SetHandle(HIMAGELIST list)
{
    if (list == handle_) return;
    if (handle_) ImageList_Destroy(handle_);
    handle_ = list;
    if (list) ImageList_GetIconSize(list, &width_, &height_);
    Changed();
}

int TImageList::Add(TBitmap* image, TBitmap* mask)
{
    if (!image || image->GetEmpty()) throw EInvalidOperation("Invalid image");
    int index = ImageList_Add(GetHandle(), image->GetHandle(), mask && !mask->GetEmpty() ? mask->GetHandle() : nullptr);
    if (index < 0) throw EInvalidOperation("Failed to add image");
    Changed();
    return index;
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    if (!image || image->GetEmpty()) throw EInvalidOperation("Invalid image");
    int index = ImageList_AddMasked(GetHandle(), image->GetHandle(), COLORREF(ColorToRGB(maskColor)));
    if (index < 0) throw EInvalidOperation("Failed to add image");
    Changed();
    return index;
}

void TImageList::CheckIndex(int index) const
{
    if (index < 0 || index >= GetCount())
        throw EInvalidOperation(AnsiString().sprintf("Image list index out of bounds (%d)", index));
}

void TImageList::Delete(int index)
{
    CheckIndex(index);
    ImageList_Remove(handle_, index);
    Changed();
}

void TImageList::Clear()
{
    if (handle_) ImageList_RemoveAll(handle_);
    Changed();
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled)
{
    CheckIndex(index);
    HDC dc = canvas->GetHandle();
    if (enabled) {
        ImageList_Draw(handle_, index, dc, x, y, ILD_NORMAL);
    } else {
        IMAGELISTDRAWPARAMS p = {};
        p.cbSize = sizeof p;
        p.himl = handle_;
        p.i = index;
        p.hdcDst = dc;
        p.x = x;
        p.y = y;
        p.rgbBk = CLR_NONE;
        p.rgbFg = CLR_DEFAULT;
        p.fStyle = ILD_NORMAL;
        p.fState = ILS_SATURATE;
        ImageList_DrawIndirect(&p);
    }
}
