#include "ui/shadow_window.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace velora {
namespace {

constexpr int kHostWidth = 610;
constexpr int kHostHeight = 414;
constexpr int kShadowSize = 5;

// Records what the shadow asks of its picture, and the bitmap it paints on.
class RecordingHook : public IShadowPaintHook {
  public:
    int PaintShadow(HDC dc, const RECT& rect) override {
        ++calls;
        lastRect = rect;
        DIBSECTION section = {};
        if (::GetObjectW(::GetCurrentObject(dc, OBJ_BITMAP), sizeof(section), &section) ==
            sizeof(section)) {
            bitmapWidth = section.dsBmih.biWidth;
            bitmapHeight = section.dsBmih.biHeight;
            bitsPerPixel = section.dsBmih.biBitCount;
        }
        if (draws) {
            ::PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     WHITENESS);
        }
        return answer;
    }

    int answer = 0;
    bool draws = false;
    int calls = 0;
    RECT lastRect = {};
    LONG bitmapWidth = 0;
    LONG bitmapHeight = 0;
    WORD bitsPerPixel = 0;
};

// Stands in for the host window: passes the messages the shadow follows on
// to it, and refreshes it after a paint as the host does.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* shadow = reinterpret_cast<CShadowWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (shadow == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_DESTROY:
        case WM_MOVE:
        case WM_SIZE:
        case WM_SHOWWINDOW:
        case WM_MOVING:
        case WM_EXITSIZEMOVE:
            shadow->OnHostMessage(window, message, wParam, lParam);
            break;
        case WM_PAINT: {
            shadow->OnHostMessage(window, message, wParam, lParam);
            PAINTSTRUCT paint;
            ::BeginPaint(window, &paint);
            ::EndPaint(window, &paint);
            if (!shadow->IsShown() && !shadow->IsMoving()) {
                shadow->Refresh(window);
            }
            return 0;
        }
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateHost(CShadowWnd* shadow) {
    static const ScopedWindowClass hostClass = [] {
        WNDCLASSEXW description = {};
        description.cbSize = sizeof(description);
        description.lpfnWndProc = &HostProc;
        description.hInstance = ::GetModuleHandleW(nullptr);
        description.lpszClassName = L"VeloraShadowTestHost";
        return ScopedWindowClass(description);
    }();
    // Created smaller than the layout size, so that showing it sizes it.
    HWND host = ::CreateWindowExW(0, L"VeloraShadowTestHost", L"shadow host", WS_POPUP, 0, 0, 300,
                                  200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(host, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shadow));
    return host;
}

RECT WindowRect(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

std::string Describe(const RECT& rect) {
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ")";
}

// Live GDI objects of this process. Wine does not count them (it answers
// 0), but its handle table tells: once a burst of allocations has used up
// the free slots, the highest slot taken grows with every live object.
long LiveGdiObjects() {
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) {
        return static_cast<long>(counted);
    }
    constexpr int kProbes = 4000;
    static HRGN probes[kProbes];
    long highest = 0;
    for (HRGN& probe : probes) {
        probe = ::CreateRectRgn(0, 0, 1, 1);
        const long slot = static_cast<long>(reinterpret_cast<std::uintptr_t>(probe) & 0xFFFF);
        highest = slot > highest ? slot : highest;
    }
    for (HRGN probe : probes) {
        ::DeleteObject(probe);
    }
    return highest - kProbes;
}

class ShadowWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        shadow_.SetShadowSize(kShadowSize);
        shadow_.SetPaintHook(&hook_);
        host_.Reset(CreateHost(&shadow_));
        ASSERT_TRUE(host_);
        ASSERT_TRUE(shadow_.Create(host_.Get()));
    }

    HWND Host() const { return host_.Get(); }
    // Shows the host at its layout size, as the host window does once created.
    void ShowHost(int x = 0, int y = 0) {
        ::SetWindowPos(Host(), nullptr, x, y, kHostWidth, kHostHeight,
                       SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    RECT ShadowRect() const { return WindowRect(shadow_.Handle()); }
    bool ShadowVisible() const { return ::IsWindowVisible(shadow_.Handle()) != FALSE; }

    RecordingHook hook_;
    CShadowWnd shadow_;
    ScopedWindow host_;  // goes first, so the shadow sees its WM_DESTROY
};

TEST_F(ShadowWindowTest, IsAHiddenClickThroughLayeredPopupOwnedByTheHost) {
    HWND window = shadow_.Handle();
    ASSERT_TRUE(::IsWindow(window));
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    EXPECT_STREQ(L"BkShadowWndClass", className);
    const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_EQ(WS_EX_LAYERED | WS_EX_TRANSPARENT, exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT));
    EXPECT_TRUE(::GetWindowLongW(window, GWL_STYLE) & WS_POPUP);
    EXPECT_EQ(Host(), ::GetWindow(window, GW_OWNER));
    EXPECT_FALSE(ShadowVisible());

    EXPECT_TRUE(shadow_.Create(Host()));
    EXPECT_EQ(window, shadow_.Handle()) << "created once";
    CShadowWnd second;
    ScopedWindow secondHost(CreateHost(&second));
    EXPECT_TRUE(second.Create(secondHost.Get())) << "the class is registered once per process";
}

TEST_F(ShadowWindowTest, SurroundsTheHostBySizeOnEverySide) {
    ShowHost();
    EXPECT_TRUE(ShadowVisible());
    EXPECT_EQ("(-5,-5,615,419)", Describe(ShadowRect()));
    EXPECT_EQ(1, hook_.calls);
    EXPECT_EQ("(0,0,620,424)", Describe(hook_.lastRect));
    EXPECT_EQ(620, hook_.bitmapWidth);
    EXPECT_EQ(424, hook_.bitmapHeight) << "positive height: rows stored bottom-up";
    EXPECT_EQ(32, hook_.bitsPerPixel);
    EXPECT_TRUE(shadow_.State() & CShadowWnd::kHostVisible);
}

