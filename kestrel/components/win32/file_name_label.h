// TFileLabel: a label that shows a path shortened with "..." in place of
// folders, so that it fits the label's width.
#ifndef KESTREL_FILE_NAME_LABEL_H
#define KESTREL_FILE_NAME_LABEL_H

#include "file_name_label_model.h"
#include "stdctrls.h"

class TFileLabel : public TCustomLabel {
public:
    // Word wrap and auto size off, separator "\".
    explicit TFileLabel(TComponent* AOwner);

    AnsiString GetFileName() const { return fileName_; }
    void SetFileName(const AnsiString& Value);
    AnsiString GetSeparator() const { return separator_; }
    void SetSeparator(const AnsiString& Value);
    TDirection GetDirection() const { return direction_; }
    void SetDirection(TDirection Value);

protected:
    void FontChanged() override;
    void Resize() override;

private:
    // Puts the shortened path in Caption.
    void UpdateCaption();

    AnsiString fileName_;
    AnsiString separator_ = "\\";
    TDirection direction_ = drFromLeft;
};

#endif
