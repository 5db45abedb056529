#include "ui/host_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "markup/skin_pool.h"
#include "markup/style_pool.h"
#include "tests/support/markup_sources.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_canvas.h"
#include "tests/support/test_controls.h"
#include "ui/control_registry.h"
#include "ui/notification.h"

namespace velora {
namespace {

constexpr UINT kLayoutId = 3901;
constexpr UINT kMsgTestEnd = WM_APP + 1;

struct Record {
    UINT code;
    UINT id;
    std::string tag;
};

// A dialog over the host that records what reaches its message map first.
class RecordingDialog : public CBkDialogViewImplEx {
  public:
    explicit RecordingDialog(IBkControlCreator* standard = nullptr)
        : CBkDialogViewImplEx(kLayoutId, standard ? standard : &standard_,
                              std::make_unique<test::TestExtendedTier>()) {
        SetShadowEnabled(false);
    }

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == WM_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == kHostNotifySource && header->code < kNotifyRepaint) {
                const auto* notify = reinterpret_cast<const BkNotify*>(lParam);
                records.push_back({notify->hdr.code, notify->controlId,
                                   notify->classTag ? notify->classTag : "<null>"});
                if (onRecord) {
                    onRecord(records.back());
                }
                result = 0;
                return true;
            }
        }
        if (message == WM_SYSCOMMAND) {
            sysCommands.push_back(static_cast<UINT>(wParam & 0xFFF0) | (wParam & 0xF));
            return true;  // no real move loop in a test
        }
        if (message == kMsgTestEnd) {
            ownerEnabledDuringLoop = owner != nullptr && ::IsWindowEnabled(owner);
            EndDialog(static_cast<int>(wParam));
            return true;
        }
        return CBkDialogViewImplEx::ProcessWindowMessage(window, message, wParam, lParam, result);
    }

    std::vector<UINT> Codes() const {
        std::vector<UINT> codes;
        for (const Record& r : records) {
            codes.push_back(r.code);
        }
        return codes;
    }

    std::vector<Record> records;
    std::function<void(const Record&)> onRecord;  // runs inside the record's WM_NOTIFY
    std::vector<UINT> sysCommands;
    HWND owner = nullptr;
    bool ownerEnabledDuringLoop = true;

  private:
    test::TestStandardTier standard_;
};

