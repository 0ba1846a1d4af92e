#include "pictureview.h"

#include <algorithm>
#include <vector>

UDBuffer* CurrentPicture = nullptr;
PictureViewServices PictureViews;

static const int MaxImageWindows = 32;
static std::vector<UDBuffer*>& Pictures()
{
    static std::vector<UDBuffer*> list;
    return list;
}

int ImagePictureCount() { return int(Pictures().size()); }

UDBuffer* ImagePicture(int index)
{
    return index >= 0 && index < ImagePictureCount() ? Pictures()[size_t(index)] : nullptr;
}

bool AddImagePicture(UDBuffer* pic)
{
    if (ImagePictureCount() >= MaxImageWindows) return false;
    Pictures().push_back(pic);
    return true;
}

void RemoveImagePicture(UDBuffer* pic)
{
    auto& list = Pictures();
    list.erase(std::remove(list.begin(), list.end(), pic), list.end());
    if (CurrentPicture == pic) CurrentPicture = nullptr;
}

void RepaintPictureView(UDBuffer* pic)
{
    if (PictureViews.repaint) PictureViews.repaint(pic);
}

void PicturePixelsChanged(UDBuffer* pic)
{
    if (PictureViews.pixelsChanged) PictureViews.pixelsChanged(pic);
}

void UpdateCurrentView()
{
    if (PictureViews.updateView) PictureViews.updateView();
}

double PictureZoom(UDBuffer* pic) { return PictureViews.zoom ? PictureViews.zoom(pic) : 1.0; }

bool FindAntsSurface(UDBuffer* pic, AntsSurface& surface)
{
    return PictureViews.antsSurface && PictureViews.antsSurface(pic, surface);
}

void SetActivityTimer(bool on)
{
    if (PictureViews.activityTimer) PictureViews.activityTimer(on);
}

void SetBusyCursor(bool busy)
{
    if (PictureViews.busyCursor) PictureViews.busyCursor(busy);
}
