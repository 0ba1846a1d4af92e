// The class library's point and rectangle to and from the Windows
// structures; both rectangles leave out their right and bottom edges, so
// the values pass unchanged.
#ifndef CLASSLIB_GEOMETRY_WINAPI_H
#define CLASSLIB_GEOMETRY_WINAPI_H

#include "winapi.h"

#include "geometry.h"

inline TRect ToTRect(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
inline TPoint ToTPoint(const POINT& p) { return TPoint{p.x, p.y}; }

#endif
