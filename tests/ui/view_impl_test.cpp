#include "ui/view_impl.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "markup/xml_document.h"
#include "tests/support/test_controls.h"

namespace velora {
namespace {

// The by-id operations over a body of two texts, keeping what they invalidate.
class RecordingView : public CBkViewImplForList {
  public:
    RecordingView() {
        document_.Parse(
            "<body><text id=\"1\" pos=\"0,0,10,10\"/>"
            "<text id=\"2\" pos=\"20,0,30,10\" show=\"0\"/></body>",
            "body");
        body_.SetStandardTier(&standard_);
        body_.Load(document_.Root());
        body_.SetAttribute("pos", "0,0,-0,-0", true);
        WINDOWPOS placement = {};
        placement.cx = 100;
        placement.cy = 100;
        body_.SendControlMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&placement));
    }
    CBkWindow* FindControl(int id) const override { return body_.FindChildById(id); }
    void InvalidateControlRect(const RECT& rect) override {
        invalidated.push_back({rect.left, rect.top, rect.right, rect.bottom});
    }
    std::vector<std::vector<LONG>> invalidated;

  private:
    test::TestStandardTier standard_;
    BkXmlDocument document_;
    mutable CBkDialog body_;
};

TEST(ViewImplTest, ItemOperationsRepaintWhatTheyChange) {
    using Rects = std::vector<std::vector<LONG>>;
    struct Case {
        const char* what;
        std::function<bool(RecordingView&)> operation;
        Rects invalidated;
    };
    const Case cases[] = {
        {"a new place repaints the old and the new one",
         [](RecordingView& v) { return v.SetItemAttribute(1, "pos", L"50,50,60,60"); },
         {{0, 0, 10, 10}, {50, 50, 60, 60}}},
        {"a hidden control repaints nothing",
         [](RecordingView& v) { return v.SetItemAttribute(2, "pos", L"50,50,60,60"); },
         {}},
        {"disabling takes the hover away",
         [](RecordingView& v) {
             v.FindControl(1)->ModifyState(ControlState::kHover, ControlState::kNone);
             return v.EnableItem(1, false) && v.FindControl(1)->IsDisabled() &&
                    !Has(v.FindControl(1)->State(), ControlState::kHover);
         },
         {{0, 0, 10, 10}}},
        {"hiding repaints where the control was",
         [](RecordingView& v) { return v.ShowItem(1, false) && !v.FindControl(1)->IsVisible(); },
         {{0, 0, 10, 10}}},
    };
    for (const Case& c : cases) {
        RecordingView view;
        EXPECT_TRUE(c.operation(view)) << c.what;
        EXPECT_EQ(c.invalidated, view.invalidated) << c.what;
        EXPECT_FALSE(view.SetItemCheck(99, true)) << "an unknown id changes nothing";
        EXPECT_EQ(c.invalidated, view.invalidated) << c.what;
    }
}

}  // namespace
}  // namespace velora
