// TPrintForm: prints the current picture on one page, placed by a scale
// and an alignment, with a header, a footer and a preview of the page.
#ifndef KESTREL_PRINTFORM_H
#define KESTREL_PRINTFORM_H

#include <vector>
#include "dialogs.h"
#include "extctrls.h"
#include "forms.h"
#include "gradient_caption.h"
#include "pageprinter.h"
#include "spinedit.h"
#include "stdctrls.h"

class UDBuffer;

class TPrintForm : public TForm {
public:
    // picture: what is printed; it is only read.
    TPrintForm(TComponent* AOwner, UDBuffer* picture);
    ~TPrintForm() override;
    TPrintForm(const TPrintForm&) = delete;
    TPrintForm& operator=(const TPrintForm&) = delete;

    TGradientCaption* Cap;
    TPagePrinter* PagePrinter1;
    TSpinEdit* Copies;
    TRadioGroup* Orientation;
    TEdit* Header;
    TEdit* Footer;
    TButton *HdrFontBtn, *FtrFontBtn;
    TFontDialog* FontDialog1;
    TSpinEdit* Zoom;
    TRadioGroup* HorizPos;
    TRadioGroup* VertPos;
    TSpinEdit* ImgZoom;
    TCheckBox* Stretch2Fit;
    TButton *PrintBtn, *CancelBtn;

    void FormShow(TObject* Sender);
    void CopiesChange(TObject* Sender);
    void ZoomChange(TObject* Sender);
    void HeaderChange(TObject* Sender);
    void FooterChange(TObject* Sender);
    void OrientationClick(TObject* Sender);
    void Stretch2FitClick(TObject* Sender);
    void HdrFontBtnClick(TObject* Sender);
    void FtrFontBtnClick(TObject* Sender);
    void ParamsChanged(TObject* Sender);
    void PrintBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);

    // Records the page: header, footer and the picture where the layout
    // puts it. False when the picture could not be drawn.
    bool PrintPage();

private:
    void BuildControls();
    TRadioGroup* NewChoice(const char* name, const char* caption, int x, int y, int h,
                           std::initializer_list<const char*> items);
    bool MakeBitmap();
    bool ChooseFont(TFont* font);

    UDBuffer* picture_;
    // The picture as a bottom-up 24-bit bitmap, made once: the picture
    // itself is never converted, so its flag bytes stay as they are.
    std::vector<unsigned char> bits_;
    bool shown_ = false;
};


#endif
