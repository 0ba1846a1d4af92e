#include "printform.h"

#include <new>
#include "colconv.h"
#include "debuglog.h"
#include "formbuilder.h"
#include "imagetitle.h"
#include "messages.h"
#include "namedcontrol.h"
#include "picture_document.h"
#include "print_layout.h"
#include "smalldialog.h"
#include "sysutils.h"

namespace {

TDialogPlace lastPlace;

// The margins of the program's page: the bands the header and footer sit in.
const double TopBottomMargin = 4.995333;
const double LeftRightMargin = 6.096;

TEdit* NewText(TComponent* owner, TWinControl* parent, const char* name, int x, int y)
{
    TEdit* edit = NewNamed<TEdit>(owner, parent, name, x, y, 170, 21);
    edit->SetText("");
    return edit;
}

TSpinEdit* NewSpin(TComponent* owner, TWinControl* parent, const char* name, int x, int y, int w, int minValue,
                   int maxValue, int value)
{
    TSpinEdit* spin = NewNamed<TSpinEdit>(owner, parent, name, x, y, w, 21);
    spin->SetMinValue(minValue);
    spin->SetMaxValue(maxValue);
    spin->SetValue(value);
    return spin;
}

}  // namespace

TPrintForm::TPrintForm(TComponent* AOwner, UDBuffer* picture) : TForm(AOwner), picture_(picture)
{
    SetName("PrintForm");
    SetCaption("Print");
    SetBorderStyle(bsDialog);
    SetClientWidth(560);
    SetClientHeight(390);
    Cap = new TGradientCaption(this);
    Cap->SetName("Cap");
    BuildControls();
    OnShow = [this](TObject* s) { FormShow(s); };
    PrepareSmallDialog(this, Cap, lastPlace);
}

TPrintForm::~TPrintForm()
{
    RememberDialogPlace(this, lastPlace);
}

TRadioGroup* TPrintForm::NewChoice(const char* name, const char* caption, int x, int y, int h,
                                   std::initializer_list<const char*> items)
{
    TRadioGroup* group = NewNamed<TRadioGroup>(this, this, name, x, y, 130, h);
    group->SetCaption(caption);
    for (const char* item : items) group->GetItems()->Add(item);
    return group;
}

