// TIcon: an icon loaded from a .ico file (or a resource, or a handle).
//
// A .ico holds several images; loading picks the one nearest the wanted size
// (Width/Height set while empty, else the system icon size), the deepest
// colours first among equals. PNG-compressed images are read too. The file's
// bytes are kept, so saving writes back every image.
#ifndef CLASSLIB_ICON_H
#define CLASSLIB_ICON_H

#include <vector>
#include "graphic.h"

class TIcon : public TGraphic {
public:
    TIcon() = default;
    ~TIcon() override;

    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    // The size wanted from the next load; an icon already loaded raises
    // EInvalidGraphicOperation "Cannot change the size of an icon".
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    bool GetEmpty() const override { return handle_ == nullptr; }

    HICON GetHandle() const { return handle_; }
    // Takes ownership (null empties).
    void SetHandle(HICON icon);
    HICON ReleaseHandle();

    void Assign(TIcon* source);
    void Assign(TPersistent* Source) override;
    // Raises EResNotFound when the module has no such icon.
    void LoadFromResourceName(HINSTANCE instance, const AnsiString& name);

    // Bad or truncated files raise EInvalidGraphic.
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;

    void Draw(TCanvas* canvas, const RECT& r) override;

private:
    void Replace(HICON icon, int width, int height, std::vector<unsigned char> data);
    std::vector<unsigned char> FileFromHandle();

    HICON handle_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned char> data_;  // the .ico file, when loaded from one
};

#endif
