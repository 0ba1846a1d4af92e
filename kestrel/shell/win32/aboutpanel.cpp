#include "aboutpanel.h"

#include <algorithm>
#include "formbuilder.h"
#include "messages.h"
#include "screen.h"

const char* const HomePageAddress = "https://www.corvane.example/kestrel/";

std::function<bool(const AnsiString& address)> OpenInBrowser = [](const AnsiString& address) {
    HINSTANCE result = ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
};

namespace {

const int PanelWidth = 441;
const int PanelHeight = 341;
const int HeaderHeight = 22;
const TColor HeaderColour = 0x582818;  // 0x00BBGGRR
const TColor BodyEndColour = 0xC88C60;

TAboutPanel* splashPanel = nullptr;

TColor Blend(TColor from, TColor to, int step, int steps)
{
    TColor out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        out |= (a + (b - a) * step / steps) << shift;
    }
    return out;
}

void CentredText(TCanvas* c, int y, const AnsiString& text)
{
    c->TextOut((PanelWidth - c->TextWidth(text)) / 2, y, text);
}

// Right-aligned in the link strip. The underline is a line of the text's
// width: a clipped underlined font draws its line on to the clip edge.
void DrawLink(TCanvas* c)
{
    const AnsiString text = "Kestrel on the Web";
    const int room = AboutLinkRect.right - AboutLinkRect.left - 2;
    c->GetFont()->SetColor(0x80FFFF);
    // Font metrics differ between systems: smaller until it fits.
    for (int size = 8; size > 5 && c->TextWidth(text) > room; --size) c->GetFont()->SetSize(size - 1);
    int width = c->TextWidth(text);
    int x = std::max(static_cast<int>(AboutLinkRect.left), static_cast<int>(AboutLinkRect.right) - 2 - width);
    c->TextRect(AboutLinkRect, x, AboutLinkRect.top, text);
    c->GetPen()->SetColor(0x80FFFF);
    int y = AboutLinkRect.bottom - 2;
    c->MoveTo(x, y);
    c->LineTo(std::min(x + width, static_cast<int>(AboutLinkRect.right)), y);
}

}  // namespace

void OpenHomePage()
{
    if (!OpenInBrowser(HomePageAddress)) TranslatedMessageBox("CantOpenBrowser", "Err", MsgIconWarning);
}

TAboutPanel::TAboutPanel(TComponent* AOwner) : TForm(AOwner)
{
    SetName("AboutPanel");
    SetBorderStyle(bsNone);
    SetBounds(0, 0, PanelWidth, PanelHeight);
    Image1 = New<TImage>(this, this, 0, 0, PanelWidth, PanelHeight);
    Image1->SetName("Image1");
    DrawPicture();
    Image1->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) { ImagePress(x, y); };
    OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    OnDeactivate = [this](TObject*) { Close(); };
}

TAboutPanel::~TAboutPanel()
{
    // The window's end deactivates it: that must not close it again.
    OnDeactivate = nullptr;
    if (splashPanel == this) splashPanel = nullptr;
}

// There is no picture file to ship: the panel draws its own.
void TAboutPanel::DrawPicture()
{
    TCanvas* c = Image1->GetCanvas();
    c->GetBrush()->SetColor(HeaderColour);
    c->FillRect(RECT{0, 0, PanelWidth, HeaderHeight});
    const int bands = 64;
    for (int i = 0; i < bands; ++i) {
        int top = HeaderHeight + (PanelHeight - HeaderHeight) * i / bands;
        int bottom = HeaderHeight + (PanelHeight - HeaderHeight) * (i + 1) / bands;
        c->GetBrush()->SetColor(Blend(HeaderColour, BodyEndColour, i, bands - 1));
        c->FillRect(RECT{0, top, PanelWidth, bottom});
    }
    c->GetBrush()->SetColor(0xE0E0E0);
    c->FrameRect(RECT{8, HeaderHeight + 6, PanelWidth - 8, PanelHeight - 8});

    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetName("Arial");
    c->GetFont()->SetColor(0xFFFFFF);
    c->GetFont()->SetSize(40);
    c->GetFont()->SetStyle(fsBold);
    CentredText(c, 100, "Kestrel");
    c->GetFont()->SetSize(12);
    c->GetFont()->SetStyle(0);
    CentredText(c, 172, "Raster paint program");
    c->GetFont()->SetSize(8);
    CentredText(c, PanelHeight - 40, "Corvane");
    DrawLink(c);
    c->GetBrush()->SetStyle(bsSolid);
}

void TAboutPanel::MakeSplash()
{
    splash_ = true;
    TCanvas* c = Image1->GetCanvas();
    c->GetBrush()->SetColor(c->GetPixels(0, 0));
    c->FillRect(AboutLinkRect);
    Image1->Invalidate();
}

bool TAboutPanel::InLink(int x, int y) const
{
    return !splash_ && x >= AboutLinkRect.left && x < AboutLinkRect.right && y >= AboutLinkRect.top &&
           y < AboutLinkRect.bottom;
}

void TAboutPanel::ImagePress(int x, int y)
{
    if (InLink(x, y)) OpenHomePage();
    else Close();
}

void TAboutPanel::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_SETCURSOR && LOWORD(Message.LParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(GetHandle(), &p);
        if (InLink(p.x, p.y)) {
            ::SetCursor(Screen->GetCursors(HandCursor));
            Message.Result = TRUE;
            return;
        }
    }
    TForm::WndProc(Message);
}

void CreateSplash(TComponent* owner)
{
    delete splashPanel;
    splashPanel = NewForm<TAboutPanel>(owner);
    splashPanel->MakeSplash();
    splashPanel->SetBounds((Screen->GetWidth() - PanelWidth) / 2, (Screen->GetHeight() - PanelHeight) / 2,
                           PanelWidth, PanelHeight);
}

void ShowSplash()
{
    if (!splashPanel) return;
    splashPanel->ShowNoActivate();
    splashPanel->Update();
}

void CloseSplash()
{
    if (splashPanel) splashPanel->Close();
}

TAboutPanel* Splash() { return splashPanel; }
