/* The records, selectors and host callbacks of the published plug-in filter
   interface, as far as this program fills or answers them. 32-bit Windows
   layout: natural alignment, every callback cdecl. Plain C, so that the test
   plug-ins are built from the same declarations. */
#ifndef KESTREL_PLUGIN_API_H
#define KESTREL_PLUGIN_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int16_t OSErr;
typedef uint32_t OSType;
typedef int32_t Fixed; /* 16.16 */
typedef unsigned char Boolean;
typedef char** Handle;
typedef void* BufferID;

enum {
    filterSelectorAbout = 0,
    filterSelectorParameters = 1,
    filterSelectorPrepare = 2,
    filterSelectorStart = 3,
    filterSelectorContinue = 4,
    filterSelectorFinish = 5
};

enum { noErr = 0, userCanceledErr = -128, memFullErr = -108, errPlugInHostInsufficient = -30900 };

typedef struct { int16_t v, h; } PSPoint;
typedef struct { int16_t top, left, bottom, right; } PSRect;
typedef struct { int32_t top, left, bottom, right; } VRect;
typedef struct { uint16_t red, green, blue; } PSRGBColor;
typedef unsigned char FilterColor[4];

typedef Boolean (*TestAbortProc)(void);
typedef void (*ProgressProc)(int32_t done, int32_t total);
typedef void (*HostProc)(int16_t selector, intptr_t* data);
typedef OSErr (*AdvanceStateProc)(void);

typedef struct {
    int32_t version;
    VRect bounds;
    int32_t imageMode;
    int32_t rowBytes;
    int32_t colBytes;
    int32_t planeBytes;
    void* baseAddr;
} PSPixelMap;
typedef OSErr (*DisplayPixelsProc)(const PSPixelMap* source, const VRect* srcRect, int32_t dstRow, int32_t dstCol,
                                   void* platformContext);

typedef struct {
    int32_t infoSize;
    int16_t selector;
    int16_t sourceSpace;
    int16_t resultSpace;
    Boolean resultGamutInfoValid;
    Boolean resultInGamut;
    void* reservedSourceSpaceInfo;
    void* reservedResultSpaceInfo;
    int16_t colorComponents[4];
    void* reserved;
    union {
        unsigned char* pickerPrompt; /* length-prefixed */
        PSPoint* globalSamplePoint;
        int32_t specialColorID;
    } selectorParameter;
} ColorServicesInfo;
typedef OSErr (*ColorServicesProc)(ColorServicesInfo* info);
enum { plugIncolorServicesChooseColor = 0, plugIncolorServicesConvertColor = 1, plugIncolorServicesSamplePoint = 2,
       plugIncolorServicesGetSpecialColor = 3 };
enum { plugIncolorServicesRGBSpace = 0, plugIncolorServicesCMYKSpace = 2, plugIncolorServicesGraySpace = 4 };

typedef struct {
    int16_t bufferProcsVersion;
    int16_t numBufferProcs;
    OSErr (*allocateProc)(int32_t size, BufferID* bufferID);
    void* (*lockProc)(BufferID bufferID, Boolean moveHigh);
    void (*unlockProc)(BufferID bufferID);
    void (*freeProc)(BufferID bufferID);
    int32_t (*spaceProc)(void);
} BufferProcs;

typedef struct {
    int16_t handleProcsVersion;
    int16_t numHandleProcs;
    Handle (*newProc)(int32_t size);
    void (*disposeProc)(Handle h);
    int32_t (*getSizeProc)(Handle h);
    OSErr (*setSizeProc)(Handle h, int32_t newSize);
    void* (*lockProc)(Handle h, Boolean moveHigh);
    void (*unlockProc)(Handle h);
    void (*recoverSpaceProc)(int32_t size);
} HandleProcs;

typedef struct {
    void* data;
    PSRect bounds;
    int32_t rowBytes;
    int32_t colBytes;
} PSImagePlane;
typedef OSErr (*PIResampleProc)(PSImagePlane* source, PSImagePlane* destination, PSRect* area, Fixed* coords,
                                int16_t method);
