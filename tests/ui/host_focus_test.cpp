#include "ui/host_focus.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "tests/support/markup_sources.h"
#include "tests/support/modal_driver.h"
#include "tests/support/test_controls.h"
#include "ui/control_registry.h"
#include "ui/host_window.h"
#include "ui/notification.h"

namespace velora {
namespace {

constexpr UINT kLayoutId = 3902;
constexpr UINT kStepMs = 40;

// Header 10; body 11, the text 12 made a tab stop, 13 on a hidden page, 14
// not a tab stop, 15 below the window; footer 17, the default button.
const char kLayout[] =
    "<layer width=\"400\" height=\"300\">"
    "<header height=\"40\"><dlgbtn id=\"10\" pos=\"10,5,60,35\"/></header>"
    "<body><dlgbtnEx2 id=\"11\" pos=\"10,10,110,50\"/>"
    "<text id=\"12\" pos=\"120,10,200,50\" tabstop=\"1\"/>"
    "<dlg pos=\"0,60,-0,120\" show=\"0\"><dlgbtnEx2 id=\"13\" pos=\"10,0,100,30\"/></dlg>"
    "<dlgbtnEx2 id=\"14\" pos=\"210,10,300,50\" tabstop=\"0\"/>"
    "<dlgbtnEx2 id=\"15\" pos=\"10,400,100,430\"/></body>"
    "<footer height=\"50\"><dlgbtnEx2 id=\"17\" pos=\"10,10,100,40\" default=\"1\"/></footer>"
    "</layer>";

class ClickRecorder : public CBkDialogViewImplEx {
  public:
    ClickRecorder()
        : CBkDialogViewImplEx(kLayoutId, &standard_, std::make_unique<test::TestExtendedTier>()) {
        SetShadowEnabled(false);
    }
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        const auto* notify = reinterpret_cast<const BkNotify*>(lParam);
        if (message == WM_NOTIFY && notify->hdr.idFrom == kHostNotifySource &&
            notify->hdr.code == kNotifyClick) {
            clicks.push_back(notify->controlId);
        }
        return CBkDialogViewImplEx::ProcessWindowMessage(window, message, wParam, lParam, result);
    }
    // The id of the focused control, -1 for none.
    int FocusedId() const {
        const CBkWindow* control = BkControlRegistry::Lookup(FocusedControl());
        return control != nullptr ? control->Id() : -1;
    }
    std::vector<UINT> clicks;

