// TAboutPanel: the borderless about panel, also the splash screen at start.
// Its picture is drawn in code; a strip at its top right links to the
// maker's home page. A press elsewhere, or the panel losing the focus,
// closes it, and a closed panel frees itself.
#ifndef KESTREL_ABOUTPANEL_H
#define KESTREL_ABOUTPANEL_H

#include <functional>
#include "extctrls.h"
#include "forms.h"

class TAboutPanel : public TForm {
public:
    explicit TAboutPanel(TComponent* AOwner);
    ~TAboutPanel() override;
    TAboutPanel(const TAboutPanel&) = delete;
    TAboutPanel& operator=(const TAboutPanel&) = delete;

    // The link is hidden under the picture's background and no longer acts.
    void MakeSplash();
    bool IsSplash() const { return splash_; }
    // Picture coordinates.
    bool InLink(int x, int y) const;

    void WndProc(TMessage& Message) override;

    TImage* Image1;

private:
    void DrawPicture();
    void ImagePress(int x, int y);

    bool splash_ = false;
};

// The link, picture coordinates, (314, 4) to (437, 17) inclusive.
const RECT AboutLinkRect = {314, 4, 438, 18};
const int HandCursor = -44;

extern const char* const HomePageAddress;
// Starts the browser on an address; false when it did not start. Tests
// replace it, so that no test starts a browser.
extern std::function<bool(const AnsiString& address)> OpenInBrowser;
// The maker's home page in the browser; "CantOpenBrowser" when it fails.
void OpenHomePage();

// The splash screen of start-up: made and centred on the screen, shown
// without taking the activation (so the first picture's window, which
// takes it, does not close the splash), closed when start-up ends. It is
// not kept on top: a message of start-up must not hide behind it. A splash
// the user closed earlier is gone: the later steps then do nothing.
void CreateSplash(TComponent* owner);
void ShowSplash();
void CloseSplash();
TAboutPanel* Splash();

#endif