void TPrintForm::BuildControls()
{
    PagePrinter1 = NewNamed<TPagePrinter>(this, this, "PagePrinter1", 8, 8, 250, 340);
    PagePrinter1->SetMeasureUnit(muMillimeters);
    PagePrinter1->SetShowMargins(false);
    PagePrinter1->SetShowProgress(false);
    PagePrinter1->SetZoomLocation(zlCenter);
    PagePrinter1->SetZoomPercent(28);
    PagePrinter1->GetHorzScrollBar()->SetIncrement(16);
    PagePrinter1->GetHorzScrollBar()->SetTracking(true);
    PagePrinter1->GetVertScrollBar()->SetIncrement(16);
    PagePrinter1->GetVertScrollBar()->SetTracking(true);

    NewLabel(this, this, "Copies:", 270, 12)->SetName("CopiesLabel");
    Copies = NewSpin(this, this, "Copies", 340, 8, 60, 1, 99, 1);
    NewLabel(this, this, "Preview zoom %:", 420, 12)->SetName("ZoomLabel");
    Zoom = NewSpin(this, this, "Zoom", 500, 8, 52, 1, 200, 28);
    Orientation = NewChoice("Orientation", "Orientation", 270, 36, 64, {"Portrait", "Landscape"});
    HorizPos = NewChoice("HorizPos", "Horizontal", 270, 106, 82, {"Left", "Center", "Right"});
    VertPos = NewChoice("VertPos", "Vertical", 410, 106, 82, {"Top", "Center", "Bottom"});
    HorizPos->SetItemIndex(1);
    VertPos->SetItemIndex(1);
    Stretch2Fit = NewCheckBox(this, this, "&Fit to page", 410, 40, 140, 17);
    Stretch2Fit->SetName("Stretch2Fit");
    NewLabel(this, this, "Picture size %:", 410, 66)->SetName("ImgZoomLabel");
    ImgZoom = NewSpin(this, this, "ImgZoom", 490, 62, 62, 1, 9999, 100);

    NewLabel(this, this, "Header:", 270, 200)->SetName("HeaderLabel");
    Header = NewText(this, this, "Header", 270, 216);
    HdrFontBtn = NewButton(this, this, "Font...", 450, 214, 75, 25, [this](TObject* s) { HdrFontBtnClick(s); });
    HdrFontBtn->SetName("HdrFontBtn");
    NewLabel(this, this, "Footer:", 270, 248)->SetName("FooterLabel");
    Footer = NewText(this, this, "Footer", 270, 264);
    FtrFontBtn = NewButton(this, this, "Font...", 450, 262, 75, 25, [this](TObject* s) { FtrFontBtnClick(s); });
    FtrFontBtn->SetName("FtrFontBtn");
    FontDialog1 = new TFontDialog(this);
    FontDialog1->SetName("FontDialog1");

    PrintBtn = NewButton(this, this, "&Print", 394, 356, 75, 25, [this](TObject* s) { PrintBtnClick(s); });
    PrintBtn->SetName("PrintBtn");
    PrintBtn->SetDefault(true);
    CancelBtn = NewButton(this, this, "Cancel", 477, 356, 75, 25, [this](TObject* s) { CancelBtnClick(s); });
    CancelBtn->SetName("CancelBtn");
    CancelBtn->SetCancel(true);

    Copies->OnChange = [this](TObject* s) { CopiesChange(s); };
    Zoom->OnChange = [this](TObject* s) { ZoomChange(s); };
    Header->OnChange = [this](TObject* s) { HeaderChange(s); };
    Footer->OnChange = [this](TObject* s) { FooterChange(s); };
    Orientation->OnClick = [this](TObject* s) { OrientationClick(s); };
    Stretch2Fit->OnClick = [this](TObject* s) { Stretch2FitClick(s); };
    HorizPos->OnClick = [this](TObject* s) { ParamsChanged(s); };
    VertPos->OnClick = [this](TObject* s) { ParamsChanged(s); };
    ImgZoom->OnChange = [this](TObject* s) { ParamsChanged(s); };
}

