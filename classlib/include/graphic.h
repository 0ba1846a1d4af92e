// TGraphic: the base of pictures a canvas can draw (bitmap, icon, metafile).
#ifndef CLASSLIB_GRAPHIC_H
#define CLASSLIB_GRAPHIC_H

#include <functional>
#include <vector>
#include "winapi.h"
#include "ansistring.h"
#include "component.h"
#include "graphics.h"
#include "streams.h"

class TCanvas;

class TGraphic : public TPersistent {
public:
    ~TGraphic() override;

    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual bool GetEmpty() const = 0;
    bool GetTransparent() const { return transparent_; }
    virtual void SetTransparent(bool transparent);

    // Draws the picture stretched to r (TCanvas::Draw and StretchDraw).
    virtual void Draw(TCanvas* canvas, const RECT& r) = 0;

    // Reads from the stream's position; bad data raises EInvalidGraphic and
    // leaves the picture as it was.
    virtual void LoadFromStream(TStream* stream) = 0;
    virtual void SaveToStream(TStream* stream) = 0;
    void LoadFromFile(const AnsiString& fileName);
    // Written to memory first, so a failure leaves no half-written file.
    void SaveToFile(const AnsiString& fileName);

    // A TNotifyEvent-style handler taking TObject* fits too.
    std::function<void(TGraphic* Sender)> OnChange;

protected:
    TGraphic() = default;
    virtual void Changed();

private:
    bool transparent_ = false;
};

// The rest of a stream from its position, at most limit bytes (more raises
// EInvalidGraphic rather than exhausting memory).
std::vector<unsigned char> ReadRestOfStream(TStream* stream, int limit);

#endif
