#include "controls/real_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/window_scopes.h"
#include "controls/control_factory.h"
#include "markup/xml_document.h"
#include "ui/bk_container.h"
#include "ui/host_messages.h"
#include "ui/notification.h"

namespace velora {
namespace {

constexpr int kHostDialogId = 77;

struct MovedRecord {
    WPARAM wParam = 0;
    HWND from = nullptr;
    UINT_PTR source = 0;
    UINT controlId = 0;
    RECT rect = {};
};

// Stands in for the host window: keeps the moved-window records (code 2)
// and answers the layered-presentation questions.
class RecordingHost {
  public:
    RecordingHost() {
        static const ScopedWindowClass hostClass = [] {
            WNDCLASSEXW description = {};
            description.cbSize = sizeof(description);
            description.lpfnWndProc = &WindowProc;
            description.hInstance = ::GetModuleHandleW(nullptr);
            description.lpszClassName = L"VeloraRealWndTestHost";
            return ScopedWindowClass(description);
        }();
        window_.Reset(::CreateWindowExW(0, L"VeloraRealWndTestHost", L"host", WS_POPUP, 100, 200,
                                        640, 480, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                        nullptr));
        ::SetWindowLongPtrW(window_.Get(), GWLP_ID, kHostDialogId);
        ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    HWND Handle() const { return window_.Get(); }
    std::vector<MovedRecord> records;
    bool layered = false;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<RecordingHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message == kMsgIsLayeredHost) {
            return self->layered ? 1 : 0;
        }
        if (self != nullptr && message == kMsgGetHostWindow) {
            if (lParam != 0) {
                *reinterpret_cast<HWND*>(lParam) = window;
            }
            return 1;
        }
        if (self != nullptr && message == WM_NOTIFY && lParam != 0) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->code != kNotifyRealWndMoved) {
                return 0;
            }
            const auto* moved = reinterpret_cast<const BkNotifyRealWnd*>(lParam);
            self->records.push_back(
                {wParam, header->hwndFrom, header->idFrom, moved->controlId, moved->rect});
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    ScopedWindow window_;
};

// A native window that counts the paints it is sent.
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, ::GetWindowLongPtrW(window, GWLP_USERDATA) + 1);
        ::ValidateRect(window, nullptr);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* CountingClass() {
    static const ScopedWindowClass counting = [] {
        WNDCLASSEXW description = {};
        description.cbSize = sizeof(description);
        description.lpfnWndProc = &CountingProc;
        description.hInstance = ::GetModuleHandleW(nullptr);
        description.lpszClassName = L"VeloraPaintCounter";
        return ScopedWindowClass(description);
    }();
    (void)counting;
    return L"VeloraPaintCounter";
}

std::string Describe(const RECT& rect) {
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ")";
}

