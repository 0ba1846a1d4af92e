// UDBuffer: the picture document. The pixels (a Pixmill Buffer) plus where
// the picture came from, whether it changed, its selection and the outline
// of the selection, and its undo and redo lists.
//
// The selection lives in the pixels: bit 0x04000000 marks a selected pixel;
// the selection rectangle bounds them and the outline path is traced from
// them. The selection exists while the outline path is not null.
//
// Undo contract: every change records its step BEFORE pixels change
// (SaveUndo, which may refuse: then the change must not start), and a
// painting operation ends by cropping the step to what it touched
// (ShrinkUndo).
#ifndef KESTREL_PICTURE_DOCUMENT_H
#define KESTREL_PICTURE_DOCUMENT_H

#include "ansistring.h"
#include "buffer.h"
#include "gfxfile.h"

struct UndoEntry;

// Figures of one list, in kilobytes.
struct UndoFigures {
    long long memKB = 0;
    long long diskKB = 0;
};

class UDBuffer : public Buffer {
public:
    unsigned char noFile = 0;          // no file yet (new or scanned); saving clears it
    unsigned long modified = 0;        // changes since load or save
    AnsiString fileName;
    int imageNumber = 0;               // image inside a file that holds several
    int untitledNumber = 0;            // shown after "Untitled"
    GFXSaveParams saveParams;
    unsigned char* palette = nullptr;  // 768 bytes R, G, B (malloc), or null
    unsigned char* outlinePath = nullptr;        // picture pixels
    unsigned char* zoomedOutlinePath = nullptr;  // view pixels
    // Selection bounds; empty is minX 65536, maxX -1, minY 65536, maxY -1.
    int selMinX = 65536, selMaxX = -1, selMinY = 65536, selMaxY = -1;
    UndoEntry* undoHead = nullptr;  // newest undo step
    UndoFigures undoFig;
    UndoEntry* redoHead = nullptr;  // newest redo step
    UndoFigures redoFig;

    UDBuffer();
    ~UDBuffer();
    // A picture owns its pixels, palette, paths and steps: never copied.
    UDBuffer(const UDBuffer&) = delete;
    UDBuffer& operator=(const UDBuffer&) = delete;
    UDBuffer(UDBuffer&) = delete;
    UDBuffer& operator=(UDBuffer&) = delete;

    // No-file flag, modified counter, file name, image number and selection
    // rectangle; not the untitled number, save parameters, palette or paths.
    void CopyAttributes(const UDBuffer& other);

    bool HasSelection() const { return outlinePath != nullptr; }
    Rect SelectionRect() const { return Rect{selMinX, selMinY, selMaxX, selMaxY}; }
    void ClearSelectionRect();

    void TraceSelection();
    void ScaleSelectionPath();
    void DrawMarchingAnts(bool advance);
    // False when the "DelSel" step could not be recorded: the selection is
    // then kept and the caller abandons what it was about to do.
    bool DropSelection(bool withUndo);

    // --- Undo and redo (undo_*.cpp) ---
    // left -1 records the whole picture. The step goes on owner's list (the
    // picture's own when null) and discards owner's redo steps. False after
    // the failure message was shown.
    static bool SaveUndo(UDBuffer* pic, const AnsiString& key, UDBuffer* owner, int left, int top, int right,
                         int bottom);
    // Crops the newest undo step to the rectangle (picture coordinates) the
    // operation really changed. A failed crop leaves the step as it was.
    static void ShrinkUndo(UDBuffer* pic, int left, int top, int right, int bottom);
    // False when nothing was undone (no step, no memory, unreadable step).
    static bool Undo(UDBuffer* pic, bool keepRedo);
    static bool Redo(UDBuffer* pic);
    static void DropUndo(UDBuffer* pic);
    static void DropRedo(UDBuffer* pic);
    static void DropAllRedo(UDBuffer* pic);
    // dest := the rectangle as the newest undo step holds it, edge pixels
    // repeated outward where the rectangle passes the step. False when there
    // is no step or it cannot be read (dest is then black, or empty).
    static bool CopyFromUndo(UDBuffer* pic, Buffer& dest, int left, int top, int right, int bottom);
    static Pair<int> NewestUndoSize(UDBuffer* pic);  // (0, 0) without a step
    // False when some steps could not be moved and were discarded.
    static bool MoveUndoFiles(UDBuffer* pic);
    // Brings the undo figures within lowered limits: old spill files are
    // deleted, then old steps in memory spill; pic's newest step stays.
    static void TrimUndo(UDBuffer* pic);

    // Room for a new step of s KB: true for memory, false for disk.
    static bool MakeUndoRoom(UDBuffer* pic, long long s);
    static long long FreeUndoMemory(UDBuffer* pic, long long s, bool keepNewest);
    static long long FreeUndoDisk(UDBuffer* pic, long long s);
};

#endif
