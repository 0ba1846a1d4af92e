// TPagePrinter: recording a document, page by page, with each page's header
// and footer rows (or writing them as text to a file).
#include "pageprinter.h"

#include <cmath>
#include "pageprinter_columns.h"
#include "pageprinter_friendly.h"
#include "pageprinter_page.h"
#include "pageprinter_rows.h"
#include "sysutils.h"

TCanvas* TPagePrinter::GetCanvas()
{
    if (!current_ || !current_->GetCanvas()) throw EPagePrinter("No page is being recorded");
    return current_->GetCanvas();
}

void TPagePrinter::StartPage(bool listed)
{
    PrinterSheet sheet = Sheet();
    std::unique_ptr<PageRecording> page(
        new PageRecording(sheet.reference, sheet.width - sheet.offsetX, sheet.height - sheet.offsetY));
    TCanvas* canvas = page->GetCanvas();
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->SetFont(font_.get());
    FixFontResolution(canvas);
    if (current_) current_->Finish();
    if (listed) {
        pages_.push_back(std::move(page));
        current_ = pages_.back().get();
    } else {
        scratch_ = std::move(page);
        current_ = scratch_.get();
    }
}

AnsiString TPagePrinter::PartFileName() const
{
    return fileName_ + ".part";
}

void TPagePrinter::FinishPage()
{
    if (current_) current_->Finish();
}

void TPagePrinter::BeginDoc()
{
    if (printing_) throw EPagePrinter("Document is already being recorded");
    RecomputeLayout();
    if (printToFile_) {
        // Written beside the file and put in its place at EndDoc, so that a
        // document that fails half-way leaves the old file as it was.
        file_ = std::fopen(PartFileName().c_str(), "w");
        if (!file_) throw EPagePrinter("Cannot write to the file " + fileName_);
    } else {
        pages_.clear();
        current_ = nullptr;
        StartPage(true);
    }
    printing_ = true;
    FixFontResolution(current_ ? current_->GetCanvas() : nullptr);
    pageNumber_ = 1;
    DrawHeaderAndFooter();
}

void TPagePrinter::EndDoc()
{
    if (!printing_) return;
    printing_ = false;
    if (file_) {
        bool written = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!written || !MoveFileExA(PartFileName().c_str(), fileName_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            DeleteFileA(PartFileName().c_str());
            throw EPagePrinter("Cannot write to the file " + fileName_);
        }
    } else {
        FinishPage();
        current_ = nullptr;
        StartPage(false);
        pageNumber_ = pages_.empty() ? 0 : 1;
    }
    PreviewChanged();
}

void TPagePrinter::Clear()
{
    if (printing_) throw EPagePrinter("Can't clear contents while printing");
    current_ = nullptr;
    pages_.clear();
    StartPage(false);
    pageNumber_ = 0;
    PreviewChanged();
}

void TPagePrinter::SetPageNumber(int Value)
{
    if (pages_.empty()) {
        pageNumber_ = 0;
        return;
    }
    if (Value < 1 || Value > GetPageCount())
        throw EPagePrinter("PageNumber must be between 1 and " + IntToStr(GetPageCount()));
    pageNumber_ = Value;
    PreviewChanged();
}

void TPagePrinter::NewPage()
{
    if (file_) {
        WriteToFile("\f\n");
    } else {
        StartPage(true);
    }
    pageNumber_++;
    DrawHeaderAndFooter();
}

void TPagePrinter::NewLine()
{
    x_ = 0;
    y_ += lineHeight_;
    if (file_ || headerFooterMode_ || y_ + lineHeight_ < UsableHeight()) {
        if (file_) WriteToFile("\n");
        lineNumber_++;
    } else {
        NewPage();
    }
    if (OnNewLine) OnNewLine(this);
}

void TPagePrinter::WriteToFile(const AnsiString& text)
{
    if (file_ && std::fputs(text.c_str(), file_) < 0) throw EPagePrinter("Cannot write to the file " + fileName_);
}

// ---- header and footer

