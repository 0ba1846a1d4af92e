// TPagePrinter: records printed pages as enhanced metafiles drawn at the
// printer's resolution, shows one of them as a zoomed sheet on a gradient
// background, and sends the pages to Printer() with copies, collation, a
// page range and a progress dialog. Each page gets a header and a footer
// row, laid out as table columns from a format string.
//
// Lengths (margins, column widths) are in MeasureUnit. The origin of every
// page is the printable origin of the sheet (inside the printer's physical
// offsets); Canvas draws in printer pixels from there.
//
// Misuse raises EPagePrinter with an English message; a cancelled print
// raises ECancelPrinting inside Print, which answers false.
#ifndef KESTREL_PAGEPRINTER_H
#define KESTREL_PAGEPRINTER_H

#include <cstdio>
#include <memory>
#include <vector>

#include "exceptions.h"
#include "extctrls.h"
#include "font.h"
#include "printer.h"
#include "scrollbox.h"
#include "stringlist.h"
#include "pageprinter_units.h"

class EPagePrinter : public EPrinter {
public:
    explicit EPagePrinter(const AnsiString& msg) : EPrinter(msg) {}
};

class ECancelPrinting : public EPagePrinter {
public:
    explicit ECancelPrinting(const AnsiString& msg) : EPagePrinter(msg) {}
};

enum TLineSpacing { lsHalfSpace, lsSingleSpace, lsSingleAndAHalf, lsDoubleSpace };
enum TZoomLocation { zlTopLeft, zlTopCenter, zlCenter };
typedef unsigned TPageBorders;
enum : unsigned { pbTop = 1, pbBottom = 2, pbLeft = 4, pbRight = 8 };

class TPPPrnPrgDlg;
class PageRecording;

// The sheet as the printer gives it, in its pixels (or the fallback sheet
// when there is no printer).
struct PrinterSheet {
    int ppiX = 300, ppiY = 300;
    int width = 0, height = 0;      // physical page
    int offsetX = 0, offsetY = 0;   // physical offsets: the minimum margins
    int printableWidth = 0, printableHeight = 0;
    HDC reference = nullptr;        // null: the screen
};

class TPagePrinter : public TScrollBox {
public:
    explicit TPagePrinter(TComponent* AOwner);
    ~TPagePrinter() override;
    TPagePrinter(const TPagePrinter&) = delete;
    TPagePrinter& operator=(const TPagePrinter&) = delete;