TEST_F(ShadowWindowTest, HidesForTheWholeDragAndReturnsRepaintedWhereTheHostLands) {
    ShowHost();
    const int paints = hook_.calls;
    ::SendMessageW(Host(), WM_MOVING, 0, 0);
    EXPECT_FALSE(ShadowVisible());
    EXPECT_TRUE(shadow_.IsMoving());

    ::SetWindowPos(Host(), nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(Host(), WM_MOVING, 0, 0);
    ::SendMessageW(Host(), WM_PAINT, 0, 0);
    EXPECT_FALSE(ShadowVisible()) << "still hidden while the drag goes on";
    EXPECT_EQ(paints, hook_.calls);

    ::SendMessageW(Host(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_FALSE(shadow_.IsMoving());
    EXPECT_TRUE(ShadowVisible());
    EXPECT_EQ("(95,45,715,469)", Describe(ShadowRect()));
    EXPECT_EQ(paints + 1, hook_.calls);
}

TEST_F(ShadowWindowTest, FollowsHostMovesAndRepaintsAtTheNewSizeOnTheNextPaint) {
    ShowHost();
    ::SetWindowPos(Host(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ("(25,35,645,459)", Describe(ShadowRect()));
    EXPECT_EQ(1, hook_.calls) << "a move is not a repaint";

    ::SetWindowPos(Host(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(1, hook_.calls) << "resizing only asks for a repaint";
    ::SendMessageW(Host(), WM_PAINT, 0, 0);
    EXPECT_EQ(2, hook_.calls);
    EXPECT_EQ("(25,35,735,545)", Describe(ShadowRect()));
    ::SendMessageW(Host(), WM_PAINT, 0, 0);
    EXPECT_EQ(2, hook_.calls) << "one repaint per size change";
}

TEST_F(ShadowWindowTest, MinimisingOrHidingTheHostHidesTheShadow) {
    ShowHost();
    ::ShowWindow(Host(), SW_MINIMIZE);
    EXPECT_FALSE(ShadowVisible());
    ::ShowWindow(Host(), SW_RESTORE);
    EXPECT_TRUE(ShadowVisible());
    EXPECT_EQ("(-5,-5,615,419)", Describe(ShadowRect()));

    ::ShowWindow(Host(), SW_HIDE);
    EXPECT_FALSE(ShadowVisible());
    EXPECT_EQ(CShadowWnd::kActive, shadow_.State());
    shadow_.Refresh(Host());
    EXPECT_FALSE(ShadowVisible()) << "a hidden host keeps its shadow hidden";
}

TEST_F(ShadowWindowTest, NeverOutlivesItsHostOrItsOwner) {
    ShowHost();
    HWND window = shadow_.Handle();
    host_.Reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(nullptr, shadow_.Handle());
    EXPECT_EQ(nullptr, shadow_.Parent());
    EXPECT_FALSE(shadow_.IsCreated());

    HWND otherWindow = nullptr;
    ScopedWindow otherHost;
    {
        CShadowWnd other;
        otherHost.Reset(CreateHost(nullptr));
        ASSERT_TRUE(other.Create(otherHost.Get()));
        otherWindow = other.Handle();
    }
    EXPECT_FALSE(::IsWindow(otherWindow));
}

TEST_F(ShadowWindowTest, RepaintsLeaveNoGdiObjectsBehind) {
    ShowHost();
    for (int i = 0; i < 5; ++i) {
        ::SendMessageW(Host(), WM_EXITSIZEMOVE, 0, 0);  // warm-up
    }
    const int paints = hook_.calls;
    const long before = LiveGdiObjects();
    for (int i = 0; i < 200; ++i) {
        ::SendMessageW(Host(), WM_EXITSIZEMOVE, 0, 0);
    }
    EXPECT_EQ(paints + 200, hook_.calls);
    EXPECT_LE(LiveGdiObjects(), before + 2);
}

TEST(ShadowPictureTest, WithoutAPictureTheShadowIsFullyTransparent) {
    const RECT host = {0, 0, kHostWidth, kHostHeight};
    RecordingHook declining;
    declining.answer = 1;
    RecordingHook drawing;
    drawing.draws = true;
    for (IShadowPaintHook* hook :
         {static_cast<IShadowPaintHook*>(&declining), static_cast<IShadowPaintHook*>(nullptr),
          static_cast<IShadowPaintHook*>(&drawing)}) {
        const ShadowCanvas canvas = RenderShadowPicture(host, kShadowSize, hook);
        ASSERT_TRUE(canvas.IsValid());
        ASSERT_EQ(620, canvas.Width());
        ASSERT_EQ(424, canvas.Height());
        int painted = 0;
        for (int y = 0; y < canvas.Height(); ++y) {
            for (int x = 0; x < canvas.Width(); ++x) {
                painted += canvas.PixelAt(x, y) != 0 ? 1 : 0;
            }
        }
        if (hook == &drawing) {
            EXPECT_EQ(620 * 424, painted) << "a hook that draws is kept";
        } else {
            EXPECT_EQ(0, painted);
        }
    }
    EXPECT_EQ(1, declining.calls);
}

TEST(ShadowPictureTest, EmptyHugeOrHostileHostRectanglesGetNoBitmap) {
    EXPECT_FALSE(RenderShadowPicture({10, 10, 10, 50}, kShadowSize, nullptr).IsValid());
    EXPECT_FALSE(RenderShadowPicture({0, 0, 20000, 10}, kShadowSize, nullptr).IsValid());
    EXPECT_FALSE(RenderShadowPicture({LONG_MIN, 0, LONG_MAX, 10}, kShadowSize, nullptr).IsValid());
    EXPECT_FALSE(RenderShadowPicture({0, 0, 10, 10}, INT_MAX, nullptr).IsValid());
    const ShadowCanvas noBorder = RenderShadowPicture({0, 0, 10, 10}, -3, nullptr);
    EXPECT_EQ(10, noBorder.Width()) << "a negative size is no shadow border";
}

}  // namespace
}  // namespace velora