typedef struct {
    int16_t imageServicesProcsVersion;
    int16_t numImageServicesProcs;
    PIResampleProc interpolate1DProc;
    PIResampleProc interpolate2DProc;
} ImageServicesProcs;

typedef OSErr (*GetPropertyProc)(OSType signature, OSType key, int32_t index, intptr_t* simpleProperty,
                                 Handle* complexProperty);
typedef OSErr (*SetPropertyProc)(OSType signature, OSType key, int32_t index, intptr_t simpleProperty,
                                 Handle complexProperty);
typedef struct {
    int16_t propertyProcsVersion;
    int16_t numPropertyProcs;
    GetPropertyProc getPropertyProc;
    SetPropertyProc setPropertyProc;
} PropertyProcs;

typedef struct {
    Fixed gamma, redX, redY, greenX, greenY, blueX, blueY, whiteX, whiteY, ambient;
} FilterMonitor;

typedef struct FilterRecord {
    int32_t serialNumber;
    TestAbortProc abortProc;
    ProgressProc progressProc;
    Handle parameters;
    PSPoint imageSize;
    int16_t planes;
    PSRect filterRect;
    PSRGBColor background;
    PSRGBColor foreground;
    int32_t maxSpace;
    int32_t bufferSpace;
    PSRect inRect;
    int16_t inLoPlane, inHiPlane;
    PSRect outRect;
    int16_t outLoPlane, outHiPlane;
    void* inData;
    int32_t inRowBytes;
    void* outData;
    int32_t outRowBytes;
    Boolean isFloating;
    Boolean haveMask;
    Boolean autoMask;
    PSRect maskRect;
    void* maskData;
    int32_t maskRowBytes;
    FilterColor backColor;
    FilterColor foreColor;
    OSType hostSig;
    HostProc hostProc;
    int16_t imageMode;
    Fixed imageHRes;
    Fixed imageVRes;
    PSPoint floatCoord;
    PSPoint wholeSize;
    FilterMonitor monitor;
    void* platformData;
    BufferProcs* bufferProcs;
    void* resourceProcs;
    void* processEvent;
    DisplayPixelsProc displayPixels;
    HandleProcs* handleProcs;
    Boolean supportsDummyChannels;
    Boolean supportsAlternateLayouts;
    int16_t wantLayout;
    int16_t filterCase;
    int16_t dummyPlaneValue;
    void* premiereHook;
    AdvanceStateProc advanceState;
    Boolean supportsAbsolute;
    Boolean wantsAbsolute;
    GetPropertyProc getPropertyObsolete;
    Boolean cannotUndo;
    Boolean supportsPadding;
    int16_t inputPadding;
    int16_t outputPadding;
    int16_t maskPadding;
    char samplingSupport;
    char reservedByte;
    Fixed inputRate;
    Fixed maskRate;
    ColorServicesProc colorServices;
    int16_t inLayerPlanes, inTransparencyMask, inLayerMasks, inInvertedLayerMasks, inNonLayerPlanes;
    int16_t outLayerPlanes, outTransparencyMask, outLayerMasks, outInvertedLayerMasks, outNonLayerPlanes;
    int16_t absLayerPlanes, absTransparencyMask, absLayerMasks, absInvertedLayerMasks, absNonLayerPlanes;
    int16_t inPreDummyPlanes, inPostDummyPlanes, outPreDummyPlanes, outPostDummyPlanes;
    int32_t inColumnBytes, inPlaneBytes, outColumnBytes, outPlaneBytes;
    ImageServicesProcs* imageServicesProcs;
    PropertyProcs* propertyProcs;
} FilterRecord;

/* The host hands the filter a 500-byte record; fields past those above stay 0. */
enum { FilterRecordSize = 500 };

typedef void (*PlugInEntry)(int16_t selector, FilterRecord* record, intptr_t* data, int16_t* result);

#define PS_FOURCC(a, b, c, d) ((OSType)(a) << 24 | (OSType)(b) << 16 | (OSType)(c) << 8 | (OSType)(d))

#ifdef __cplusplus
}
#endif

#endif
