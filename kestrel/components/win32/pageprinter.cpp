// TPagePrinter: construction, margins, formats, fonts and the settings
// that change the layout or the preview.
#include "pageprinter.h"

#include "pageprinter_columns.h"
#include "pageprinter_friendly.h"
#include "pageprinter_page.h"
#include "pageprinter_progress.h"
#include "sysutils.h"

#include <cstdlib>
#include <utility>

TPagePrinter::TPagePrinter(TComponent* AOwner)
    : TScrollBox(AOwner), font_(new TFont), headerFont_(new TFont), footerFont_(new TFont)
{
    SetAutoScroll(false);
    font_->SetName("Courier New");
    font_->SetSize(10);
    font_->OnChange = [this](TGraphicsObject*) { FontChanged(); };
    headerFont_->Assign(font_.get());
    footerFont_->Assign(font_.get());
    paintBox_ = new TPaintBox(this);
    paintBox_->OnPaint = [this](TObject* s) { PaintPreview(s); };
    paintBox_->SetParent(this);
    marginTop_ = MinMarginY();
    marginBottom_ = MinMarginY();
    marginLeft_ = MinMarginX();
    marginRight_ = MinMarginX();
    constructing_ = false;
    StartPage(false);
    UpdateLineHeight();
}

TPagePrinter::~TPagePrinter()
{
    CloseProgress();
    if (file_) {
        std::fclose(file_);
        DeleteFileA(PartFileName().c_str());
    }
}

// ---- margins

void TPagePrinter::CheckNotPrinting(const char* message)
{
    if (printing_) throw EPagePrinter(message);
}

double TPagePrinter::ClampMargin(double value, double minimum, double opposite, double page)
{
    if (value < minimum) return minimum;
    if (value > page - opposite) return page - opposite;
    return value;
}

void TPagePrinter::SetMarginTop(double Value)
{
    CheckNotPrinting("Unable to change top margin while printing");
    marginTop_ = ClampMargin(Value, MinMarginY(), MinMarginY(), PageHeightLength());
    PreviewChanged();
}

void TPagePrinter::SetMarginBottom(double Value)
{
    CheckNotPrinting("Unable to change bottom margin while printing");
    marginBottom_ = ClampMargin(Value, MinMarginY(), MinMarginY(), PageHeightLength());
    PreviewChanged();
}

void TPagePrinter::SetMarginLeft(double Value)
{
    CheckNotPrinting("Unable to change left margin while printing");
    marginLeft_ = ClampMargin(Value, MinMarginX(), MinMarginX(), PageWidthLength());
    PreviewChanged();
}

void TPagePrinter::SetMarginRight(double Value)
{
    CheckNotPrinting("Unable to change right margin while printing");
    marginRight_ = ClampMargin(Value, MinMarginX(), MinMarginX(), PageWidthLength());
    PreviewChanged();
}

void TPagePrinter::SetOrientation(TPrinterOrientation Value)
{
    CheckNotPrinting("Unable to change orientation while printing");
    orientation_ = Value;
    if (Printer()->HasPrinter()) Printer()->SetOrientation(Value);
    PreviewChanged();
}

AnsiString TPagePrinter::GetTitle()
{
    return Printer()->HasPrinter() ? title_ : AnsiString("<Unknown>");
}

void TPagePrinter::SetPrintToFile(bool Value)
{
    CheckNotPrinting("Can't change PrintToFile while printing");
    printToFile_ = Value;
}

