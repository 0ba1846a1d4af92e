// Image windows under the test display: an Application whose message boxes
// are recorded, a tool that notes where it was clicked, and the image
// windows closed and the painting globals reset after each test.
#ifndef TESTS_PAINTING_IMAGEFORM_FIXTURE_H
#define TESTS_PAINTING_IMAGEFORM_FIXTURE_H

#include <functional>
#include <vector>

#include "../../gui/win32/gui_fixture.h"
#include "dragtimer.h"
#include "imageform.h"
#include "imagewindow_host.h"
#include "messages.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "toolgroups.h"
#include "tool_host.h"
#include "toolmanager.h"
#include "../tool_fixture.h"

class ProbeTool : public P_icon {
public:
    std::vector<TPoint> clicks;
    std::function<void()> onClick;
    void Click() override
    {
        clicks.push_back(MousePoint);
        if (onClick) onClick();
    }
};

class ImageFormTest : public GuiTest {
protected:
    ProbeTool tool;
    ManualDragTimer timer;
    int newImagePosts = 0;

    void SetUp() override
    {
        GuiTest::SetUp();
        MessageBoxHook = nullptr;  // the windows route messages to the Application
        ImageWindowHost = ImageWindowHostServices();
        ImageWindowHost.postNewImage = [this] { ++newImagePosts; };
        ClosingCancelled = false;
        SetDragTimer(&timer);
        ClearToolTable();
        ResetTools(&tool);
        tool.clickSteps = 1;  // each press is a whole operation
        tool.dropSelectionAtPress = 0;
    }

    void TearDown() override
    {
        ImageWindowHost = ImageWindowHostServices();
        while (ImageFormCount() > 0) delete GetImageForm(ImageFormCount() - 1);
        gui::PumpUntilIdle();
        ToolHost = ToolHostServices();
        PictureViews = PictureViewServices();
        PaintKitHost = PaintKitHostServices();
        MessageBoxHook = nullptr;
        SetDragTimer(nullptr);
        ResetTools(&IdleTool);
        GuiTest::TearDown();
    }

    // The tool framework as the tool tests leave it, and no pointer.
    struct ToolReset : ToolTest {
        static void Run(P_icon* start) { ResetFramework(start); }
    };
    static void ResetTools(P_icon* start)
    {
        ToolReset::Run(start);
        ViewMousePoint = TPoint{-1, -1};
    }

    TImageForm* NewShownWindow(int w, int h)
    {
        TImageForm* f = CreateImageWindow(w, h, "");
        if (f) {
            f->Show();
            gui::PumpUntilIdle();
        }
        return f;
    }

    static LPARAM At(int x, int y) { return gui::PointParam(x, y); }
    static void Press(TImageForm* f, int x, int y, WPARAM keys = 0)
    {
        SendMessageA(f->ShowBuf->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, At(x, y));
    }
    static void Release(TImageForm* f, int x, int y)
    {
        SendMessageA(f->ShowBuf->GetHandle(), WM_LBUTTONUP, 0, At(x, y));
    }
    static void MoveTo(TImageForm* f, int x, int y, WPARAM keys = 0)
    {
        SendMessageA(f->ShowBuf->GetHandle(), WM_MOUSEMOVE, keys, At(x, y));
    }
    static WORD Key(TImageForm* f, WORD vk, TShiftState shift = 0)
    {
        f->HotKeys(f, vk, shift);
        return vk;
    }
};

#endif
