#include "infoform.h"

#include <memory>
#include <string>

#include "application.h"
#include "colour_count.h"
#include "file_time_text.h"
#include "formbuilder.h"
#include "imagetitle.h"
#include "mainform.h"
#include "messages.h"
#include "pictureview.h"
#include "programpictures.h"
#include "screen.h"
#include "smalldialog.h"
#include "sysutils.h"

namespace {

TDialogPlace lastPlace;

AnsiString Number(long long n) { return AnsiString(std::to_string(n).c_str()); }

AnsiString Dimensions(const UDBuffer& pic)
{
    if (!pic.pixels) return InfoValue("Dims", "");
    return InfoValue("Dims", Number(pic.Width()) + " x " + Number(pic.Height()));
}

// The picture's file as it lies on disk; false for a picture without one.
bool PictureFile(const UDBuffer& pic, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    if (pic.noFile || pic.fileName.IsEmpty()) return false;
    return GetFileAttributesExA(pic.fileName.c_str(), GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

class HourGlass {
public:
    HourGlass() { Screen->SetCursor(crHourGlass); }
    ~HourGlass() { Screen->SetCursor(crDefault); }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;
};

TLabel* InfoLabel(TInfoForm* form, const char* name, int x, int y)
{
    TLabel* label = NewLabel(form, form, "", x, y);
    label->SetName(name);
    label->SetShowAccelChar(false);
    return label;
}

}  // namespace

AnsiString InfoValue(const AnsiString& key, const AnsiString& value)
{
    return Translate(key) + ": " + (value.IsEmpty() ? AnsiString("-") : value);
}

TInfoForm::TInfoForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("InfoForm");
    SetCaption("Information");
    SetBorderStyle(bsDialog);
    SetClientWidth(340);
    SetClientHeight(212);
    Cap = new TGradientCaption(this);
    Cap->SetName("Cap");

    NameLabel = NewLabel(this, this, "Name:", 8, 8);
    NameLabel->SetName("Name");
    ImageName = new TFileLabel(this);
    ImageName->SetName("ImageName");
    ImageName->SetDirection(drFromRight);
    ImageName->SetBounds(NameLabel->GetLeft() + NameLabel->GetWidth() + 4, 8, 240, 16);
    ImageName->SetParent(this);
    ImageDim = InfoLabel(this, "ImageDim", 8, 30);
    ImageCol = InfoLabel(this, "ImageCol", 8, 50);
    ImageSize = InfoLabel(this, "ImageSize", 8, 70);
    ImageDate = InfoLabel(this, "ImageDate", 8, 90);
    BrushDim = InfoLabel(this, "BrushDim", 8, 122);
    BrushCol = InfoLabel(this, "BrushCol", 8, 142);
    ImgColCnt = NewButton(this, this, "Count", 252, 46, 80, 23, [this](TObject* s) { ImgColCntClick(s); });
    ImgColCnt->SetName("ImgColCnt");
    BrshColCnt = NewButton(this, this, "Count", 252, 138, 80, 23, [this](TObject* s) { BrshColCntClick(s); });
    BrshColCnt->SetName("BrshColCnt");
    HelpBtn = NewButton(this, this, "&Help", 172, 180, 80, 25, [this](TObject* s) { HelpBtnClick(s); });
    HelpBtn->SetName("HelpBtn");
    OkBtn = NewButton(this, this, "OK", 256, 180, 76, 25);
    OkBtn->SetName("OkBtn");
    OkBtn->SetDefault(true);
    OkBtn->SetCancel(true);  // Escape closes
    OkBtn->SetModalResult(mrOk);
    SetHelpContext(InfoHelpContext);
    OnDeactivate = [this](TObject* s) { FormDeactivate(s); };

    ShowPicture(CurrentPicture);
    BrushDim->SetCaption(Dimensions(CurrentBrush));
    BrushCol->SetCaption(InfoValue("ColNum", ""));
    PrepareSmallDialog(this, Cap, lastPlace);
    // The translated label may be wider or narrower than the English one.
    ImageName->SetLeft(NameLabel->GetLeft() + NameLabel->GetWidth() + 4);
}

// A dialog closed without losing the focus first is remembered too.
TInfoForm::~TInfoForm() { RememberDialogPlace(this, lastPlace); }

void TInfoForm::ShowPicture(const UDBuffer* pic)
{
    ImageCol->SetCaption(InfoValue("ColNum", ""));
    if (!pic) {
        ImageDim->SetCaption(InfoValue("Dims", ""));
        ImageSize->SetCaption(InfoValue("SizeInB", ""));
        ImageDate->SetCaption(InfoValue("Date", ""));
        ImgColCnt->SetEnabled(false);
        return;
    }
    ImageName->SetFileName(ImageTitle(*pic));
    ImageDim->SetCaption(Dimensions(*pic));
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (PictureFile(*pic, data)) {
        long long size = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        ImageSize->SetCaption(InfoValue("SizeInB", Number(size)));
        ImageDate->SetCaption(InfoValue("Date", FileTimeText(data.ftLastWriteTime)));
    } else {
        ImageSize->SetCaption(InfoValue("SizeInB", ""));
        ImageDate->SetCaption(InfoValue("Date", ""));
    }
}

// A count of 0 means the bit map could not be had: a picture always has a
// colour.
void TInfoForm::ShowCount(TLabel* label, const UDBuffer& pic)
{
    int count = 0;
    {
        HourGlass busy;
        count = CountColors(pic);
    }
    label->SetCaption(InfoValue("ColNum", count > 0 ? Number(count) : AnsiString()));
}

void TInfoForm::ImgColCntClick(TObject*)
{
    if (CurrentPicture) ShowCount(ImageCol, *CurrentPicture);
}

void TInfoForm::BrshColCntClick(TObject*) { ShowCount(BrushCol, CurrentBrush); }

void TInfoForm::HelpBtnClick(TObject*) { Application->HelpContext(GetHelpContext()); }

void TInfoForm::FormDeactivate(TObject*) { RememberDialogPlace(this, lastPlace); }

void TMainForm::Info1Click(TObject*)
{
    std::unique_ptr<TInfoForm> form(NewForm<TInfoForm>(this));
    form->ShowModal();
}
