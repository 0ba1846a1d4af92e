// TPicture: one owned graphic of any kind.
#include "picture.h"

#include "icon.h"
#include "metafile.h"

namespace {

// An empty graphic of the same kind as source.
TGraphic* NewLike(TGraphic* source)
{
    if (dynamic_cast<TBitmap*>(source)) return new TBitmap;
    if (dynamic_cast<TIcon*>(source)) return new TIcon;
    if (dynamic_cast<TMetafile*>(source)) return new TMetafile;
    throw EConvertError("Cannot assign this graphic to a picture");
}

TGraphic* NewForFile(const AnsiString& fileName)
{
    AnsiString ext;
    int dot = fileName.LastDelimiter(".\\/:");
    if (dot > 0 && fileName[dot] == '.') ext = fileName.SubString(dot + 1, fileName.Length()).LowerCase();
    if (ext == "bmp") return new TBitmap;
    if (ext == "ico") return new TIcon;
    if (ext == "emf" || ext == "wmf") return new TMetafile;
    throw EInvalidGraphic("unknown picture file extension");
}

}  // namespace

TPicture::TPicture() {}

TPicture::~TPicture()
{
    OnChange = nullptr;
}

void TPicture::Changed()
{
    if (OnChange) OnChange(this);
}

void TPicture::Take(TGraphic* graphic)
{
    graphic_.reset(graphic);
    if (graphic) graphic->OnChange = [this](TGraphic*) { Changed(); };
    Changed();
}

void TPicture::SetGraphic(TGraphic* Value)
{
    if (Value == graphic_.get()) return;
    if (!Value) {
        Take(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> copy(NewLike(Value));
    copy->Assign(Value);
    Take(copy.release());
}

TBitmap* TPicture::GetBitmap()
{
    auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get());
    if (!bitmap) {
        bitmap = new TBitmap;
        Take(bitmap);
    }
    return bitmap;
}

void TPicture::LoadFromFile(const AnsiString& FileName)
{
    std::unique_ptr<TGraphic> graphic(NewForFile(FileName));
    graphic->LoadFromFile(FileName);
    Take(graphic.release());
}

void TPicture::SaveToFile(const AnsiString& FileName)
{
    if (graphic_) graphic_->SaveToFile(FileName);
}

void TPicture::Assign(TPersistent* Source)
{
    if (auto* picture = dynamic_cast<TPicture*>(Source)) {
        SetGraphic(picture->GetGraphic());
        return;
    }
    if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(graphic);
        return;
    }
    TPersistent::Assign(Source);
}