class HostWindowTest : public ::testing::Test {
  protected:
    // The window stays hidden (hiding a shown window costs seconds without a
    // window manager); painting is driven through WM_PRINT instead.
    void Open(const std::string& layout) {
        sources_.InFolder(kLayoutId, layout);
        ASSERT_NE(nullptr, dialog_.Create(nullptr));
        PaintNow();
    }
    // What a WM_PAINT would do: repaint what is dirty, then present.
    void PaintNow() {
        ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
        ScopedBitmap target(::CreateCompatibleBitmap(dc.Get(), 1, 1));
        ScopedSelectObject selected(dc.Get(), target.Get());
        ::SendMessageW(dialog_.Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    }
    void Send(UINT message, int x, int y, WPARAM keys = 0) {
        ::SendMessageW(dialog_.Handle(), message, keys, MAKELPARAM(x, y));
    }
    CBkWindow* Control(int id) { return dialog_.FindControl(id); }

    test::MarkupSources sources_;
    RecordingDialog dialog_;
};

const char kButtons[] =
    "<layer width=\"400\" height=\"300\">"
    "<header height=\"40\"><text id=\"10\" pos=\"0,0,200,40\"/>"
    "<dlgbtnEx2 id=\"11\" pos=\"300,0,400,40\"/></header>"
    "<body><dlgbtnEx2 id=\"111\" pos=\"10,10,110,50\"><text pos=\"0,0,-0,-0\"/></dlgbtnEx2>"
    "<text id=\"112\" pos=\"200,10,300,50\"/></body>"
    "</layer>";

TEST_F(HostWindowTest, PressAndReleaseOverTheSameControlIsOneClick) {
    Open(kButtons);
    Send(WM_MOUSEMOVE, 50, 70);
    Send(WM_LBUTTONDOWN, 50, 70, MK_LBUTTON);
    EXPECT_TRUE(Has(Control(111)->State(), ControlState::kPushed));
    Send(WM_LBUTTONUP, 52, 71);
    EXPECT_FALSE(Has(Control(111)->State(), ControlState::kPushed));
    EXPECT_EQ((std::vector<UINT>{kNotifyHover, kNotifyLButtonDown, kNotifyClick}), dialog_.Codes());
    const Record& click = dialog_.records.back();
    EXPECT_EQ(111u, click.id);
    EXPECT_EQ("dlgbtnEx2", click.tag) << "the container button is hit as a whole";
}

TEST_F(HostWindowTest, ReleasingElsewhereIsALeaveNeverAClick) {
    Open(kButtons);
    Send(WM_MOUSEMOVE, 50, 70);
    Send(WM_LBUTTONDOWN, 50, 70, MK_LBUTTON);
    Send(WM_MOUSEMOVE, 250, 70, MK_LBUTTON);
    Send(WM_LBUTTONUP, 250, 70);
    for (const Record& r : dialog_.records) {
        EXPECT_NE(kNotifyClick, r.code);
    }
    ASSERT_FALSE(dialog_.records.empty());
    EXPECT_EQ(kNotifyLeave, dialog_.records.back().code);
    EXPECT_EQ(111u, dialog_.records.back().id);
    EXPECT_EQ(0, dialog_.PressedControl());
    EXPECT_FALSE(Has(Control(111)->State(), ControlState::kPushed | ControlState::kHover));
}

TEST_F(HostWindowTest, LostCaptureEndsThePressAndANewPressTakesIt) {
    struct Case {
        const char* what;
        std::function<void()> interrupt;
    };
    const Case cases[] = {
        {"capture taken away during a press",
         [this] {
             Send(WM_LBUTTONDOWN, 50, 70, MK_LBUTTON);
             ::ReleaseCapture();
         }},
        {"right click on nothing",
         [this] {
             Send(WM_RBUTTONDOWN, 350, 250, MK_RBUTTON);
             Send(WM_RBUTTONUP, 350, 250);
         }},
    };
    // Nothing below the header: (350, 250) is over no control.
    Open(
        "<layer width=\"400\" height=\"300\"><header height=\"100\">"
        "<dlgbtnEx2 id=\"111\" pos=\"10,50,110,90\"/></header></layer>");
    HWND window = dialog_.Handle();
    for (const Case& c : cases) {
        c.interrupt();
        EXPECT_NE(window, ::GetCapture()) << c.what;
        EXPECT_EQ(0, dialog_.PressedControl()) << c.what;
        EXPECT_FALSE(Has(Control(111)->State(), ControlState::kPushed)) << c.what;
        dialog_.records.clear();
        Send(WM_LBUTTONDOWN, 50, 70, MK_LBUTTON);
        EXPECT_EQ(window, ::GetCapture()) << c.what << ": the next press holds the mouse";
        Send(WM_LBUTTONUP, 50, 70);
        EXPECT_EQ((std::vector<UINT>{kNotifyLButtonDown, kNotifyClick}), dialog_.Codes()) << c.what;
    }
}

// A text control whose memory is never reused and faults on any access once
// the control is destroyed, so a destroyed control used by the host crashes
// the test instead of reading what happens to be left there.
class GuardedSpy : public test::SpyControl {
  public:
    static void* operator new(std::size_t size) {
        void* memory = ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (memory == nullptr) {
            throw std::bad_alloc();
        }
        return memory;
    }
    static void operator delete(void* memory, std::size_t size) {
        DWORD previous = 0;
        ::VirtualProtect(memory, size, PAGE_NOACCESS, &previous);
    }
};

class GuardedTier : public test::TestStandardTier {
  public:
    std::unique_ptr<CBkWindow> CreateControl(const char* tag) override {
        if (std::strcmp(tag, "text") == 0) {
            return std::make_unique<GuardedSpy>();
        }
        return TestStandardTier::CreateControl(tag);
    }
};

TEST(HostDestroyedControlTest, RecordHandlerMayReplaceTheLayoutUnderTheMouse) {
    struct Case {
        UINT code;  // the record whose handler loads the layout again
        std::vector<std::pair<UINT, POINT>> input;
    };
    const Case cases[] = {
        {kNotifyHover, {{WM_MOUSEMOVE, {50, 20}}}},
        {kNotifyLeave, {{WM_MOUSEMOVE, {50, 20}}, {WM_MOUSEMOVE, {150, 20}}}},
        {kNotifyClick, {{WM_LBUTTONDOWN, {50, 20}}, {WM_LBUTTONUP, {50, 20}}}},
        {kNotifyLeave, {{WM_LBUTTONDOWN, {50, 20}}, {WM_LBUTTONUP, {150, 20}}}},
    };
    test::MarkupSources sources;
    sources.InFolder(kLayoutId,
                     "<layer width=\"200\" height=\"100\"><body>"
                     "<text id=\"1\" pos=\"0,0,100,40\"/><text id=\"2\" pos=\"100,0,200,40\"/>"
                     "</body></layer>");
    GuardedTier tier;
    RecordingDialog dialog(&tier);
    ASSERT_NE(nullptr, dialog.Create(nullptr));
    const auto alive = [](std::int32_t handle) {
        return handle == 0 || BkControlRegistry::Instance().Find(handle) != nullptr;
    };
    for (const Case& c : cases) {
        bool replaced = false;
        dialog.onRecord = [&](const Record& r) {
            if (r.code == c.code && !replaced) {
                replaced = true;
                EXPECT_TRUE(dialog.LoadLayout(kLayoutId));
            }
        };
        for (const auto& [message, at] : c.input) {
            ::SendMessageW(dialog.Handle(), message, 0, MAKELPARAM(at.x, at.y));
        }
        dialog.onRecord = nullptr;
        EXPECT_TRUE(replaced) << "record " << c.code << " not sent";
        EXPECT_TRUE(alive(dialog.HoveredControl())) << c.code;
        EXPECT_TRUE(alive(dialog.PressedControl())) << c.code;
        ::SendMessageW(dialog.Handle(), WM_MOUSELEAVE, 0, 0);
    }
}

TEST_F(HostWindowTest, DisabledControlOnlyReportsHover) {
    Open(kButtons);
    ASSERT_TRUE(dialog_.EnableItem(111, false));
    Send(WM_MOUSEMOVE, 50, 70);
    Send(WM_LBUTTONDOWN, 50, 70, MK_LBUTTON);
    Send(WM_LBUTTONUP, 50, 70);
    EXPECT_EQ((std::vector<UINT>{kNotifyHover}), dialog_.Codes());
    EXPECT_FALSE(Has(Control(111)->State(), ControlState::kHover | ControlState::kPushed));
}

TEST_F(HostWindowTest, HoverMovesBetweenControlsWithLeaveRecords) {
    Open(kButtons);
    Send(WM_MOUSEMOVE, 50, 70);
    Send(WM_MOUSEMOVE, 51, 70);
    Send(WM_MOUSEMOVE, 250, 70);
    EXPECT_EQ((std::vector<UINT>{kNotifyHover, kNotifyHover, kNotifyHover, kNotifyLeave}),
              dialog_.Codes())
        << "a hover record on every move, a leave for the control left";
    EXPECT_EQ(Control(112)->Handle(), dialog_.HoveredControl());
    EXPECT_FALSE(Has(Control(111)->State(), ControlState::kHover));
}

TEST_F(HostWindowTest, HeaderPressDragsUnlessTheTagTakesPresses) {
    Open(kButtons);
    Send(WM_LBUTTONDOWN, 50, 20, MK_LBUTTON);
    EXPECT_EQ((std::vector<UINT>{0xF012u}), dialog_.sysCommands) << "plain text drags the window";
    EXPECT_EQ(0, dialog_.PressedControl());
    Send(WM_LBUTTONUP, 50, 20);

    dialog_.sysCommands.clear();
    Send(WM_LBUTTONDOWN, 350, 20, MK_LBUTTON);
    EXPECT_TRUE(dialog_.sysCommands.empty()) << "a dlgbtnEx2 takes the press";
    EXPECT_EQ(Control(11)->Handle(), dialog_.PressedControl());
    Send(WM_LBUTTONUP, 350, 20);

    dialog_.sysCommands.clear();
    Control(10)->SetAttribute("headacceptlbtndownmsg", "1", false);
    Send(WM_LBUTTONDOWN, 50, 20, MK_LBUTTON);
    EXPECT_TRUE(dialog_.sysCommands.empty());
    Send(WM_LBUTTONUP, 50, 20);
}

TEST_F(HostWindowTest, HoverRepaintsOnlyTheControlConcerned) {
    sources_.InMemory(kStyleTableId, "<style><class name=\"hot\" crbghover=\"FF0000\"/></style>");
    ASSERT_TRUE(BkStylePool::Instance().Load(kStyleTableId));
    Open(
        "<layer width=\"400\" height=\"300\"><body>"
        "<text id=\"1\" class=\"hot\" pos=\"0,0,100,100\"/>"
        "<text id=\"2\" pos=\"200,0,300,100\"/></body></layer>");
    test::PaintLog().clear();
    dialog_.InvalidateAll();
    PaintNow();
    EXPECT_EQ((std::vector<int>{1, 2}), test::PaintLog()) << "a full redraw paints everything";

    test::PaintLog().clear();
    PaintNow();
    EXPECT_TRUE(test::PaintLog().empty()) << "nothing dirty, nothing repainted";

    Send(WM_MOUSEMOVE, 50, 50);
    PaintNow();
    EXPECT_EQ((std::vector<int>{1}), test::PaintLog()) << "only the hovered control";
    BkStylePool::Instance().Load(kStyleTableId + 100);
}

// Reads what the window shows (its surface, not the back buffer).
COLORREF ShownPixel(HWND window, int x, int y) {
    HDC dc = ::GetDC(window);
    const COLORREF color = ::GetPixel(dc, x, y);
    ::ReleaseDC(window, dc);
    return color;
}

TEST_F(HostWindowTest, HoverIsShownAtOnceAndOnlyWhereItChanged) {
    sources_.InMemory(kStyleTableId,
                      "<style><class name=\"hot\" crbg=\"00FF00\" crbghover=\"FF0000\"/></style>");
    ASSERT_TRUE(BkStylePool::Instance().Load(kStyleTableId));
    Open(
        "<layer width=\"200\" height=\"100\"><body crbg=\"FFFFFF\">"
        "<text id=\"1\" class=\"hot\" pos=\"10,10,50,40\"/>"
        "<text id=\"2\" class=\"hot\" pos=\"60,10,100,40\"/></body></layer>");
    HWND window = dialog_.Handle();
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    ::UpdateWindow(window);
    Send(WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ(RGB(0xFF, 0, 0), ShownPixel(window, 20, 20)) << "the hover reaches the screen";

    // Paint over what the window shows: presenting the whole buffer would
    // wipe this out everywhere.
    {
        HDC dc = ::GetDC(window);
        ScopedBrush blue(::CreateSolidBrush(RGB(0, 0, 0xFF)));
        RECT all = {0, 0, 200, 100};
        ::FillRect(dc, &all, blue.Get());
        ::ReleaseDC(window, dc);
    }
    test::PaintLog().clear();
    Send(WM_MOUSEMOVE, 70, 20);
    // Drawn from the move itself, nothing left for WM_PAINT.
    EXPECT_EQ((std::vector<int>{1, 2}), test::PaintLog()) << "the control left and the one entered";
    RECT update = {};
    EXPECT_FALSE(::GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ(RGB(0, 0xFF, 0), ShownPixel(window, 20, 20)) << "the control left";
    EXPECT_EQ(RGB(0xFF, 0, 0), ShownPixel(window, 70, 20)) << "the control entered";
    EXPECT_EQ(RGB(0, 0, 0xFF), ShownPixel(window, 150, 70)) << "outside the change: untouched";
    EXPECT_EQ(RGB(0, 0, 0xFF), ShownPixel(window, 5, 20));
    EXPECT_EQ(RGB(0, 0, 0xFF), ShownPixel(window, 70, 45));

    // Moving inside the hovered control changes nothing: no invalidation, no paint.
    dialog_.records.clear();
    test::PaintLog().clear();
    Send(WM_MOUSEMOVE, 71, 21);
    EXPECT_FALSE(::GetUpdateRect(window, &update, FALSE));
    ::UpdateWindow(window);
    PaintNow();
    EXPECT_TRUE(test::PaintLog().empty());
    EXPECT_EQ((std::vector<UINT>{kNotifyHover}), dialog_.Codes()) << "still one hover record";
    BkStylePool::Instance().Load(kStyleTableId + 100);
}

TEST_F(HostWindowTest, HoverOfAHiddenWindowWaitsForItsPaint) {
    sources_.InMemory(kStyleTableId,
                      "<style><class name=\"hot\" crbg=\"00FF00\" crbghover=\"FF0000\"/></style>");
    ASSERT_TRUE(BkStylePool::Instance().Load(kStyleTableId));
    Open(
        "<layer width=\"200\" height=\"100\"><body crbg=\"FFFFFF\">"
        "<text id=\"1\" class=\"hot\" pos=\"10,10,50,40\"/></body></layer>");
    HWND window = dialog_.Handle();
    ASSERT_FALSE(::IsWindowVisible(window));
    PaintNow();
    test::PaintLog().clear();
    Send(WM_MOUSEMOVE, 20, 20);
    EXPECT_TRUE(test::PaintLog().empty()) << "nothing is drawn for a window not on screen";
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    ::UpdateWindow(window);
    EXPECT_EQ(RGB(0xFF, 0, 0), ShownPixel(window, 20, 20)) << "the hover shows once it is shown";
    BkStylePool::Instance().Load(kStyleTableId + 100);
}

struct ToolTipSearch {
    HWND host;
    HWND found;
};

BOOL CALLBACK FindToolTip(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ToolTipSearch*>(context);
    wchar_t name[32] = {};
    ::GetClassNameW(window, name, 32);
    if (std::wstring(name) == TOOLTIPS_CLASSW && ::GetWindow(window, GW_OWNER) == search->host) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The tool tip window the host made for `host`.
HWND ToolTipOf(HWND host) {
    ToolTipSearch search = {host, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindToolTip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TipText(HWND toolTip, HWND host) {
    wchar_t text[64] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = host;
    tool.uId = reinterpret_cast<UINT_PTR>(host);
    tool.lpszText = text;
    ::SendMessageW(toolTip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    return text;
}

TEST_F(HostWindowTest, TipTextFollowsTheHoveredControl) {
    Open(
        "<layer width=\"400\" height=\"300\"><body>"
        "<text id=\"1\" tip=\"first\" pos=\"0,0,100,100\"/>"
        "<text id=\"2\" tip=\"second\" pos=\"200,0,300,100\"/></body></layer>");
    Send(WM_MOUSEMOVE, 50, 50);
    HWND toolTip = ToolTipOf(dialog_.Handle());
    ASSERT_NE(nullptr, toolTip) << "made for the first control with a tip";
    EXPECT_EQ(L"first", TipText(toolTip, dialog_.Handle()));
    Send(WM_MOUSEMOVE, 51, 51);
    EXPECT_EQ(L"first", TipText(toolTip, dialog_.Handle()));
    Send(WM_MOUSEMOVE, 250, 50);
    EXPECT_EQ(L"second", TipText(toolTip, dialog_.Handle()));
}

TEST_F(HostWindowTest, TipShowsOverAControlWithOneAndGoesOverOneWithout) {
    Open(
        "<layer width=\"400\" height=\"300\"><body>"
        "<text id=\"1\" pos=\"0,0,100,100\"/>"
        "<text id=\"2\" tip=\"second\" pos=\"200,0,300,100\"/></body></layer>");
    HWND window = dialog_.Handle();
    // Tips show only for the active window.
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(window);
    RECT place;
    ::GetWindowRect(window, &place);
    // The tip checks where the cursor really is when its delay runs out.
    ::SetCursorPos(place.left + 50, place.top + 50);
    Send(WM_MOUSEMOVE, 50, 50);
    test::PumpUntil(1000, [] { return false; });
    EXPECT_EQ(nullptr, ToolTipOf(window)) << "no tip window before a control with a tip";
    ::SetCursorPos(place.left + 250, place.top + 50);
    Send(WM_MOUSEMOVE, 250, 50);
    HWND toolTip = ToolTipOf(window);
    ASSERT_NE(nullptr, toolTip);
    EXPECT_TRUE(test::PumpUntil(3000, [&] { return ::IsWindowVisible(toolTip) != FALSE; }));
    EXPECT_EQ(L"second", TipText(toolTip, window));

    // Back over the control without a tip: the shown tip goes.
    ::SetCursorPos(place.left + 50, place.top + 50);
    Send(WM_MOUSEMOVE, 50, 50);
    EXPECT_TRUE(test::PumpUntil(1000, [&] { return ::IsWindowVisible(toolTip) == FALSE; }));
}

TEST_F(HostWindowTest, ResizeRebuildsTheBufferOnlyForANewSize) {
    Open(
        "<layer width=\"400\" height=\"300\" resize=\"1\"><body>"
        "<text id=\"1\" pos=\"0,0,-0,-0\"/></body></layer>");
    const int builds = dialog_.BackBufferBuilds();
    ::SetWindowPos(dialog_.Handle(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    ::SendMessageW(dialog_.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
    EXPECT_EQ(builds, dialog_.BackBufferBuilds());
    ::SetWindowPos(dialog_.Handle(), nullptr, 0, 0, 500, 320, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(builds + 1, dialog_.BackBufferBuilds());
    EXPECT_EQ(500, dialog_.BackBuffer().Width());
    EXPECT_EQ(500, Control(1)->Rect().right) << "sections laid out again";
    test::PaintLog().clear();
    PaintNow();
    EXPECT_EQ((std::vector<int>{1}), test::PaintLog()) << "everything repaints after a resize";
}

TEST_F(HostWindowTest, FullRepaintSkipsControlsOutsideTheWindow) {
    Open(
        "<layer width=\"400\" height=\"300\"><body>"
        "<text id=\"1\" pos=\"0,0,100,100\"/>"
        "<text id=\"2\" pos=\"0,300,100,400\"/></body></layer>");
    dialog_.InvalidateAll();
    test::PaintLog().clear();
    PaintNow();
    EXPECT_EQ((std::vector<int>{1}), test::PaintLog()) << "id 2 lies below the window";
}

TEST_F(HostWindowTest, PrintRendersTheTreeIntoAnyDc) {
    Open(
        "<layer width=\"40\" height=\"30\"><body crbg=\"2F6BFF\">"
        "<text id=\"1\" crbg=\"E5484D\" pos=\"10,10,20,20\"/></body></layer>");
    test::Canvas canvas(40, 30, RGB(0, 0, 0));
    dialog_.InvalidateAll();
    ::SendMessageW(dialog_.Handle(), WM_PRINT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    EXPECT_EQ(RGB(0x2F, 0x6B, 0xFF), canvas.At(0, 0));
    EXPECT_EQ(RGB(0xE5, 0x48, 0x4D), canvas.At(15, 15));
    EXPECT_EQ(RGB(0x2F, 0x6B, 0xFF), canvas.At(20, 20)) << "right and bottom edges excluded";
}

TEST_F(HostWindowTest, FrameSkinIsDrawnUnderTheSections) {
    sources_.InMemory(kSkinTableId,
                      "<skins><gradation name=\"frame\" from=\"2F6BFF\" to=\"2F6BFF\"/></skins>");
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(kSkinTableId));
    Open(
        "<layer width=\"40\" height=\"30\" frame=\"frame\"><body>"
        "<text id=\"1\" crbg=\"E5484D\" pos=\"10,10,20,20\"/></body></layer>");
    test::Canvas canvas(40, 30, RGB(0, 0, 0));
    ::SendMessageW(dialog_.Handle(), WM_PRINT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    EXPECT_EQ(RGB(0x2F, 0x6B, 0xFF), canvas.At(0, 0));
    EXPECT_EQ(RGB(0x2F, 0x6B, 0xFF), canvas.At(39, 29));
    EXPECT_EQ(RGB(0xE5, 0x48, 0x4D), canvas.At(15, 15));
    BkSkinObjectPool::Instance().Load(kSkinTableId + 100);
}

TEST_F(HostWindowTest, ClientAreaKeepsTheMinimumSize) {
    Open(
        "<layer width=\"100\" height=\"100\" min_width=\"300\" min_height=\"200\" "
        "resize=\"1\"><body/></layer>");
    ::SetWindowPos(dialog_.Handle(), nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    ::GetClientRect(dialog_.Handle(), &client);
    EXPECT_EQ(300, client.right);
    EXPECT_EQ(200, client.bottom);
}

TEST_F(HostWindowTest, ItemOperationsFindControlsById) {
    Open(kButtons);
    EXPECT_TRUE(dialog_.SetItemCheck(112, true));
    EXPECT_TRUE(dialog_.GetItemCheck(112));
    EXPECT_FALSE(dialog_.GetItemCheck(999));
    EXPECT_FALSE(dialog_.SetItemAttribute(999, "pos", L"0,0,1,1"));
    EXPECT_TRUE(dialog_.SetItemIntAttribute(112, "notify", 3));
    EXPECT_EQ(3, Control(112)->NotifyMask());
    EXPECT_TRUE(dialog_.SetItemAttribute(112, "pos", L"0,100,50,120"));
    EXPECT_EQ(140, Control(112)->Rect().top) << "inside the body, below the 40-pixel header";
    EXPECT_TRUE(dialog_.ShowItem(112, false));
    EXPECT_FALSE(Control(112)->IsVisible());
}

TEST(HostModalTest, EndDialogEndsTheLoopWithItsResultAndFreesTheOwner) {
    test::MarkupSources sources;
    sources.InFolder(kLayoutId, "<layer width=\"200\" height=\"100\"><body/></layer>");
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
    RecordingDialog dialog;
    dialog.owner = owner;
    ::PostMessageW(nullptr, WM_NULL, 0, 0);
    // The message reaches the dialog's window once the loop runs.
    struct Poster {
        static VOID CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
            ::KillTimer(nullptr, id);
            HWND target = ::FindWindowW(L"BkHostWindow", nullptr);
            ::PostMessageW(target, kMsgTestEnd, 42, 0);
        }
    };
    ::SetTimer(nullptr, 0, 50, &Poster::Fire);
    EXPECT_EQ(42, dialog.DoModal(owner));
    EXPECT_FALSE(dialog.ownerEnabledDuringLoop) << "the owner is disabled while the loop runs";
    EXPECT_TRUE(::IsWindowEnabled(owner));
    EXPECT_EQ(nullptr, dialog.Handle()) << "the window is destroyed after the loop";
    ::DestroyWindow(owner);
}

TEST(HostModalTest, EnterBecomesAClickWithIdOne) {
    test::MarkupSources sources;
    sources.InFolder(kLayoutId, "<layer width=\"200\" height=\"100\"><body/></layer>");
    RecordingDialog dialog;
    struct Keys {
        static VOID CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
            ::KillTimer(nullptr, id);
            HWND target = ::FindWindowW(L"BkHostWindow", nullptr);
            ::PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
            ::PostMessageW(target, kMsgTestEnd, 7, 0);
        }
    };
    ::SetTimer(nullptr, 0, 50, &Keys::Fire);
    EXPECT_EQ(7, dialog.DoModal(nullptr));
    std::vector<Record> clicks;
    for (const Record& r : dialog.records) {
        if (r.code == kNotifyClick) {
            clicks.push_back(r);
        }
    }
    ASSERT_EQ(1u, clicks.size());
    EXPECT_EQ(1u, clicks[0].id);
    EXPECT_EQ("", clicks[0].tag);
}

}  // namespace
}  // namespace velora
