// The tool objects of the pens and the built-in brushes. They point at each
// other, so they are built together on first use and wired there: static
// objects of several units would be built in no defined order.
#ifndef KESTREL_BRUSHES_TOOLS_H
#define KESTREL_BRUSHES_TOOLS_H

#include "brushes.h"
#include "pens.h"

struct PenBrushToolSet {
    P_pen_cont penCont;  // the tool the program starts with
    P_pen_disc penDisc;
    P_pen_one penOne;
    P_brush_crc brushCrc{"CircBrushIcon", 0};
    P_brush_crc brushCrc1{"3x3", 1};
    P_brush_crc brushCrc2{"11x11", 5};
    P_brush_crc brushCrc3{"21x21", 10};
    P_brush_box brushBox{"RectBrushIcon", 0};
    P_brush_box brushBox1{"3x3", 1};
    P_brush_box brushBox2{"11x11", 5};
    P_brush_box brushBox3{"21x21", 10};
    P_clear clear;
    P_brush_resize brushResize;
    P_resize_crc_brush resizeCrcBrush;
    P_resize_box_brush resizeBoxBrush;
    P_resize_spray resizeSpray;

    PenBrushToolSet() { brushResize.target = &resizeCrcBrush; }
    PenBrushToolSet(const PenBrushToolSet&) = delete;
    PenBrushToolSet& operator=(const PenBrushToolSet&) = delete;
};

PenBrushToolSet& PenBrushTools();

#endif
