// TOpenPlus: the open dialog's companion: what the selected file holds
// (size, date, image count, colour kind, size in pixels, depth) and a
// preview of it, shown inside CustomOpenDialog1.
#ifndef KESTREL_OPEN_DIALOG_PREVIEW_H
#define KESTREL_OPEN_DIALOG_PREVIEW_H

#include "extctrls.h"
#include "forms.h"
#include "gfxfile.h"
#include "stdctrls.h"
#include "buffer_view.h"
#include "file_dialog_with_controls.h"

class TOpenPlus : public TForm {
public:
    explicit TOpenPlus(TComponent* AOwner);

    TCustomOpenDialog* CustomOpenDialog1;
    TPanel* InfoPanel;  // the one windowed control the dialog hosts
    TCheckBox* ShowPreview;
    TBuffer* PreviewBuf;  // inside the 240 x 180 area at (4, 24)
    TLabel* PicBytes;
    TLabel* PicMod;
    TScrollBar* ImgNum;
    TLabel* ImgNumLab;
    TLabel* PicColor;
    TLabel* PicSize;
    TLabel* PicBPP;
    TLabel* PicBPC;

    // Image chosen in a file that holds several.
    int ChosenImage = 0;

    // Shows what the file holds; an empty or unreadable name clears it.
    void LoadPreview(const AnsiString& name);
    void ShowPreviewClick(TObject* Sender);
    void ImgNumChange(TObject* Sender);
    void CustomOpenDialog1SelChange(TObject* Sender);
    // Forgets the file shown (a new dialog session starts).
    void Reset();

    AnsiString ShownFile() const { return shown_; }

private:
    void BuildControls();
    void ClearInfo();
    void ShowFileFacts(const AnsiString& name);
    void ShowPictureInfo(const GFXFileDesc& d);
    void ShowPicture();

    AnsiString shown_;
    Buffer scaled_;  // the preview at its shown size
};

extern TOpenPlus* OpenPlus;

#endif