// A section container with hosted windows, placed in a 610 x 414 client area.
class RealWindowTest : public ::testing::Test {
  protected:
    // A visible native child of the host with `id` (0: no id).
    HWND AddNative(int id) {
        natives_.emplace_back(::CreateWindowExW(0, CountingClass(), L"", WS_CHILD | WS_VISIBLE, 0,
                                                0, 5, 5, host_.Handle(),
                                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                                ::GetModuleHandleW(nullptr), nullptr));
        return natives_.back().Get();
    }
    void Build(const std::string& xml) {
        ASSERT_TRUE(document_.Parse(xml, "body")) << xml;
        root_ = std::make_unique<CBkDialog>();
        root_->SetStandardTier(&CBkStandardTier::Instance());
        root_->SetCreator(&extended_);
        root_->SetContainer(host_.Handle());
        root_->Load(document_.Root());
        root_->SetAttribute("pos", "0,0,-0,-0", true);
        CBkContainerWnd::SendPlacement(root_.get(), 0, 0, 610, 414);
        host_.records.clear();
    }
    void TearDown() override {
        if (root_) {
            root_->SendControlMessage(WM_DESTROY);
        }
    }
    CBkWindow* ById(int id) { return root_->FindChildById(id); }
    void Show(int id, bool shown) { ById(id)->SendControlMessage(WM_SHOWWINDOW, shown ? 1 : 0); }
    // Position in the host's client area.
    static RECT ClientRect(HWND native) {
        RECT rect = {};
        ::GetWindowRect(native, &rect);
        ::MapWindowPoints(nullptr, ::GetParent(native), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    static bool HasVisibleStyle(HWND window) {
        return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    static int Paints(HWND window) {
        return static_cast<int>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }

    RecordingHost host_;
    std::vector<ScopedWindow> natives_;
    CBkControlCreator extended_;
    BkXmlDocument document_;
    std::unique_ptr<CBkDialog> root_;
};

TEST_F(RealWindowTest, RunTimePosMovesTheNativeWindowAndReportsItOnce) {
    HWND native = AddNative(5);
    Build("<body><dlg pos=\"0,0,-0,-0\"><realwnd id=\"5\" pos=\"10,20,110,45\"/></dlg></body>");
    EXPECT_EQ("(10,20,110,45)", Describe(ClientRect(native))) << "placed by the layout";

    ::SetWindowPos(native, nullptr, 0, 0, 5, 5, SWP_NOZORDER);
    ById(5)->SetAttribute("pos", "30,40,230,64", false);
    EXPECT_EQ("(30,40,230,64)", Describe(ClientRect(native)));
    ASSERT_EQ(1u, host_.records.size());
    const MovedRecord& record = host_.records[0];
    EXPECT_EQ(static_cast<WPARAM>(kHostDialogId), record.wParam);
    EXPECT_EQ(static_cast<UINT_PTR>(kHostDialogId), record.source);
    EXPECT_EQ(host_.Handle(), record.from);
    EXPECT_EQ(5u, record.controlId);
    EXPECT_EQ("(30,40,230,64)", Describe(record.rect));
    EXPECT_TRUE(HasVisibleStyle(native));

    ::SetWindowPos(native, nullptr, 1, 2, 5, 5, SWP_NOZORDER);
    ById(5)->SetAttribute("pos", "30,40,230,64", false);
    EXPECT_EQ(1u, host_.records.size()) << "the same rectangle reports nothing";
    EXPECT_EQ("(1,2,6,7)", Describe(ClientRect(native))) << "and moves nothing";
}

TEST_F(RealWindowTest, ContainerVisibilityReachesTheNativeWindow) {
    HWND native = AddNative(5);
    Build(
        "<body><dlg id=\"1\" pos=\"0,0,-0,-0\"><realwnd id=\"5\" pos=\"0,0,50,20\"/></dlg></body>");
    Show(1, false);
    EXPECT_FALSE(HasVisibleStyle(native));
    Show(1, true);
    EXPECT_TRUE(HasVisibleStyle(native));

    Show(5, false);
    EXPECT_FALSE(HasVisibleStyle(native));
    Show(1, false);
    Show(1, true);
    EXPECT_FALSE(HasVisibleStyle(native)) << "the placeholder itself is still hidden";

    Show(1, false);
    Show(5, true);
    EXPECT_FALSE(HasVisibleStyle(native)) << "its container is hidden";
    EXPECT_FALSE(Has(ById(5)->State(), ControlState::kHidden));
    Show(1, true);
    EXPECT_TRUE(HasVisibleStyle(native));
}

TEST_F(RealWindowTest, PlaceholderWithoutNativeWindowOnlyReportsItsMoves) {
    HWND numbered = AddNative(5);
    HWND unnumbered = AddNative(0);
    Build(
        "<body><realwnd id=\"5\" pos=\"0,0,50,20\"/><realwnd id=\"6\" pos=\"0,30,50,50\"/>"
        "<realwnd pos=\"0,60,50,80\"/></body>");
    const RECT unnumberedBefore = ClientRect(unnumbered);
    const RECT numberedBefore = ClientRect(numbered);

    ById(6)->SetAttribute("pos", "100,100,200,150", false);
    ASSERT_EQ(1u, host_.records.size());
    EXPECT_EQ(6u, host_.records[0].controlId);
    EXPECT_EQ("(100,100,200,150)", Describe(host_.records[0].rect));
    Show(6, false);
    EXPECT_TRUE(HasVisibleStyle(numbered));
    EXPECT_TRUE(HasVisibleStyle(unnumbered));

    CBkWindow* unnamed = root_->Children().back().get();
    unnamed->SetAttribute("pos", "300,300,400,350", false);
    unnamed->SendControlMessage(WM_SHOWWINDOW, 0);
    unnamed->SendControlMessage(WM_DESTROY);
    EXPECT_EQ(Describe(unnumberedBefore), Describe(ClientRect(unnumbered)))
        << "a placeholder without id hosts no window";
    EXPECT_TRUE(HasVisibleStyle(unnumbered));
    EXPECT_EQ(Describe(numberedBefore), Describe(ClientRect(numbered)));
}

TEST_F(RealWindowTest, ForwardsPaintsAndHidesTheNativeWindowWhenDestroyed) {
    HWND native = AddNative(5);
    Build("<body><realwnd id=\"5\" pos=\"0,0,50,20\"/></body>");
    const int paints = Paints(native);
    ById(5)->RedrawRegion(nullptr, nullptr);
    EXPECT_EQ(paints + 1, Paints(native));
    EXPECT_FALSE(ById(5)->RedrawOnStateChange());

    root_->SendControlMessage(WM_DESTROY);
    EXPECT_FALSE(HasVisibleStyle(native));
    EXPECT_TRUE(::IsWindow(native)) << "the dialog owns the native window";
}

TEST_F(RealWindowTest, RealWndExInAnOrdinaryHostDrivesTheDialogItem) {
    HWND native = AddNative(5);
    Build("<body><realwndex id=\"5\" pos=\"10,20,110,45\"/></body>");
    ById(5)->SetAttribute("pos", "30,40,230,64", false);
    EXPECT_EQ("(30,40,230,64)", Describe(ClientRect(native)));
    ASSERT_EQ(1u, host_.records.size());
    EXPECT_EQ(static_cast<WPARAM>(kHostDialogId), host_.records[0].wParam);
    Show(5, false);
    EXPECT_FALSE(HasVisibleStyle(native));
}

TEST_F(RealWindowTest, RealWndExInALayeredHostDrivesItsSeparateWindow) {
    HWND native = AddNative(5);
    Build("<body><realwndex id=\"5\" pos=\"10,20,110,45\"/></body>");
    auto* placeholder = static_cast<CBkRealWndEx*>(ById(5));
    HWND separate = ::CreateWindowExW(0, CountingClass(), L"", WS_POPUP, 0, 0, 5, 5, nullptr,
                                      nullptr, ::GetModuleHandleW(nullptr), nullptr);
    placeholder->SetSeparateWindow(separate);
    host_.layered = true;

    placeholder->SetAttribute("pos", "30,40,230,64", false);
    RECT screen = {};
    ::GetWindowRect(separate, &screen);
    EXPECT_EQ("(130,240,330,264)", Describe(screen));
    ASSERT_EQ(2u, host_.records.size());
    EXPECT_EQ(static_cast<WPARAM>(kHostDialogId), host_.records[0].wParam);
    EXPECT_EQ(static_cast<WPARAM>(-1), host_.records[1].wParam);
    EXPECT_EQ(kHostNotifySource, host_.records[1].source);
    EXPECT_EQ("(30,40,230,64)", Describe(host_.records[1].rect));

    Show(5, true);
    EXPECT_TRUE(HasVisibleStyle(separate));
    Show(5, false);
    EXPECT_FALSE(HasVisibleStyle(separate));
    EXPECT_TRUE(HasVisibleStyle(native)) << "the dialog item is left alone";

    placeholder->SendControlMessage(WM_DESTROY);
    EXPECT_FALSE(::IsWindow(separate));
}

}  // namespace
}  // namespace velora