  private:
    test::TestStandardTier standard_;
};

class HostFocusTest : public ::testing::Test {
  protected:
    HostFocusTest() {
        sources_.InFolder(kLayoutId, kLayout);
        NoteInput(false);  // opened by the mouse: no cue at first
    }
    // Runs the dialog modally through `steps`, then ends it.
    void Run(std::vector<std::function<void()>> steps) {
        steps.push_back([this] { dialog_.EndDialog(0); });
        test::RunStepsFromMessageLoop(kStepMs, std::move(steps));
        dialog_.DoModal(nullptr);
        test::DropPendingActions();
    }
    // Dots of the cue on the left edge of control `id` in a fresh capture.
    int CueDots(int id) {
        ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
        ScopedBitmap target(::CreateCompatibleBitmap(dc.Get(), 1, 1));
        ScopedSelectObject selected(dc.Get(), target.Get());
        ::SendMessageW(dialog_.Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
        const CBkBitmap& buffer = dialog_.BackBuffer();
        const RECT& rect = dialog_.FindControl(id)->Rect();
        int dots = 0;
        for (LONG y = rect.top; y < rect.bottom; ++y) {
            // Rows are bottom-up; the test layout has no background of its own.
            dots +=
                buffer.Pixels()[(buffer.Height() - 1 - y) * buffer.Width() + rect.left - 2] != 0;
        }
        return dots;
    }
    int Handle(int id) { return dialog_.FindControl(id)->Handle(); }

    test::MarkupSources sources_;
    test::ScopedKeyboardCues cues_{false};
    ClickRecorder dialog_;
};

TEST_F(HostFocusTest, TabWalksTheStopsInDocumentOrderAndWraps) {
    struct Step {
        bool shift;
        int focused;
    };
    const Step steps[] = {{false, 10}, {false, 11}, {false, 12}, {false, 17},
                          {false, 10}, {true, 17},  {true, 12}};
    std::vector<std::function<void()>> script = {
        [this] { EXPECT_EQ(17, dialog_.FocusedId()) << "the default button starts with it"; }};
    for (const Step& step : steps) {
        script.push_back([step] { test::PostKey(VK_TAB, step.shift); });
        script.push_back([this, step] { EXPECT_EQ(step.focused, dialog_.FocusedId()); });
    }
    Run(std::move(script));
}

TEST_F(HostFocusTest, CueShowsAfterKeysAndHidesAfterAPress) {
    Run({[this] {
             EXPECT_FALSE(dialog_.FocusCueShown());
             EXPECT_EQ(0, CueDots(17));
             test::PostKey(VK_TAB);
         },
         [this] {
             EXPECT_TRUE(dialog_.FocusCueShown());
             EXPECT_GT(CueDots(10), 10);
             EXPECT_EQ(0, CueDots(17)) << "the old cue is gone";
             ::SendMessageW(dialog_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 70));
             ::SendMessageW(dialog_.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(50, 70));
         },
         [this] {
             EXPECT_EQ(11, dialog_.FocusedId()) << "a press takes the focus";
             EXPECT_FALSE(dialog_.FocusCueShown());
             EXPECT_EQ(0, CueDots(11));
         }});
}

TEST_F(HostFocusTest, SpaceEnterAndEscapeClick) {
    struct Case {
        int focused;
        UINT key;
        UINT clicked;
    };
    const Case cases[] = {
        {11, VK_SPACE, 11},        {11, VK_RETURN, 11},
        {12, VK_RETURN, 17},  // no button has the focus: the default button
        {12, VK_SPACE, 0},    // nothing to click
        {11, VK_ESCAPE, IDCANCEL},
    };
    std::vector<std::function<void()>> script;
    for (const Case& c : cases) {
        script.push_back([this, c] {
            dialog_.clicks.clear();
            ASSERT_TRUE(dialog_.FocusControl(Handle(c.focused)));
            test::PostKey(c.key);
        });
        script.push_back([this, c] {
            EXPECT_EQ(c.clicked == 0 ? std::vector<UINT>{} : std::vector<UINT>{c.clicked},
                      dialog_.clicks)
                << "key " << c.key << " on " << c.focused;
        });
    }
    Run(std::move(script));
}

TEST_F(HostFocusTest, FocusPassesOnFromControlsThatCannotTakeIt) {
    Run({[this] {
             EXPECT_FALSE(dialog_.FocusControl(Handle(13))) << "hidden";
             EXPECT_FALSE(dialog_.FocusControl(Handle(14))) << "not a tab stop";
             EXPECT_FALSE(dialog_.FocusControl(Handle(15))) << "outside the window";
             ASSERT_TRUE(dialog_.FocusControl(Handle(11)));
             dialog_.ShowItem(11, false);
         },
         [this] {
             EXPECT_EQ(17, dialog_.FocusedId()) << "to the default button";
             dialog_.ShowItem(11, true);
             ASSERT_TRUE(dialog_.FocusControl(Handle(10)));
             dialog_.EnableItem(17, false);
             dialog_.ShowItem(10, false);
         },
         [this] {
             EXPECT_EQ(11, dialog_.FocusedId()) << "without one, to the next tab stop";
             dialog_.EnableItem(17, true);
         },
         [this] { EXPECT_EQ(17, dialog_.FocusedId()) << "back to the default button"; }});
}

}  // namespace
}  // namespace velora