bool TPrintForm::MakeBitmap()
{
    int w = picture_->Width(), h = picture_->Height();
    // More than the address space holds is out of memory too, not a wrapped
    // size.
    const size_t limit = 0x7FFFFFFF;
    if (w <= 0 || h <= 0 || size_t(w) > (limit - 3) / 3) return false;
    size_t rowBytes = (size_t(w) * 3 + 3) & ~size_t(3);
    if (rowBytes > limit / size_t(h)) return false;
    try {
        bits_.assign(rowBytes * size_t(h), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < h; y++)
        Colconv::RGB32RGB24s(picture_->At(picture_->left, picture_->top + y), &bits_[rowBytes * size_t(h - 1 - y)],
                             w);
    return true;
}

void TPrintForm::FormShow(TObject*)
{
    if (!MakeBitmap()) {
        TranslatedMessageBox("NoMem", "Err", MsgIconWarning);
        SetModalResult(mrCancel);
        return;
    }
    PagePrinter1->SetMarginTop(TopBottomMargin);
    PagePrinter1->SetMarginBottom(TopBottomMargin);
    PagePrinter1->SetMarginLeft(LeftRightMargin);
    PagePrinter1->SetMarginRight(LeftRightMargin);
    PagePrinter1->SetTitle(ImageTitle(*picture_));
    PagePrinter1->SetZoomPercent(static_cast<int>(Zoom->GetValue()));
    TPrinter* printer = Printer();
    Copies->SetValue(printer->GetCopies());
    Orientation->SetItemIndex(printer->GetOrientation() == poLandscape ? 1 : 0);
    PagePrinter1->SetOrientation(printer->GetOrientation());
    shown_ = true;
    PrintPage();
}

bool TPrintForm::PrintPage()
{
    if (!shown_) return false;
    int w = picture_->Width(), h = picture_->Height();
    PagePrinter1->Clear();
    PagePrinter1->BeginDoc();
    PrintPlacement place =
        PlacePicture(PagePrinter1->UsableWidth(), PagePrinter1->UsableHeight(), w, h, Stretch2Fit->GetChecked(),
                     static_cast<int>(ImgZoom->GetValue()), static_cast<THorzPlace>(HorizPos->GetItemIndex()),
                     static_cast<TVertPlace>(VertPos->GetItemIndex()));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(bits_.size());
    int drawn = StretchDIBits(PagePrinter1->GetCanvas()->GetHandle(), PagePrinter1->MarginLeftPixels() + place.x,
                              PagePrinter1->MarginTopPixels() + place.y, place.width, place.height, 0, 0, w, h,
                              bits_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    DWORD error = GetLastError();
    bool ok = drawn != 0 && drawn != int(GDI_ERROR);
    if (!ok) {
        TranslatedMessageBox("ErrPrn", "Err", MsgIconWarning);
        SetCaption(GetCaption() + " " + IntToStr(static_cast<int>(error)));
    }
    PagePrinter1->EndDoc();
    return ok;
}

void TPrintForm::CopiesChange(TObject*)
{
    PagePrinter1->SetCopies(static_cast<int>(Copies->GetValue()));
}

void TPrintForm::ZoomChange(TObject*)
{
    PagePrinter1->SetZoomPercent(static_cast<int>(Zoom->GetValue()));
}

void TPrintForm::HeaderChange(TObject*)
{
    PagePrinter1->SetFriendlyHeader(Header->GetText());
}

void TPrintForm::FooterChange(TObject*)
{
    PagePrinter1->SetFriendlyFooter(Footer->GetText());
}

void TPrintForm::OrientationClick(TObject*)
{
    TPrinterOrientation o = Orientation->GetItemIndex() == 1 ? poLandscape : poPortrait;
    PagePrinter1->SetOrientation(o);
    PrintPage();
    if (Printer()->HasPrinter()) {
        try {
            DebugLog(Format("Printer PageHeight:%d, PageWidth:%d.", Printer()->GetPageHeight(),
                            Printer()->GetPageWidth()));
        } catch (const EPrinter&) {
        }
    }
}

void TPrintForm::Stretch2FitClick(TObject*)
{
    ImgZoom->SetEnabled(!Stretch2Fit->GetChecked());
    PrintPage();
}

bool TPrintForm::ChooseFont(TFont* font)
{
    FontDialog1->SetFont(font);
    if (!FontDialog1->Execute()) return false;
    font->Assign(FontDialog1->GetFont());
    return true;
}

void TPrintForm::HdrFontBtnClick(TObject*)
{
    if (!ChooseFont(PagePrinter1->GetHeaderFont())) return;
    PagePrinter1->SetAutoHeaderFont(false);
    PrintPage();
}

void TPrintForm::FtrFontBtnClick(TObject*)
{
    if (!ChooseFont(PagePrinter1->GetFooterFont())) return;
    PagePrinter1->SetAutoFooterFont(false);
    PrintPage();
}

void TPrintForm::ParamsChanged(TObject*)
{
    PrintPage();
}

void TPrintForm::PrintBtnClick(TObject*)
{
    bool drawn = PrintPage();
    // The page printer answers false for every failure; saying nothing
    // would pass a failed print off as done.
    if (drawn && !PagePrinter1->Print()) TranslatedMessageBox("ErrPrn", "Err", MsgIconWarning);
    SetModalResult(mrOk);
}

void TPrintForm::CancelBtnClick(TObject*)
{
    SetModalResult(mrCancel);
}
