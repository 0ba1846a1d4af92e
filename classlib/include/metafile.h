// TMetafile: a recorded picture, kept as an enhanced metafile for drawing.
//
// Enhanced (the default) saves EMF bits. Otherwise it saves a placeable
// Windows metafile; since converting an EMF loses its drawing records under
// Wine, such a metafile is recorded (or loaded) as a WMF directly and its
// bits are kept for saving.
//
// Width and Height are in screen pixels; MMWidth/MMHeight in 0.01 mm.
#ifndef CLASSLIB_METAFILE_H
#define CLASSLIB_METAFILE_H

#include <vector>
#include "canvas.h"
#include "graphic.h"

class TMetafile : public TGraphic {
public:
    TMetafile() = default;
    ~TMetafile() override;

    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    int GetMMWidth() const;
    int GetMMHeight() const;
    bool GetEmpty() const override { return handle_ == nullptr; }

    bool GetEnhanced() const { return enhanced_; }
    void SetEnhanced(bool enhanced);
    // Units per inch of a placeable metafile's frame.
    int GetInch() const { return inch_; }

    HENHMETAFILE GetHandle() const { return handle_; }
    // Takes ownership (null empties); the size comes from its frame.
    void SetHandle(HENHMETAFILE metafile);
    HPALETTE GetPalette();

    void Clear();
    void Assign(TMetafile* source);
    void Assign(TPersistent* Source) override;

    // EMF, placeable WMF or plain WMF; bad data raises EInvalidGraphic.
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;

    void Draw(TCanvas* canvas, const RECT& r) override;

private:
    friend class TMetafileCanvas;

    void LoadEnhanced(const std::vector<unsigned char>& data);
    void LoadWindows(const unsigned char* data, int size, int width, int height, int inch);
    void TakeRecording(HENHMETAFILE emf, std::vector<unsigned char> wmf);
    void SizeFromHeader();
    void SavePlaceable(TStream* stream);

    HENHMETAFILE handle_ = nullptr;
    HPALETTE palette_ = nullptr;
    std::vector<unsigned char> wmf_;  // the WMF bits when loaded or recorded as such
    bool enhanced_ = true;
    int width_ = 0;
    int height_ = 0;
    int inch_ = 0;
};

// A canvas recording into a metafile; destroying it completes the recording
// and replaces the metafile's picture. The reference DC (null: the screen)
// gives the resolution. An enhanced metafile of no size takes the size of
// what was drawn; a Windows metafile needs its size set first.
class TMetafileCanvas : public TCanvas {
public:
    TMetafileCanvas(TMetafile* metafile, HDC referenceDevice);
    TMetafileCanvas(TMetafile* metafile, HDC referenceDevice, const AnsiString& creator,
                    const AnsiString& description);
    ~TMetafileCanvas() override;

private:
    void Start(HDC referenceDevice, const AnsiString& creator, const AnsiString& description);

    TMetafile* metafile_;
    HDC recorder_ = nullptr;
    bool enhanced_;
};

#endif