    // ---- published
    TMeasureUnit GetMeasureUnit() const { return unit_; }
    void SetMeasureUnit(TMeasureUnit Value);
    double GetMarginTop() const { return marginTop_; }
    void SetMarginTop(double Value);
    double GetMarginBottom() const { return marginBottom_; }
    void SetMarginBottom(double Value);
    double GetMarginLeft() const { return marginLeft_; }
    void SetMarginLeft(double Value);
    double GetMarginRight() const { return marginRight_; }
    void SetMarginRight(double Value);
    TPrinterOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation Value);
    int GetCopies() const { return copies_; }
    void SetCopies(int Value) { copies_ = Value <= 0 ? 1 : Value; }
    bool GetCollate() const { return collate_; }
    void SetCollate(bool Value) { collate_ = Value; }
    // "<Unknown>" without a printer.
    AnsiString GetTitle();
    void SetTitle(const AnsiString& Value) { title_ = Value; }
    bool GetPrintToFile() const { return printToFile_; }
    void SetPrintToFile(bool Value);
    AnsiString GetFileName() const { return fileName_; }
    void SetFileName(const AnsiString& Value);
    AnsiString GetHeader() const { return header_; }
    void SetHeader(const AnsiString& Value) { header_ = Value; }
    AnsiString GetFooter() const { return footer_; }
    void SetFooter(const AnsiString& Value) { footer_ = Value; }
    AnsiString GetHeaderFormat() const { return headerFormat_; }
    void SetHeaderFormat(const AnsiString& Value);
    AnsiString GetFooterFormat() const { return footerFormat_; }
    void SetFooterFormat(const AnsiString& Value);
    AnsiString GetTableFormat() const { return tableFormat_; }
    void SetTableFormat(const AnsiString& Value);
    AnsiString GetFriendlyHeader() const { return friendlyHeader_; }
    void SetFriendlyHeader(const AnsiString& Value);
    AnsiString GetFriendlyFooter() const { return friendlyFooter_; }
    void SetFriendlyFooter(const AnsiString& Value);
    TFont* GetHeaderFont() const { return headerFont_.get(); }
    void SetHeaderFont(const TFont* Value) { headerFont_->Assign(Value); }
    TFont* GetFooterFont() const { return footerFont_.get(); }
    void SetFooterFont(const TFont* Value) { footerFont_->Assign(Value); }
    bool GetAutoHeaderFont() const { return autoHeaderFont_; }
    void SetAutoHeaderFont(bool Value);
    bool GetAutoFooterFont() const { return autoFooterFont_; }
    void SetAutoFooterFont(bool Value);
    TFont* GetFont() const { return font_.get(); }
    void SetFont(const TFont* Value) { font_->Assign(Value); }
    TLineSpacing GetLineSpacing() const { return lineSpacing_; }
    void SetLineSpacing(TLineSpacing Value);
    double GetDefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(double Value) { defaultColWidth_ = Value; }
    bool GetTableGrid() const { return tableGrid_; }
    void SetTableGrid(bool Value) { tableGrid_ = Value; }
    int GetTabSize() const { return tabSize_; }
    void SetTabSize(int Value) { tabSize_ = Value; }
    char GetTokenSeparator() const { return separator_; }
    void SetTokenSeparator(char Value) { separator_ = Value; }
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value) { wordWrap_ = Value; }
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment Value) { alignment_ = Value; }
    // Created on first use; assigning null frees it.
    TStrings* GetLines();
    void SetLines(TStrings* Value);
    TPageBorders GetPageBorders() const { return pageBorders_; }
    void SetPageBorders(TPageBorders Value);
    double GetPageBorderOffset() const { return pageBorderOffset_; }
    void SetPageBorderOffset(double Value);
    bool GetShowMargins() const { return showMargins_; }
    void SetShowMargins(bool Value);
    bool GetGradientBackground() const { return gradientBackground_; }
    void SetGradientBackground(bool Value);
    TColor GetShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor Value);
    int GetShadowOffset() const { return shadowOffset_; }
    void SetShadowOffset(int Value);
    int GetZoomPercent() const { return zoomPercent_; }
    void SetZoomPercent(int Value);
    TZoomLocation GetZoomLocation() const { return zoomLocation_; }
    void SetZoomLocation(TZoomLocation Value);
    bool GetShowProgress() const { return showProgress_; }
    void SetShowProgress(bool Value) { showProgress_ = Value; }
    bool GetShowCancel() const { return showCancel_; }
    void SetShowCancel(bool Value) { showCancel_ = Value; }
    AnsiString GetProgressMessage() const { return progressMessage_; }
    void SetProgressMessage(const AnsiString& Value) { progressMessage_ = Value; }
    bool GetAbortOnCancel() const { return abortOnCancel_; }
    void SetAbortOnCancel(bool Value) { abortOnCancel_ = Value; }
    TNotifyEvent OnNewPage;
    TNotifyEvent OnNewLine;

    // ---- public
    // The page being recorded (EPagePrinter when none is).
    TCanvas* GetCanvas();
    int GetPageNumber() const { return pageNumber_; }
    void SetPageNumber(int Value);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    int GetLineNumber() const { return lineNumber_; }
    int GetFromPage() const { return fromPage_; }
    void SetFromPage(int Value);
    int GetToPage() const { return toPage_; }
    void SetToPage(int Value);
    bool GetPrinting() const { return printing_; }
    void BeginDoc();
    void EndDoc();
    void NewPage();
    void NewLine();
    void Clear();
    // True when the job completed; every failure answers false.
    bool Print();

    // The page's geometry in printer pixels from the printable origin:
    // where the margins start and the size of the area inside them.
    int MarginLeftPixels();
    int MarginTopPixels();
    int UsableWidth();
    int UsableHeight();
    // The current page's vertical position below the top margin.
    int GetCurrentY() const { return y_; }

    // Test seam: the progress dialog while it is up.
    TPPPrnPrgDlg* GetProgressDialog() const { return progress_; }

protected:
    // The ranges follow the box's size: scroll bars coming and going change
    // the client area the position is centred in.
    void Resize() override;
    void CreateWnd() override;

