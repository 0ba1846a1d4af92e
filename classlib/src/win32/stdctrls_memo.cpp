// TCustomMemo: a multi-line edit whose Lines are the lines of its text.
//
// Lines work on the text itself (split at line breaks), not on the window's
// line messages, so soft word-wrap breaks are not lines and the strings are
// the same with or without a window.
#include "stdctrls.h"

#include <vector>

#include "list.h"

namespace {

std::vector<AnsiString> SplitLines(const AnsiString& text)
{
    std::vector<AnsiString> lines;
    const char* p = text.c_str();
    const char* start = p;
    while (*p) {
        if (*p == '\r' || *p == '\n') {
            lines.push_back(AnsiString(start, static_cast<int>(p - start)));
            if (p[0] == '\r' && p[1] == '\n') ++p;
            start = ++p;
        } else {
            ++p;
        }
    }
    if (p != start) lines.push_back(AnsiString(start, static_cast<int>(p - start)));
    return lines;
}

// Each line followed by CR LF, so that empty last lines survive a round trip.
AnsiString JoinLines(const std::vector<AnsiString>& lines)
{
    AnsiString text;
    for (const AnsiString& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace

class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}

    int GetCount() const override { return static_cast<int>(Lines().size()); }
    void Clear() override { memo_->SetText(""); }
    void Delete(int Index) override
    {
        std::vector<AnsiString> lines = Lines();
        Check(Index, static_cast<int>(lines.size()) - 1);
        lines.erase(lines.begin() + Index);
        memo_->SetText(JoinLines(lines));
    }
    void Insert(int Index, const AnsiString& S) override
    {
        std::vector<AnsiString> lines = Lines();
        Check(Index, static_cast<int>(lines.size()));
        lines.insert(lines.begin() + Index, S);
        memo_->SetText(JoinLines(lines));
    }
    // The text as given, line breaks and all.
    void SetText(const AnsiString& Text) override { memo_->SetText(Text); }

protected:
    AnsiString Get(int Index) const override
    {
        std::vector<AnsiString> lines = Lines();
        Check(Index, static_cast<int>(lines.size()) - 1);
        return lines[Index];
    }
    void Put(int Index, const AnsiString& S) override
    {
        std::vector<AnsiString> lines = Lines();
        Check(Index, static_cast<int>(lines.size()) - 1);
        lines[Index] = S;
        memo_->SetText(JoinLines(lines));
    }

private:
    std::vector<AnsiString> Lines() const { return SplitLines(memo_->GetText()); }
    static void Check(int Index, int last)
    {
        if (Index < 0 || Index > last) ListIndexError(Index);
    }

    TCustomMemo* memo_;
};

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), lines_(new TMemoStrings(this))
{
    SetAutoSize(false);
    SetBounds(left_, top_, 185, 89);
}

TCustomMemo::~TCustomMemo() {}

TStrings* TCustomMemo::GetLines() const
{
    return lines_.get();
}

void TCustomMemo::SetLines(TStrings* Value)
{
    lines_->Assign(Value);
}

void TCustomMemo::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE;
    if (wantReturns_) Params.Style |= ES_WANTRETURN;
    // Wrapped text never scrolls sideways.
    if (wordWrap_) Params.Style &= ~ES_AUTOHSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) Params.Style |= WS_VSCROLL;
    if ((scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && !wordWrap_) Params.Style |= WS_HSCROLL;
}

void TCustomMemo::SetScrollBars(TScrollStyle Value)
{
    if (Value == scrollBars_) return;
    scrollBars_ = Value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value)
{
    if (Value == wordWrap_) return;
    wordWrap_ = Value;
    RecreateWnd();
}

void TCustomMemo::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        TCustomEdit::WndProc(Message);
        // Tab and Enter go to the dialog unless the memo wants them.
        if (wantTabs_)
            Message.Result |= DLGC_WANTTAB;
        else
            Message.Result &= ~DLGC_WANTTAB;
        if (!wantReturns_) Message.Result &= ~DLGC_WANTALLKEYS;
        return;
    }
    TCustomEdit::WndProc(Message);
}
