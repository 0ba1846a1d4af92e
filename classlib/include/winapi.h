// The one way the class library and the program include <windows.h>.
//
// Its macros rename natural member names (a TCanvas::TextOut would become
// TextOutA in one file and stay TextOut in another), so they are removed here
// and the A functions are called by their own names.
#ifndef CLASSLIB_WINAPI_H
#define CLASSLIB_WINAPI_H

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef TextOut
#undef DrawText
#undef LoadBitmap
#undef LoadCursor
#undef LoadIcon
#undef LoadString
#undef GetObject
#undef CreateWindow
#undef SendMessage
#undef PostMessage
#undef MessageBox
#undef GetClassName
#undef FindWindow
#undef CopyFile
#undef DeleteFile
#undef GetCurrentTime

#endif
