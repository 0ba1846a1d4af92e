#include "open_dialog_preview.h"

#include <stdlib.h>
#include <cstring>
#include <string>

#include "file_time_text.h"
#include "messages.h"
#include "namedcontrol.h"
#include "picturefiles_win32.h"
#include "programpictures.h"
#include "sysutils.h"

TOpenPlus* OpenPlus = nullptr;

TOpenPlus::TOpenPlus(TComponent* AOwner) : TForm(AOwner)
{
    SetName("OpenPlus");
    BuildControls();
}

void TOpenPlus::BuildControls()
{
    SetBorderStyle(bsNone);
    SetClientWidth(430);
    SetClientHeight(208);
    CustomOpenDialog1 = new TCustomOpenDialog(this);
    CustomOpenDialog1->SetName("CustomOpenDialog1");
    CustomOpenDialog1->SetOptions(ofHideReadOnly | ofFileMustExist | ofPathMustExist | ofEnableSizing);
    CustomOpenDialog1->SetOnSelChange([this](TObject* s) { CustomOpenDialog1SelChange(s); });
    InfoPanel = NewNamed<TPanel>(this, this, "InfoPanel", 0, 0, 430, 208);
    InfoPanel->SetBevelOuter(bvNone);
    InfoPanel->SetCaption("");
    ShowPreview = NewNamed<TCheckBox>(this, InfoPanel, "ShowPreview", 4, 4, 200, 17);
    ShowPreview->SetCaption(Translate("Show preview"));
    ShowPreview->SetChecked(true);
    ShowPreview->OnClick = [this](TObject* s) { ShowPreviewClick(s); };
    PreviewBuf = NewNamed<TBuffer>(this, InfoPanel, "PreviewBuf", 4, 24, 240, 180);
    PreviewBuf->SetVisible(false);
    const int x = 252;
    PicBytes = NewNamed<TLabel>(this, InfoPanel, "PicBytes", x, 24, 170, 13);
    PicMod = NewNamed<TLabel>(this, InfoPanel, "PicMod", x, 42, 170, 13);
    ImgNum = NewNamed<TScrollBar>(this, InfoPanel, "ImgNum", x, 62, 170, 16);
    ImgNum->SetVisible(false);
    ImgNum->OnChange = [this](TObject* s) { ImgNumChange(s); };
    ImgNumLab = NewNamed<TLabel>(this, InfoPanel, "ImgNumLab", x, 82, 170, 13);
    PicColor = NewNamed<TLabel>(this, InfoPanel, "PicColor", x, 104, 170, 13);
    PicSize = NewNamed<TLabel>(this, InfoPanel, "PicSize", x, 122, 170, 13);
    PicBPP = NewNamed<TLabel>(this, InfoPanel, "PicBPP", x, 140, 170, 13);
    PicBPC = NewNamed<TLabel>(this, InfoPanel, "PicBPC", x, 158, 170, 13);
}

void TOpenPlus::Reset()
{
    shown_ = "";
    ChosenImage = 0;
    ClearInfo();
}

void TOpenPlus::ClearInfo()
{
    for (TLabel* l : {PicBytes, PicMod, ImgNumLab, PicColor, PicSize, PicBPP, PicBPC}) l->SetCaption("");
    ImgNum->SetVisible(false);
    PreviewBuf->SetBuffer(nullptr);
    PreviewBuf->SetVisible(false);
    FreeOpenPreview();
}

void TOpenPlus::CustomOpenDialog1SelChange(TObject*)
{
    AnsiString name = CustomOpenDialog1->GetHost()->GetCurrentPath();
    if (name == shown_) return;
    ChosenImage = 0;
    LoadPreview(name);
}

void TOpenPlus::LoadPreview(const AnsiString& name)
{
    shown_ = name;
    GFXFileDesc d;
    std::memset(&d, 0, sizeof d);
    bool picture = false;
    if (!name.IsEmpty()) {
        try {
            AnsiString file = name;
            picture = GFXFile::Test(file, &d);
        } catch (...) {
            picture = false;  // unreadable: nothing to show
        }
    }
    ClearInfo();
    if (!picture) return;
    ShowFileFacts(name);
    int images = d.images > 1 ? d.images : 1;
    if (ChosenImage >= images) ChosenImage = 0;
    ImgNum->SetVisible(images > 1);
    if (images > 1) ImgNum->SetParams(ChosenImage, 0, images - 1);
    ImgNumLab->SetCaption(Translate("Image") + " " + IntToStr(ChosenImage + 1));
    ShowPictureInfo(d);
    ShowPicture();
}

void TOpenPlus::ShowFileFacts(const AnsiString& name)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) return;
    unsigned long long size = (unsigned long long)data.nFileSizeHigh << 32 | data.nFileSizeLow;
    PicBytes->SetCaption(Translate("SizeInB") + ": " + AnsiString(std::to_string(size).c_str()));
    PicMod->SetCaption(Translate("Date") + ": " + FileTimeText(data.ftLastWriteTime));
}

void TOpenPlus::ShowPictureInfo(const GFXFileDesc& d)
{
    AnsiString kind = Translate(d.colour || d.palette ? "Color" : "Grayscale") + " " + Translate("Image");
    if (d.palette) kind += " " + Translate("WithPal");
    PicColor->SetCaption(kind);
    PicSize->SetCaption(Translate("Size") + ": " + IntToStr(d.width) + "x" + IntToStr(d.height) + " " +
                        Translate("Pixels"));
    PicBPP->SetCaption(Translate("BPP") + ": " + IntToStr(int(d.bits)));
    PicBPC->SetCaption(Translate("BPCC") + ": " + IntToStr(int(d.channelBits)));
}

void TOpenPlus::ShowPicture()
{
    PreviewBuf->SetVisible(false);
    OpenPreview.whole = false;
    if (!ShowPreview->GetChecked() || shown_.IsEmpty()) return;
    int result = LoadPictureFile(&OpenPreviewPicture, shown_, ChosenImage, true);
    bool whole = (result == LoadOk || result == LoadDamaged || result == LoadReadError) && OpenPreviewPicture.pixels;
    if (!whole) return;
    OpenPreview.whole = true;
    OpenPreview.result = result;
    OpenPreview.file = FullPathName(shown_.Trim());
    OpenPreview.image = ChosenImage;
    PreviewPlace place = PreviewPlacement(OpenPreviewPicture.Width(), OpenPreviewPicture.Height());
    PreviewBuf->SetBuffer(nullptr);
    scaled_.Free();
    scaled_.Alloc(Pair<int>{place.width, place.height});
    scaled_.Scale(OpenPreviewPicture, Pair<int>{place.width, place.height}, Pair<int>{0, 0}, 0xFFFFFFFF, -1);
    PreviewBuf->SetBounds(place.left, place.top, place.width, place.height);
    PreviewBuf->SetBuffer(&scaled_);
    PreviewBuf->SetVisible(true);
}

void TOpenPlus::ShowPreviewClick(TObject*)
{
    if (ShowPreview->GetChecked())
        ShowPicture();
    else
        PreviewBuf->SetVisible(false);
}

void TOpenPlus::ImgNumChange(TObject*)
{
    if (ImgNum->GetPosition() == ChosenImage) return;  // set by LoadPreview itself
    ChosenImage = ImgNum->GetPosition();
    LoadPreview(shown_);
}
