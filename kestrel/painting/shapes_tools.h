// The tool objects of the fills, the filled shapes, the lines and curves,
// the boxes and the ellipses, built together on first use (the pattern fill
// and its origin tool point at each other).
#ifndef KESTREL_SHAPES_TOOLS_H
#define KESTREL_SHAPES_TOOLS_H

#include "boxes.h"
#include "ellipses.h"
#include "filledshapes.h"
#include "fills.h"
#include "lines.h"

struct ShapeToolSet {
    P_fill_solid fillSolid;
    P_fill_pattern fillPattern;
    P_fill_pos fillPos;
    P_fill_draw fillDraw;
    P_fill_poly fillPoly;
    P_line line;
    P_line_cont lineCont;
    P_spline spline;
    P_spline_cont splineCont;
    P_box_rectf boxRectf;
    P_box_rect boxRect;
    P_box_sqrf boxSqrf;
    P_box_sqr boxSqr;
    P_circle circle;
    P_circlef circlef;
    P_ellipse ellipse;
    P_ellipsef ellipsef;

    ShapeToolSet() { fillPos.pattern = &fillPattern; }
    ShapeToolSet(const ShapeToolSet&) = delete;
    ShapeToolSet& operator=(const ShapeToolSet&) = delete;
};

ShapeToolSet& ShapeTools();

// The fill tool the fill button shows; the solid fill while the button
// shows no fill tool (or there is no button).
P_fill& ShownFillTool();

#endif
