// Driving the tool manager headlessly: tools that log every call, a host
// that records what the windows were asked to do, a manual drag timer, and
// a current picture with an undo folder in memory.
#ifndef TESTS_PAINTING_TOOL_FIXTURE_H
#define TESTS_PAINTING_TOOL_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dragtimer.h"
#include "optionbar.h"
#include "toolgroups.h"
#include "tool_host.h"
#include "toolmanager.h"
#include "toolsteps.h"
#include "undo_fixture.h"

using ToolLog = std::vector<std::string>;

// Logs "name.Operation" (Deactivate with its next tool, or "null"); Click
// also logs the phase it saw, as "name.Click/phase".
class LoggingTool : public P_icon {
public:
    LoggingTool(const char* toolName, ToolLog& toolLog) : name(toolName), log(toolLog) { iconKey = toolName; }
    std::string name;
    ToolLog& log;
    // Runs inside Click, after logging (paint, select another tool, throw).
    std::function<void()> onClick;
    std::function<void()> onActivate;

    void DrawOutline() override { log.push_back(name + ".Draw"); }
    void Paint() override { log.push_back(name + ".Paint"); }
    void EraseOutline() override { log.push_back(name + ".Erase"); }
    void Click() override
    {
        log.push_back(name + ".Click/" + std::to_string(ToolPhase));
        if (onClick) onClick();
    }
    void Activate() override
    {
        log.push_back(name + ".Activate");
        if (onActivate) onActivate();
    }
    void Deactivate(P_icon* next) override
    {
        const LoggingTool* n = dynamic_cast<const LoggingTool*>(next);
        log.push_back(name + ".Deactivate(" + (n ? n->name : next ? "idle" : "null") + ")");
    }
};

class ToolTest : public ::testing::Test {
protected:
    UndoTest undo;
    UDBuffer pic;
    ManualDragTimer timer;
    ToolLog log;
    LoggingTool pen{"pen", log};
    int captureReleases = 0;
    std::vector<std::string> statusTexts;  // "panel:text"
    int helpContext = 0;
    short viewCursor = 0;

    void SetUp() override
    {
        pic.Alloc(Pair<int>{20, 10});
        for (int i = 0; i < 200; ++i) pic.pixels[i] = 0x00102030u + unsigned(i);
        ASSERT_TRUE(AddImagePicture(&pic));
        CurrentPicture = &pic;
        SetDragTimer(&timer);
        ToolHost = ToolHostServices();
        ToolHost.releaseCapture = [this] { ++captureReleases; };
        ToolHost.setStatusText = [this](int panel, const AnsiString& text) {
            statusTexts.push_back(std::to_string(panel) + ":" + text.c_str());
        };
        ToolHost.setHelpContext = [this](int context) { helpContext = context; };
        ToolHost.setViewCursor = [this](short cursor) { viewCursor = cursor; };
        ClearToolTable();
        ResetFramework(&pen);
        MousePoint = TPoint{5, 5};
        SelectTool(&pen, false, -1);
        log.clear();
    }

    void TearDown() override
    {
        ResetFramework(&IdleTool);
        ClearToolTable();
        ToolHost = ToolHostServices();
        SetDragTimer(nullptr);
        RemoveImagePicture(&pic);
    }

    static void ResetFramework(P_icon* start)
    {
        SetStartTool(start);
        ToolPhase = 0;
        ToolSuspendLevel = 0;
        ParkedTool = nullptr;
        PendingTool = nullptr;
        OutlineHidden = 1;
        OutlinePoint = MousePoint = TPoint{OutsideView, OutsideView};
        MouseButtonDown = false;
        ResetDirtyRect();
    }

    std::vector<unsigned long> Pixels() const { return std::vector<unsigned long>(pic.pixels, pic.pixels + 200); }

    static int Count(const UndoEntry* e)
    {
        int n = 0;
        for (; e; e = e->next) ++n;
        return n;
    }

    // One press and release at p, with ms passing between them.
    void Press(int x, int y)
    {
        MousePoint = TPoint{x, y};
        ToolMouseDown();
    }
    void Move(int x, int y)
    {
        MousePoint = TPoint{x, y};
        ToolMouseMove();
    }
    void Release(int x, int y)
    {
        MousePoint = TPoint{x, y};
        ToolMouseUp();
    }
};

#endif
