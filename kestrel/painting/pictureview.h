// What the picture document asks of the window that shows it: repaints, the
// zoom, the canvas for the marching ants, the activity timer and the busy
// cursor. The image windows and the main window install these services when
// they exist; with none installed there is no window, so there is nothing
// to repaint and the zoom is 1.
#ifndef KESTREL_PICTUREVIEW_H
#define KESTREL_PICTUREVIEW_H

#include <functional>
#include "marching_ants.h"

class UDBuffer;

// The pictures of the image windows in creation order, and the active one.
extern UDBuffer* CurrentPicture;
int ImagePictureCount();
UDBuffer* ImagePicture(int index);
// The image window keeps this list; at most 32 windows exist.
bool AddImagePicture(UDBuffer* pic);
void RemoveImagePicture(UDBuffer* pic);

struct PictureViewServices {
    std::function<void(UDBuffer*)> repaint;         // the view of the window showing it
    std::function<void(UDBuffer*)> pixelsChanged;   // new block: the view must take it
    std::function<void()> updateView;               // the current window after undo/redo
    std::function<double(UDBuffer*)> zoom;          // view pixels per picture pixel
    std::function<bool(UDBuffer*, AntsSurface&)> antsSurface;
    std::function<void(bool on)> activityTimer;
    std::function<void(bool busy)> busyCursor;
};
extern PictureViewServices PictureViews;

void RepaintPictureView(UDBuffer* pic);
void PicturePixelsChanged(UDBuffer* pic);
void UpdateCurrentView();
double PictureZoom(UDBuffer* pic);
bool FindAntsSurface(UDBuffer* pic, AntsSurface& surface);
void SetActivityTimer(bool on);
void SetBusyCursor(bool busy);

#endif
