// TTipForm: the tip of the day. One tip at a time from the language's tip
// file; the settings remember which tip comes next and whether tips show
// at start.
#ifndef KESTREL_TIPFORM_H
#define KESTREL_TIPFORM_H

#include "extctrls.h"
#include "forms.h"
#include "gradient_caption.h"
#include "stdctrls.h"

class TTipForm : public TForm {
public:
    // Shows the next tip at once (reporting a missing tip file).
    explicit TTipForm(TComponent* AOwner);
    ~TTipForm() override;
    TTipForm(const TTipForm&) = delete;
    TTipForm& operator=(const TTipForm&) = delete;

    // Shows the tip AppSettings.TODIndex names and advances it; "NoTOD"
    // when the tip file cannot be opened.
    void NextTipBtnClick(TObject* Sender);
    void HelpBtnClick(TObject* Sender);
    // False once the tip file could not be opened.
    bool HasTips() const { return hasTips_; }

    TGradientCaption* Cap;
    TPanel* TipPanel;
    TLabel* DidYouKnow;
    TLabel* TipText;
    TCheckBox* ShowTipsCB;
    TButton *NextTipBtn, *HelpBtn, *CloseBtn;

private:
    bool hasTips_ = true;
};

// The tip file: the program's folder and the language's file name (the
// English tips while no language is loaded).
AnsiString TipFilePath();

// Opens the dialog modally. A tip file that cannot be opened is reported
// and no empty dialog opens; with quiet (the tip at start) it is not even
// reported, so a language without tips does not greet every start with an
// error.
void RunTipOfTheDay(TComponent* owner, bool quiet);

#endif