private:
    friend class TPPPrnPrgDlg;

    // geometry (pageprinter.cpp)
    PrinterSheet Sheet();
    int PxX(double length);
    int PxY(double length);
    double MinMarginX();
    double MinMarginY();
    double PageWidthLength();
    double PageHeightLength();
    double PrintableWidthLength();
    double PrintableHeightLength();
    void CheckNotPrinting(const char* message);
    double ClampMargin(double value, double minimum, double opposite, double page);
    void RecomputeLayout();
    void FontChanged();
    void FixFontResolution(TCanvas* canvas);
    void UpdateLineHeight();
    void ApplyFriendly(bool header);
    AnsiString ConvertFormat(const AnsiString& format, double factor);

    // recording (pageprinter_record.cpp)
    void StartPage(bool listed);
    void FinishPage();
    void DrawHeaderAndFooter();
    int HeaderTop();
    int FooterTop();
    void WriteBandRow(TFont* font, bool header, const AnsiString& format, const AnsiString& text);
    void WriteRow(const AnsiString& text);
    void WriteCell(int x, int top, const struct RowCell& cell);
    void DrawCellGrid(int x, int top, const struct RowCell& cell, bool firstLine);
    void DrawLine(int x1, int y1, int x2, int y2, int width);
    int LeadingAdjustment();
    void DrawPageBorders();
    void WriteToFile(const AnsiString& text);
    AnsiString PartFileName() const;

    // printing (pageprinter_print.cpp)
    void PrintPages(int first, int last);
    void PrintOnePage(int page, int first, int last, bool lastOfJob);
    void UpdateProgress(int page, int first, int last);
    void CloseProgress();

    // preview (pageprinter_preview.cpp)
    void PaintPreview(TObject* Sender);
    SIZE ZoomedSheet();
    int Zoomed(double length, int screenPpi);
    void UpdateScrollRanges();
    void PreviewChanged();

    TMeasureUnit unit_ = muInches;
    double marginTop_ = 0, marginBottom_ = 0, marginLeft_ = 0, marginRight_ = 0;
    TPrinterOrientation orientation_ = poPortrait;
    int copies_ = 1;
    bool collate_ = true;
    AnsiString title_;
    bool printToFile_ = false;
    AnsiString fileName_;
    AnsiString header_, footer_, headerFormat_, footerFormat_, tableFormat_;
    AnsiString friendlyHeader_, friendlyFooter_;
    std::unique_ptr<TFont> font_, headerFont_, footerFont_;
    bool autoHeaderFont_ = true, autoFooterFont_ = true;
    TLineSpacing lineSpacing_ = lsSingleSpace;
    double defaultColWidth_ = 0;
    bool tableGrid_ = false;
    int tabSize_ = 8;
    char separator_ = '|';
    bool wordWrap_ = true;
    TAlignment alignment_ = taLeftJustify;
    std::unique_ptr<TStringList> lines_;
    TPageBorders pageBorders_ = 0;
    double pageBorderOffset_ = 0;
    bool showMargins_ = true;
    bool gradientBackground_ = true;
    TColor shadowColor_ = clBtnShadow;
    int shadowOffset_ = 5;
    int zoomPercent_ = 25;
    TZoomLocation zoomLocation_ = zlTopLeft;
    bool showProgress_ = true, showCancel_ = true;
    AnsiString progressMessage_;
    bool abortOnCancel_ = false;

    std::vector<std::unique_ptr<PageRecording>> pages_;
    std::unique_ptr<PageRecording> scratch_;  // the page drawn on outside a document
    PageRecording* current_ = nullptr;        // a listed page or the scratch page
    bool printing_ = false;
    bool headerFooterMode_ = false;
    std::FILE* file_ = nullptr;
    bool cancelled_ = false;
    int x_ = 0, y_ = 0;
    int lineHeight_ = 0;
    int externalLeading_ = 0;
    int pageNumber_ = 0, lineNumber_ = 0;
    int fromPage_ = 0, toPage_ = 0;
    TPPPrnPrgDlg* progress_ = nullptr;
    TPaintBox* paintBox_ = nullptr;
    bool constructing_ = true;
    bool updatingRanges_ = false;
};

#endif
