// The TWAIN wrapper library, loaded when a command needs it so that the
// program runs on machines without it. Its four calls take the
// application's window and hand over a scan as a global memory block of a
// packed device-independent bitmap.
#ifndef KESTREL_SCANNING_H
#define KESTREL_SCANNING_H

#include "winapi.h"

class TwainWrapper {
public:
    typedef int(__stdcall* IsAvailableProc)();
    typedef int(__stdcall* SelectImageSourceProc)(HWND window);
    typedef HANDLE(__stdcall* AcquireNativeProc)(HWND window, unsigned pixelTypes);
    typedef void(__stdcall* FreeNativeProc)(HANDLE block);

    TwainWrapper() = default;
    ~TwainWrapper();
    TwainWrapper(const TwainWrapper&) = delete;
    TwainWrapper& operator=(const TwainWrapper&) = delete;

    // False when the library (TwainLibraryName) or one of its calls is
    // missing; the calls are then null.
    bool Load();

    IsAvailableProc IsAvailable = nullptr;
    SelectImageSourceProc SelectImageSource = nullptr;
    AcquireNativeProc AcquireNative = nullptr;
    FreeNativeProc FreeNative = nullptr;

private:
    HMODULE module_ = nullptr;
};

// The scanned picture in the block, checked as clipboard bitmaps are,
// read into a new image window; false (nothing opened) for a block that
// is no bitmap. EAbort when the window could not be made (the user was
// told).
bool OpenScannedBitmap(HGLOBAL block);

#endif