namespace {

// What the header and footer change and put back.
struct SavedRowState {
    int x, y, line;
    AnsiString format;
    bool grid;
    bool autoHeader, autoFooter;
};

AnsiString Blanks(int n)
{
    AnsiString s;
    for (int i = 0; i < n; i++) s += ' ';
    return s;
}

}  // namespace

void TPagePrinter::DrawHeaderAndFooter()
{
    x_ = y_ = lineNumber_ = 0;
    if (OnNewPage) OnNewPage(this);
    TCanvas* canvas = current_ ? current_->GetCanvas() : nullptr;
    SavedRowState saved{x_, y_, lineNumber_, tableFormat_, tableGrid_, autoHeaderFont_, autoFooterFont_};
    TFont savedFont;
    if (canvas) savedFont.Assign(canvas->GetFont());
    tableGrid_ = false;
    autoHeaderFont_ = autoFooterFont_ = false;
    headerFooterMode_ = true;
    auto restore = [&]() {
        x_ = saved.x;
        y_ = saved.y;
        lineNumber_ = saved.line;
        tableFormat_ = saved.format;
        tableGrid_ = saved.grid;
        autoHeaderFont_ = saved.autoHeader;
        autoFooterFont_ = saved.autoFooter;
        headerFooterMode_ = false;
        if (canvas) {
            canvas->SetFont(&savedFont);
            FixFontResolution(canvas);
        }
        UpdateLineHeight();
    };
    try {
        if (!header_.IsEmpty()) WriteBandRow(headerFont_.get(), true, headerFormat_, header_);
        if (!footer_.IsEmpty()) WriteBandRow(footerFont_.get(), false, footerFormat_, footer_);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (OnNewLine) OnNewLine(this);
    DrawPageBorders();
}

// The header's line centred in the top band, measured from the sheet's
// physical top, and never above the printable area.
int TPagePrinter::HeaderTop()
{
    double band = (pageBorders_ & pbTop) ? marginTop_ - pageBorderOffset_ : marginTop_;
    int y = (PxY(band) - lineHeight_) / 2 - PxY(marginTop_);
    int top = MarginTopPixels();
    return top + y < 0 ? -top : y;
}

// The footer's line centred in the bottom band, and never below the
// printable area.
int TPagePrinter::FooterTop()
{
    int y;
    if (pageBorders_ & pbBottom)
        y = PxY(pageBorderOffset_) + UsableHeight() + (PxY(marginBottom_ - pageBorderOffset_) - lineHeight_) / 2;
    else
        y = (PxY(marginBottom_) - lineHeight_) / 2 + UsableHeight();
    int top = MarginTopPixels(), printable = PxY(PrintableHeightLength());
    return top + y + lineHeight_ > printable ? printable - top - lineHeight_ : y;
}

void TPagePrinter::WriteBandRow(TFont* font, bool header, const AnsiString& format, const AnsiString& text)
{
    if (current_ && current_->GetCanvas()) current_->GetCanvas()->SetFont(font);
    UpdateLineHeight();
    y_ = header ? HeaderTop() : FooterTop();
    tableFormat_ = format;
    WriteRow(text);
}

void TPagePrinter::DrawPageBorders()
{
    if (!pageBorders_ || !current_ || !current_->GetCanvas()) return;
    TCanvas* canvas = current_->GetCanvas();
    int cx = PxX(pageBorderOffset_), cy = PxY(pageBorderOffset_);
    int left = MarginLeftPixels(), top = MarginTopPixels();
    int right = left + UsableWidth(), bottom = top + UsableHeight();
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(clBlack);
    canvas->GetPen()->SetWidth(1);
    if (pageBorders_ & pbTop) DrawLine(left - cx, top - cy, right + cx, top - cy, 1);
    if (pageBorders_ & pbBottom) DrawLine(left - cx, bottom + cy, right + cx, bottom + cy, 1);
    if (pageBorders_ & pbLeft) DrawLine(left - cx, top - cy, left - cx, bottom + cy, 1);
    if (pageBorders_ & pbRight) DrawLine(right + cx, top - cy, right + cx, bottom + cy, 1);
}

// ---- one row

int TPagePrinter::LeadingAdjustment()
{
    switch (lineSpacing_) {
    case lsHalfSpace: return externalLeading_ / 2;
    case lsSingleSpace: return externalLeading_;
    case lsSingleAndAHalf: return static_cast<int>(std::lround(externalLeading_ * 1.5));
    case lsDoubleSpace: return externalLeading_ * 2;
    }
    return externalLeading_;
}

void TPagePrinter::DrawLine(int x1, int y1, int x2, int y2, int width)
{
    TCanvas* canvas = current_->GetCanvas();
    canvas->GetPen()->SetWidth(width);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

void TPagePrinter::DrawCellGrid(int x, int top, const RowCell& cell, bool firstLine)
{
    if (file_ || !current_ || !current_->GetCanvas() || !tableGrid_ || !cell.grid) return;
    PrinterSheet sheet = Sheet();
    int horizontal = sheet.ppiY / 300 * 2, vertical = sheet.ppiX / 300 * 2;
    int lineTop = top - LeadingAdjustment();
    current_->GetCanvas()->GetPen()->SetStyle(psSolid);
    DrawLine(x, lineTop, x, lineTop + lineHeight_, vertical);
    DrawLine(x + cell.width, lineTop, x + cell.width, lineTop + lineHeight_, vertical);
    if (firstLine) DrawLine(x, lineTop, x + cell.width, lineTop, horizontal);
}

void TPagePrinter::WriteCell(int x, int top, const RowCell& cell)
{
    if (file_) {
        int blank = current_ && current_->GetCanvas() ? current_->GetCanvas()->TextWidth(" ") : 1;
        if (blank <= 0) blank = 1;
        int before = cell.offset > 0 ? cell.offset / blank : 0;
        int afterRoom = cell.width - cell.offset - cell.textWidth;
        int after = afterRoom > 0 ? afterRoom / blank : 0;
        WriteToFile(Blanks(before) + cell.text + Blanks(after));
        return;
    }
    if (!cell.text.IsEmpty() && current_ && current_->GetCanvas())
        current_->GetCanvas()->TextOut(x + cell.offset, top, cell.text);
}

void TPagePrinter::WriteRow(const AnsiString& text)
{
    TCanvas* canvas = current_ ? current_->GetCanvas() : nullptr;
    TextMeasure measure = [canvas](const AnsiString& s) { return canvas ? canvas->TextWidth(s) : s.Length(); };
    std::vector<RowColumn> columns;
    for (const AnsiString& part : SplitColumns(tableFormat_, separator_)) {
        ColumnSpec spec = ParseColumnSpec(part, defaultColWidth_);
        columns.push_back(RowColumn{spec.align, PxX(spec.width), spec.grid});
    }
    MacroValues macros;
    macros.line = lineNumber_;
    macros.page = pageNumber_;
    TDateTime now = Now();
    macros.date = FormatDateTime("ddddd", now);
    macros.time = FormatDateTime("tt", now);
    macros.title = GetTitle();
    std::vector<AnsiString> texts = SplitColumns(text, separator_);
    for (AnsiString& t : texts) t = ExpandMacros(t, macros);
    int padding = Sheet().ppiX / 300 * 6;
    std::vector<std::vector<RowCell>> lines = LayOutRow(columns, texts, wordWrap_, padding, measure);
    for (size_t i = 0; i < lines.size(); i++) {
        if (i > 0) NewLine();
        int top = MarginTopPixels() + y_;
        for (const RowCell& cell : lines[i]) {
            int x = MarginLeftPixels() + cell.left;
            WriteCell(x, top, cell);
            DrawCellGrid(x, top, cell, i == 0);
        }
    }
    if (tableGrid_ && !file_ && current_ && current_->GetCanvas()) {
        int bottom = MarginTopPixels() + y_ - LeadingAdjustment() + lineHeight_;
        for (const RowCell& cell : lines.back()) {
            int x = MarginLeftPixels() + cell.left;
            if (cell.grid) DrawLine(x, bottom, x + cell.width, bottom, Sheet().ppiY / 300 * 2);
        }
    }
    if (!headerFooterMode_ || file_) NewLine();
}
