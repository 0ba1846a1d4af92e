#include "picture_document.h"

#include <cstdlib>

#include "marching_ants.h"
#include "outline_path.h"
#include "pictureview.h"
#include "selection_scale.h"
#include "selection_trace.h"
#include "undo_internal.h"

UDBuffer::UDBuffer() : saveParams()
{
    saveParams.bits = 24;
    saveParams.grey = 0;
}

UDBuffer::~UDBuffer()
{
    // Through the list code, so the program's totals lose these steps too.
    DiscardList(this, UndoSteps);
    DiscardList(this, RedoSteps);
    std::free(palette);
    FreeOutlinePath(outlinePath);
    FreeOutlinePath(zoomedOutlinePath);
}

void UDBuffer::CopyAttributes(const UDBuffer& other)
{
    noFile = other.noFile;
    modified = other.modified;
    fileName = other.fileName;
    imageNumber = other.imageNumber;
    selMinX = other.selMinX;
    selMaxX = other.selMaxX;
    selMinY = other.selMinY;
    selMaxY = other.selMaxY;
}

void UDBuffer::ClearSelectionRect()
{
    selMinX = selMinY = 65536;
    selMaxX = selMaxY = -1;
}

void UDBuffer::TraceSelection()
{
    // The ants are not drawn from a path being rebuilt.
    SetActivityTimer(false);
    SetBusyCursor(true);
    FreeOutlinePath(outlinePath);
    outlinePath = TraceOutline(*this, SelectionRect());
    if (!outlinePath) FreeOutlinePath(zoomedOutlinePath);
    SetBusyCursor(false);
    // The timer also steps the spray: it must run again even when no
    // outline follows to be scaled.
    SetActivityTimer(true);
}

void UDBuffer::ScaleSelectionPath()
{
    if (!outlinePath) {
        RepaintPictureView(this);
        return;
    }
    SetActivityTimer(false);
    FreeOutlinePath(zoomedOutlinePath);
    zoomedOutlinePath = ScaleOutline(outlinePath, PictureZoom(this));
    RepaintPictureView(this);
    SetActivityTimer(true);
}

void UDBuffer::DrawMarchingAnts(bool advance)
{
    if (!zoomedOutlinePath) return;
    AntsSurface surface;
    if (!FindAntsSurface(this, surface)) return;
    if (advance) AdvanceAntsPhase();
    DrawAntsPath(zoomedOutlinePath, AntsPhase, surface);
}

bool UDBuffer::DropSelection(bool withUndo)
{
    if (!outlinePath) return true;
    if (withUndo && !SaveUndo(this, "DelSel", nullptr, selMinX, selMinY, selMaxX, selMaxY)) return false;
    SetActivityTimer(false);
    FreeOutlinePath(outlinePath);
    FreeOutlinePath(zoomedOutlinePath);
    Bool(1, ~SelectedBit);
    ClearSelectionRect();
    SetActivityTimer(true);
    if (CurrentPicture) RepaintPictureView(CurrentPicture);
    return true;
}
