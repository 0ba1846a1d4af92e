// TPagePrinter: the printer's sheet and the page's geometry in printer
// pixels.
#include "pageprinter.h"

#include <utility>

PrinterSheet TPagePrinter::Sheet()
{
    PrinterSheet sheet;
    TPrinter* printer = Printer();
    if (printer->HasPrinter()) {
        try {
            sheet.ppiX = printer->GetDeviceCaps(LOGPIXELSX);
            sheet.ppiY = printer->GetDeviceCaps(LOGPIXELSY);
            sheet.width = printer->GetDeviceCaps(PHYSICALWIDTH);
            sheet.height = printer->GetDeviceCaps(PHYSICALHEIGHT);
            sheet.offsetX = printer->GetDeviceCaps(PHYSICALOFFSETX);
            sheet.offsetY = printer->GetDeviceCaps(PHYSICALOFFSETY);
            sheet.reference = printer->GetHandle();
            sheet.printableWidth = sheet.width - 2 * sheet.offsetX;
            sheet.printableHeight = sheet.height - 2 * sheet.offsetY;
            if (sheet.ppiX > 0 && sheet.ppiY > 0 && sheet.width > 0 && sheet.height > 0) return sheet;
        } catch (const EPrinter&) {
            // A printer that cannot be opened prints nothing: lay out as
            // without one.
        }
    }
    // No usable printer: a letter sheet at 300 dpi, or A4 in millimetres,
    // with the printable areas such sheets usually have.
    sheet = PrinterSheet();
    bool mm = unit_ == muMillimeters;
    sheet.width = LengthToPixels(mm ? 210 : 8.5, unit_, 300);
    sheet.height = LengthToPixels(mm ? 297 : 11, unit_, 300);
    sheet.printableWidth = LengthToPixels(mm ? 200 : 8, unit_, 300);
    sheet.printableHeight = LengthToPixels(mm ? 284 : 10.5, unit_, 300);
    sheet.offsetX = sheet.offsetY = LengthToPixels(mm ? 6 : 0.25, unit_, 300);
    if (orientation_ == poLandscape) {
        std::swap(sheet.width, sheet.height);
        std::swap(sheet.printableWidth, sheet.printableHeight);
    }
    return sheet;
}

int TPagePrinter::PxX(double length)
{
    return LengthToPixels(length, unit_, Sheet().ppiX);
}

int TPagePrinter::PxY(double length)
{
    return LengthToPixels(length, unit_, Sheet().ppiY);
}

double TPagePrinter::MinMarginX()
{
    PrinterSheet s = Sheet();
    return PixelsToLength(s.offsetX, unit_, s.ppiX);
}

double TPagePrinter::MinMarginY()
{
    PrinterSheet s = Sheet();
    return PixelsToLength(s.offsetY, unit_, s.ppiY);
}

double TPagePrinter::PageWidthLength()
{
    PrinterSheet s = Sheet();
    return PixelsToLength(s.width, unit_, s.ppiX);
}

double TPagePrinter::PageHeightLength()
{
    PrinterSheet s = Sheet();
    return PixelsToLength(s.height, unit_, s.ppiY);
}

double TPagePrinter::PrintableWidthLength()
{
    PrinterSheet s = Sheet();
    return PixelsToLength(s.printableWidth, unit_, s.ppiX);
}

double TPagePrinter::PrintableHeightLength()
{
    PrinterSheet s = Sheet();
    return PixelsToLength(s.printableHeight, unit_, s.ppiY);
}

int TPagePrinter::MarginLeftPixels()
{
    return PxX(marginLeft_ - MinMarginX());
}

int TPagePrinter::MarginTopPixels()
{
    return PxY(marginTop_ - MinMarginY());
}

int TPagePrinter::UsableWidth()
{
    return PxX(PrintableWidthLength()) - MarginLeftPixels() - PxX(marginRight_ - MinMarginX());
}

int TPagePrinter::UsableHeight()
{
    return PxY(PrintableHeightLength()) - MarginTopPixels() - PxY(marginBottom_ - MinMarginY());
}
