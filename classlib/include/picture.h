// TPicture: holds one graphic of any kind (bitmap, icon, metafile) for a
// TImage. Setting a graphic copies it; asking for Bitmap replaces any other
// kind with an empty bitmap, so that there is a canvas to draw on.
#ifndef CLASSLIB_PICTURE_H
#define CLASSLIB_PICTURE_H

#include <memory>

#include "bitmap.h"

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;

    TGraphic* GetGraphic() const { return graphic_.get(); }
    // A copy of Value (null empties); EConvertError for a kind this library
    // does not know.
    void SetGraphic(TGraphic* Value);
    TBitmap* GetBitmap();
    void SetBitmap(TBitmap* Value) { SetGraphic(Value); }

    int GetWidth() const { return graphic_ ? graphic_->GetWidth() : 0; }
    int GetHeight() const { return graphic_ ? graphic_->GetHeight() : 0; }

    // By extension: .bmp, .ico, .emf/.wmf; EInvalidGraphic for others.
    void LoadFromFile(const AnsiString& FileName);
    void SaveToFile(const AnsiString& FileName);
    // Another TPicture or a TGraphic.
    void Assign(TPersistent* Source) override;

    // After any change of the graphic, drawing on its canvas included.
    TNotifyEvent OnChange;

private:
    void Take(TGraphic* graphic);
    void Changed();

    std::unique_ptr<TGraphic> graphic_;
};

#endif
