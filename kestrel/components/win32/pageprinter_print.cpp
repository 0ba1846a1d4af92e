// TPagePrinter: sending the recorded pages to the printer.
#include "pageprinter.h"

#include <algorithm>
#include "application.h"
#include "pageprinter_page.h"
#include "pageprinter_progress.h"

bool TPagePrinter::Print()
{
    if (printing_) EndDoc();
    if (pages_.empty()) return false;
    int count = GetPageCount();
    int first = fromPage_ != 0 ? std::min(fromPage_, count) : 1;
    int last = toPage_ != 0 ? std::min(toPage_, count) : count;
    TPrinter* printer = Printer();
    int savedCopies = printer->GetCopies();
    bool completed = false;
    try {
        printer->SetCopies(1);
        cancelled_ = false;
        printer->SetTitle(GetTitle());
        printer->BeginDoc();
        PrintPages(first, last);
        printer->EndDoc();
        completed = true;
    } catch (...) {
        // Every failure, a cancel among them, ends here: the caller learns
        // it from the answer.
        try {
            if (printer->GetPrinting()) {
                if (abortOnCancel_)
                    printer->Abort();
                else
                    printer->EndDoc();
            }
        } catch (...) {
        }
    }
    CloseProgress();
    if (!printer->GetPrinting() && savedCopies >= 1) {
        try {
            printer->SetCopies(savedCopies);
        } catch (...) {
        }
    }
    return completed;
}

void TPagePrinter::PrintPages(int first, int last)
{
    if (collate_) {
        for (int copy = 1; copy <= copies_; copy++)
            for (int page = first; page <= last; page++)
                PrintOnePage(page, first, last, copy == copies_ && page == last);
    } else {
        for (int page = first; page <= last; page++)
            for (int copy = 1; copy <= copies_; copy++)
                PrintOnePage(page, first, last, copy == copies_ && page == last);
    }
}

void TPagePrinter::PrintOnePage(int page, int first, int last, bool lastOfJob)
{
    if (showProgress_ && showCancel_ && Application) Application->ProcessMessages();
    if (cancelled_) throw ECancelPrinting("Printing Cancelled");
    UpdateProgress(page, first, last);
    PageRecording* recording = pages_[page - 1].get();
    recording->Play(Printer()->GetCanvas()->GetHandle(), RECT{0, 0, recording->Width(), recording->Height()});
    if (!lastOfJob) Printer()->NewPage();
}

void TPagePrinter::UpdateProgress(int page, int first, int last)
{
    if (!showProgress_) {
        CloseProgress();
        return;
    }
    if (!progress_) {
        progress_ = new TPPPrnPrgDlg(nullptr, this);
        if (!showCancel_) progress_->HideCancel();
    }
    progress_->Show();
    progress_->SetCaption(GetTitle());
    progress_->lblStatus->SetCaption(progressMessage_.IsEmpty() ? AnsiString("Sending Pages To Printer")
                                                                : progressMessage_);
    progress_->ProgBar->SetMax(copies_ * (last - first + 1));
    progress_->ProgBar->StepIt();
    progress_->lblPageNumber->SetCaption(ProgressPageText(page, first, last, copies_));
    if (progress_->GetVisible()) progress_->Repaint();
}

void TPagePrinter::CloseProgress()
{
    if (!progress_) return;
    progress_->Hide();
    delete progress_;
    progress_ = nullptr;
}
