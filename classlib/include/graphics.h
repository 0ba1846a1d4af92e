// Colours, the base of the drawing tools (pen, brush, font) and the errors of
// the graphics classes.
//
// Portable: no Windows header, so settings code can name colours too.
#ifndef CLASSLIB_GRAPHICS_H
#define CLASSLIB_GRAPHICS_H

#include <functional>
#include "component.h"
#include "exceptions.h"

// 0x00BBGGRR, or a system colour: 0x80000000 | COLOR_xxx (a negative int).
typedef int TColor;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | unsigned(index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The indices are the COLOR_xxx values of GetSysColor.
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);

// A system colour resolved through GetSysColor, any other value kept as it is
// (Windows build only).
int ColorToRGB(TColor color);

// A picture stream or resource whose contents this library cannot read
// ("Invalid graphic format"); Detail says what was wrong, for logs and tests.
class EInvalidGraphic : public Exception {
public:
    explicit EInvalidGraphic(const char* detail = nullptr);
    AnsiString Detail;
};

// A request a picture cannot do ("Cannot change the size of an icon").
class EInvalidGraphicOperation : public Exception {
public:
    explicit EInvalidGraphicOperation(const AnsiString& msg);
};

// The base of TPen, TBrush and TFont: plain settings plus a GDI handle made
// from them on demand. Every change drops the handle and fires OnChange.
//
// A canvas that has the handle selected needs to let go of it before it is
// deleted: it registers through SetChangingHook (one per tool, internal).
class TGraphicsObject : public TPersistent {
public:
    ~TGraphicsObject() override;

    // Fired after every change; Sender is the tool. A TNotifyEvent-style
    // handler taking TObject* fits too.
    std::function<void(TGraphicsObject* Sender)> OnChange;

    void SetChangingHook(std::function<void()> hook) { changing_ = std::move(hook); }

protected:
    TGraphicsObject() = default;
    // Call before a setting changes: the canvas deselects the old handle.
    void Changing();
    // Call after: the handle is remade on next use.
    void Changed();
    virtual void DestroyHandle() = 0;

private:
    std::function<void()> changing_;
};

#endif
