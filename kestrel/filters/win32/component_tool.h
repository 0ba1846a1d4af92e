// The filter-component tools: P_component applies the current component to
// the active picture through its dialog; P_component_brush paints with one,
// dab by dab. Also the program-wide process block and the guarded call that
// fills its common fields, which the browser's effect mode uses too.
#ifndef KESTREL_COMPONENT_TOOL_H
#define KESTREL_COMPONENT_TOOL_H

#include "component_abi.h"
#include "component_module.h"
#include "picture_document.h"
#include "tool.h"

#include <vector>

class TCompForm;

class P_component : public P_func {
public:
    P_component();
    int component = -1;            // index in the component table
    UDBuffer saved;                // the untouched picture
    unsigned char keepResult = 0;  // 0 while previewing, 1 after OK
    UDBuffer* picture = nullptr;   // the picture being processed
    TCompForm* form = nullptr;

    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;

    // The picture being processed while its window still exists.
    UDBuffer* LivePicture() const;
    // The loaded component's process function; null when none is loaded.
    ComponentProcessFn Process() const { return module_.process; }
    // Fills the block's picture fields for a run on the picture.
    void FillPictureBlock(const Rect& r, bool preview);
    // The picture as it was at activation (its size too, after a resize).
    void RestorePicture();
    // A picture resized while the component runs gets a destination block
    // of its own (NewDestination), whose pixels go into the picture when the
    // call has returned (EndDestination; nothing to do otherwise).
    unsigned long* NewDestination(UDBuffer* pic, int oldWidth);
    void EndDestination(UDBuffer* pic);
    // Loads the component's DLL; false when it or its entry is missing.
    bool LoadModule();
    // Ends an activation as deactivation does. keepDialog: the dialog is
    // the browser's, which keeps it and only loses the rows.
    void EndActivation(bool keepDialog = false);

protected:
    // The steps activation completed, so that deactivation undoes only
    // those: a half-made activation must not call a component it never
    // loaded or restore from a copy it never made.
    bool StartCopy(UDBuffer* pic);
    ComponentModule module_;
    std::vector<unsigned long> workRows_;  // the destination after a resize, rows its width apart
    bool resizedWork_ = false;  // workRows_ is the destination of the running call
    bool savedValid_ = false;
    bool deactivatePending_ = false;  // the tool went while a run was in the component

    friend class TCompForm;
};

class P_component_brush : public P_component {
public:
    P_component_brush();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;

private:
    void Dab(int x, int y);
    void GiveUp();
    bool previewShown_ = false;
    int previewX_ = 0, previewY_ = 0;
    int lastX_ = 0, lastY_ = 0;
};

extern P_component ComponentTool;
extern P_component_brush ComponentBrushTool;
extern ComponentProcessBlock ComponentBlock;

// Whether a component tool is current (its messages are handled only then).
bool ComponentToolCurrent();
// The tool that is current when a component tool is; else null.
P_component* CurrentComponentTool();

// Fills the common fields of the block (window, colours, tables, pictures,
// palette) and calls the component under the guard. withProgress: the run
// is inside BeginProgress; otherwise the stop flag is cleared for the call,
// so that a component polling UM_COMPPROGRESS is not told to stop at once.
// False when the component faulted (the user has been told).
bool CallComponentProcess(ComponentProcessFn fn, const AnsiString& name, int message, void* data,
                          bool withProgress);

// The block's picture fields (2 to 11).
void SetComponentBlockPicture(const unsigned long* source, unsigned long* destination, int width, int height,
                              const Rect& r, bool hasSelection, bool preview);

// UM_COMPRESIZE: the picture being processed becomes width x height. The
// new block is made first, so a failure ("NoMem") leaves the picture as it
// was; the block's destination follows the new pixels and its rectangle is
// held inside them.
bool ResizeComponentPicture(int width, int height);

// The main window's component messages; answers the message's result.
long ComponentMessageResult(unsigned message, unsigned long wParam, long lParam);

#endif
