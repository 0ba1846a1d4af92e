// Lines and quadratic curves stamped with the brush, single or chained, with
// continuous, spaced or counted dabs and an optional arrow head at the end.
#ifndef KESTREL_LINES_H
#define KESTREL_LINES_H

#include "tool.h"

class P_line : public P_icon {
public:
    int startX = 0, startY = 0;
    int arrow = 0;      // 0 none, 1..4 ArrowSizes
    int lineMode = 0;   // 0 continuous, 1 fixed spacing, 2 number of dabs
    int lineValue = 2;

    P_line();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;
    // Whether the end of one line starts the next.
    virtual bool Continues() { return false; }

protected:
    void DrawLine(int x, int y);
    void XorBand(int x, int y);
    double Spacing(int x, int y) const;
    bool bandShown = false, previewShown = false;
    int shownX = 0, shownY = 0;
};

class P_line_cont : public P_line {
public:
    P_line_cont() { iconKey = "ContLineIcon"; }
    bool Continues() override { return true; }
};

class P_spline : public P_icon {
public:
    int startX = 0, startY = 0, endX = 0, endY = 0;
    int arrow = 0;
    int lineMode = 0;
    int lineValue = 2;

    P_spline();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;
    virtual bool Continues() { return false; }

protected:
    void DrawCurve(int x, int y);
    void XorBand(int x, int y);
    bool bandShown = false, previewShown = false, bandIsCurve = false;
    int shownX = 0, shownY = 0;
};

class P_spline_cont : public P_spline {
public:
    P_spline_cont() { iconKey = "ContCurveIcon"; }
    bool Continues() override { return true; }
};

struct TPoint;
// The control point that makes the curve from s to e pass through p at its
// middle: 2p - (s + e) / 2, the half truncated.
TPoint CurveControlPoint(TPoint s, TPoint e, TPoint p);
// The length of the 16-step polyline of the curve, as dab counting measures.
double CurveLength(TPoint s, TPoint q, TPoint e);

// Reads and writes line mode, value and arrow on options 0, 1 and 2.
void ReadLineOptions(int& mode, int& value, int* arrow = nullptr);
void WriteLineOptions(int mode, int value, const int* arrow = nullptr);

#endif
