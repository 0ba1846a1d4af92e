// TBuffer: the window that shows a Buffer at a zoom. It draws only what
// Windows reports invalid, straight from the buffer's 32-bit pixels, then
// lets its owner draw overlays in OnPaint. Image windows, previews and the
// colour selector's field use it.
#ifndef KESTREL_BUFFER_VIEW_H
#define KESTREL_BUFFER_VIEW_H

#include "controls.h"
#include "buffer.h"
#include "buffer_view_render.h"

class TBuffer : public TCustomControl {
public:
    explicit TBuffer(TComponent* AOwner);
    ~TBuffer() override;

    // The pixels shown; not owned. A new buffer repaints the whole control.
    Buffer* GetBuffer() const { return buffer_; }
    void SetBuffer(Buffer* Value);

    // Numerator in the low 16 bits, divisor in the high 16 bits (0 means 1).
    // The code is stored in lowest terms, so 2/4 reads back as 1/2; a code
    // equal to the stored one does not repaint.
    unsigned long GetZoom() const { return zoom_; }
    void SetZoom(unsigned long Value);

    // False: the control draws nothing and only validates its area.
    bool GetRefresh() const { return refresh_; }
    void SetRefresh(bool Value) { refresh_ = Value; }

    bool GetICM() const { return icm_; }
    void SetICM(bool Value) { icm_ = Value; }
    bool GetUseGlobalICM() const { return useGlobalICM_; }
    void SetUseGlobalICM(bool Value) { useGlobalICM_ = Value; }
    bool GetGammaCorr() const { return gammaCorr_; }
    void SetGammaCorr(bool Value) { gammaCorr_ = Value; }
    bool GetUseGlobalGammaCorr() const { return useGlobalGammaCorr_; }
    void SetUseGlobalGammaCorr(bool Value) { useGlobalGammaCorr_ = Value; }
    // The control's own gamma values, unsigned 16.16.
    unsigned long GetGammaRed() const { return gammaRed_; }
    unsigned long GetGammaGreen() const { return gammaGreen_; }
    unsigned long GetGammaBlue() const { return gammaBlue_; }
    void SetGammaRed(unsigned long Value) { gammaRed_ = Value; }
    void SetGammaGreen(unsigned long Value) { gammaGreen_ = Value; }
    void SetGammaBlue(unsigned long Value) { gammaBlue_ = Value; }

    // The header the last paint passed with the pixels.
    const BITMAPV4HEADER& GetHeader() const { return header_; }

    // After every paint, for the owner's overlays (Canvas is bound).
    // OnMouseEnter and OnMouseLeave come from TControl: the library tracks
    // the mouse for every control, so nothing is passed to the parent.
    TNotifyEvent OnPaint;

    // Settings of every view that asks for the global ones (preferences).
    static bool GlobalICM;
    static bool GlobalGammaCorr;
    static unsigned long GlobalGammaRed, GlobalGammaGreen, GlobalGammaBlue;  // 16.16
    static CIEXYZ ciexyzRed, ciexyzGreen, ciexyzBlue;                       // 2.30
    // Not 0: a zoomed paint redraws the whole visible part.
    static unsigned long StretchPatch;

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;

private:
    bool HasPixels() const;
    ViewColour Colour() const;
    RECT VisibleRect();
    void WMPaint(TMessage& Message);

    Buffer* buffer_ = nullptr;
    unsigned long zoom_ = 1;
    bool refresh_ = true;
    BITMAPV4HEADER header_;
    bool icm_ = false;
    bool useGlobalICM_ = true;
    bool gammaCorr_ = false;
    bool useGlobalGammaCorr_ = true;
    unsigned long gammaRed_, gammaGreen_, gammaBlue_;
};

namespace Tbuffer {
// Puts the control on the designer's palette; there is no designer here.
void Register();
}

#endif