namespace {

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

void TPagePrinter::SetFileName(const AnsiString& Value)
{
    CheckNotPrinting("Can't change FileName while printing");
    int first = 1, last = Value.Length();
    while (first <= last && IsBlankOrControl(Value[first])) first++;
    while (last >= first && IsBlankOrControl(Value[last])) last--;
    fileName_ = last >= first ? Value.SubString(first, last - first + 1) : AnsiString();
}

// ---- formats and friendly texts

void TPagePrinter::SetHeaderFormat(const AnsiString& Value)
{
    headerFormat_ = NormalizeColumnFormat(Value, separator_, defaultColWidth_);
}

void TPagePrinter::SetFooterFormat(const AnsiString& Value)
{
    footerFormat_ = NormalizeColumnFormat(Value, separator_, defaultColWidth_);
}

void TPagePrinter::SetTableFormat(const AnsiString& Value)
{
    tableFormat_ = NormalizeColumnFormat(Value, separator_, defaultColWidth_);
}

void TPagePrinter::SetFriendlyHeader(const AnsiString& Value)
{
    friendlyHeader_ = Value;
    ApplyFriendly(true);
}

void TPagePrinter::SetFriendlyFooter(const AnsiString& Value)
{
    friendlyFooter_ = Value;
    ApplyFriendly(false);
}

void TPagePrinter::ApplyFriendly(bool header)
{
    FriendlyValues values;
    TDateTime now = Now();
    values.shortDate = FormatDateTime("ddddd", now);
    values.longDate = FormatDateTime("dddddd", now);
    values.shortTime = FormatDateTime("t", now);
    values.longTime = FormatDateTime("tt", now);
    values.fileName = fileName_;
    double width = PageWidthLength() - marginLeft_ - marginRight_;
    FriendlyResult r = ReadFriendlyText(header ? friendlyHeader_ : friendlyFooter_, values, width, separator_);
    if (header) {
        header_ = r.text;
        SetHeaderFormat(r.format);
    } else {
        footer_ = r.text;
        SetFooterFormat(r.format);
    }
}

AnsiString TPagePrinter::ConvertFormat(const AnsiString& format, double factor)
{
    return ScaleColumnFormat(format, separator_, factor, defaultColWidth_);
}

// ---- unit

void TPagePrinter::SetMeasureUnit(TMeasureUnit Value)
{
    if (Value == unit_) return;
    // The margins are set again in the new unit, which printing forbids:
    // refuse before anything has changed.
    CheckNotPrinting("Unable to change top margin while printing");
    double factor = Value == muMillimeters ? 25.4 : InchesPerMillimeter;
    double top = marginTop_ * factor, bottom = marginBottom_ * factor;
    double left = marginLeft_ * factor, right = marginRight_ * factor;
    unit_ = Value;
    SetMarginTop(top);
    SetMarginBottom(bottom);
    SetMarginLeft(left);
    SetMarginRight(right);
    pageBorderOffset_ *= factor;
    tableFormat_ = ConvertFormat(tableFormat_, factor);
    // Widths a friendly text defines are rebuilt from it by the layout.
    if (friendlyHeader_.IsEmpty()) headerFormat_ = ConvertFormat(headerFormat_, factor);
    if (friendlyFooter_.IsEmpty()) footerFormat_ = ConvertFormat(footerFormat_, factor);
    // The format widths above were read with the old default width.
    defaultColWidth_ *= factor;
    RecomputeLayout();
}

// ---- layout

void TPagePrinter::RecomputeLayout()
{
    if (!printing_) {
        SetMarginTop(marginTop_);
        SetMarginBottom(marginBottom_);
        SetMarginLeft(marginLeft_);
        SetMarginRight(marginRight_);
    }
    UpdateLineHeight();
    if (!friendlyHeader_.IsEmpty()) ApplyFriendly(true);
    if (!friendlyFooter_.IsEmpty()) ApplyFriendly(false);
}

void TPagePrinter::FixFontResolution(TCanvas* canvas)
{
    if (!canvas) return;
    TFont* f = canvas->GetFont();
    int ppi = Sheet().ppiY;
    f->SetPixelsPerInch(ppi > 0 ? ppi : 300);
    // Nudging the size makes the font compute its height for the new
    // resolution.
    int size = f->GetSize();
    f->SetSize(size >= 144 ? size - 1 : size + 1);
    f->SetSize(size);
}

void TPagePrinter::UpdateLineHeight()
{
    TCanvas* canvas = current_ ? current_->GetCanvas() : nullptr;
    int h = 0;
    if (canvas) {
        FixFontResolution(canvas);
        h = std::abs(canvas->GetFont()->GetHeight());
        TEXTMETRICA tm;
        if (GetTextMetricsA(canvas->GetHandle(), &tm)) externalLeading_ = tm.tmExternalLeading;
    } else {
        h = std::abs(MulDiv(font_->GetSize(), Sheet().ppiY, 72));
    }
    switch (lineSpacing_) {
    case lsHalfSpace: lineHeight_ = h / 2; break;
    case lsSingleSpace: lineHeight_ = h; break;
    case lsSingleAndAHalf: lineHeight_ = h + h / 2; break;
    case lsDoubleSpace: lineHeight_ = 2 * h; break;
    }
}

void TPagePrinter::SetLineSpacing(TLineSpacing Value)
{
    lineSpacing_ = Value;
    UpdateLineHeight();
}

void TPagePrinter::FontChanged()
{
    if (current_ && current_->GetCanvas() && !headerFooterMode_) current_->GetCanvas()->SetFont(font_.get());
    UpdateLineHeight();
    if (autoHeaderFont_) headerFont_->Assign(font_.get());
    if (autoFooterFont_) footerFont_->Assign(font_.get());
}

void TPagePrinter::SetAutoHeaderFont(bool Value)
{
    autoHeaderFont_ = Value;
    if (Value) headerFont_->Assign(font_.get());
}

void TPagePrinter::SetAutoFooterFont(bool Value)
{
    autoFooterFont_ = Value;
    if (Value) footerFont_->Assign(font_.get());
}

TStrings* TPagePrinter::GetLines()
{
    if (!lines_) lines_.reset(new TStringList);
    return lines_.get();
}

void TPagePrinter::SetLines(TStrings* Value)
{
    if (!Value) {
        lines_.reset();
        return;
    }
    GetLines()->Assign(Value);
}

// ---- preview settings

void TPagePrinter::SetPageBorders(TPageBorders Value)
{
    pageBorders_ = Value;
    PreviewChanged();
}

void TPagePrinter::SetPageBorderOffset(double Value)
{
    pageBorderOffset_ = Value;
    PreviewChanged();
}

void TPagePrinter::SetShowMargins(bool Value)
{
    showMargins_ = Value;
    PreviewChanged();
}

void TPagePrinter::SetGradientBackground(bool Value)
{
    gradientBackground_ = Value;
    PreviewChanged();
}

void TPagePrinter::SetShadowColor(TColor Value)
{
    shadowColor_ = Value;
    PreviewChanged();
}

void TPagePrinter::SetShadowOffset(int Value)
{
    shadowOffset_ = Value;
    PreviewChanged();
}

void TPagePrinter::SetZoomPercent(int Value)
{
    zoomPercent_ = Value < 1 ? 1 : Value;
    PreviewChanged();
}

void TPagePrinter::SetZoomLocation(TZoomLocation Value)
{
    zoomLocation_ = Value;
    PreviewChanged();
}

void TPagePrinter::SetFromPage(int Value)
{
    fromPage_ = Value;
    if (toPage_ != 0 && fromPage_ > toPage_) toPage_ = fromPage_;
}

void TPagePrinter::SetToPage(int Value)
{
    toPage_ = Value;
    if (toPage_ != 0 && fromPage_ > toPage_) fromPage_ = toPage_;
}
