#include "ui/pointer_tracker.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_controls.h"

namespace velora {
namespace {

// A control at a fixed place that keeps the messages it gets.
class Target : public test::SpyControl {
  public:
    Target(const char* id, RECT rect) {
        if (id != nullptr) {
            SetAttribute("id", id, true);
        }
        MutableRect() = rect;
    }
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override {
        messages.push_back(message);
        return SpyControl::HandleMessage(host, message, wParam, lParam, result);
    }
    std::vector<UINT> messages;
};

// Reports as "event id" strings, in order.
class FakeSink : public IPointerSink {
  public:
    Target& Add(const char* id, RECT rect) {
        controls.push_back(std::make_unique<Target>(id, rect));
        return *controls.back();
    }
    CBkWindow* ControlAt(POINT point) override {
        for (auto& control : controls) {
            if (::PtInRect(&control->Rect(), point)) {
                return control.get();
            }
        }
        return nullptr;
    }
    void Report(PointerEvent event, CBkWindow& control) override {
        static const char* const kNames[] = {"hover", "down",  "click", "rdown",
                                             "rup",   "leave", "dbl",   "move"};
        reports.push_back(std::string(kNames[static_cast<int>(event)]) + " " +
                          std::to_string(control.Id()));
    }
    void ChangeState(CBkWindow& control, ControlState add, ControlState remove) override {
        control.ModifyState(add, remove);
    }
    bool OpenLink(const CBkWindow&) override {
        ++linksAsked;
        return opensLinks;
    }

    std::vector<std::unique_ptr<Target>> controls;
    std::vector<std::string> reports;
    bool opensLinks = false;
    int linksAsked = 0;
};

using Reports = std::vector<std::string>;

TEST(PointerTrackerTest, HoverPressAndReleaseFollowThePointer) {
    FakeSink sink;
    Target& a = sink.Add("1", RECT{0, 0, 10, 10});
    Target& b = sink.Add("2", RECT{20, 0, 30, 10});
    PointerTracker tracker(sink, PointerRules{});
    tracker.Move({5, 5}, 0);
    tracker.Move({6, 5}, 0);
    tracker.Move({25, 5}, 0);
    EXPECT_TRUE(Has(b.State(), ControlState::kHover));
    EXPECT_FALSE(Has(a.State(), ControlState::kHover));
    tracker.Press({25, 5}, MK_LBUTTON);
    tracker.Release({26, 5}, 0);
    tracker.Press({25, 5}, MK_LBUTTON);
    a.messages.clear();
    tracker.Move({5, 5}, MK_LBUTTON);
    EXPECT_TRUE(a.messages.empty()) << "a held press takes every move";
    EXPECT_EQ(UINT{WM_MOUSEMOVE}, b.messages.back());
    tracker.Release({5, 5}, 0);
    EXPECT_EQ((Reports{"move 1", "hover 1", "move 1", "move 2", "hover 2", "leave 1", "down 2",
                       "click 2", "down 2", "leave 2"}),
              sink.reports)
        << "the new control is entered before the old one is left; a release away is a leave";
    EXPECT_EQ(0, tracker.HoveredHandle());
    EXPECT_FALSE(Has(b.State(), ControlState::kHover | ControlState::kPushed));

    sink.reports.clear();
    tracker.Move({5, 5}, 0);
    tracker.Press({5, 5}, MK_LBUTTON);
    EXPECT_TRUE(tracker.Leave());
    EXPECT_FALSE(Has(a.State(), ControlState::kHover | ControlState::kPushed))
        << "leaving ends hover and press";
    EXPECT_FALSE(tracker.Leave()) << "nothing left to leave";
    EXPECT_EQ((Reports{"move 1", "hover 1", "down 1", "leave 1"}), sink.reports);
}

TEST(PointerTrackerTest, ActivationIsAClickWithoutThePointer) {
    FakeSink sink;
    Target& a = sink.Add("1", RECT{0, 0, 10, 10});
    Target& disabled = sink.Add("2", RECT{20, 0, 30, 10});
    disabled.ModifyState(ControlState::kDisabled, ControlState::kNone);
    PointerTracker tracker(sink, PointerRules{});
    EXPECT_TRUE(tracker.Activate(a));
    EXPECT_FALSE(tracker.Activate(disabled));
    EXPECT_EQ((Reports{"down 1", "click 1"}), sink.reports);
    EXPECT_EQ((std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}), a.messages);
    EXPECT_FALSE(Has(a.State(), ControlState::kPushed));
    EXPECT_EQ(0, tracker.HoveredHandle()) << "the hover stays with the pointer";

    tracker.Press({5, 5}, MK_LBUTTON);
    EXPECT_FALSE(tracker.Activate(a)) << "not while the mouse holds a press";
}

TEST(PointerTrackerTest, HostRulesForDisabledAndIdlessControls) {
    struct Case {
        const char* what;
        PointerRules rules;
        Reports reports;
        bool idlessStaysHovered;
    };
    const Case cases[] = {
        {"host",
         PointerRules{true, true, true},
         {"move 3", "hover 3", "move 0", "hover 0", "down 0"},
         true},
        {"list", PointerRules{}, {"move 0", "hover 0", "down 0", "leave 0"}, false},
    };
    for (const Case& c : cases) {
        FakeSink sink;
        Target& disabled = sink.Add("3", RECT{0, 0, 10, 10});
        disabled.ModifyState(ControlState::kDisabled, ControlState::kNone);
        Target& idless = sink.Add(nullptr, RECT{20, 0, 30, 10});
        PointerTracker tracker(sink, c.rules);
        tracker.Move({5, 5}, 0);
        EXPECT_EQ(c.rules.disabledHovers ? disabled.Handle() : 0, tracker.HoveredHandle())
            << c.what;
        tracker.Press({5, 5}, MK_LBUTTON);
        EXPECT_EQ(0, tracker.PressedHandle()) << c.what << ": a disabled control takes no press";
        tracker.Move({25, 5}, 0);
        tracker.Press({25, 5}, MK_LBUTTON);
        tracker.Release({45, 5}, 0);
        EXPECT_EQ(c.reports, sink.reports) << c.what;
        EXPECT_TRUE(disabled.messages.empty()) << c.what;
        EXPECT_FALSE(Has(disabled.State(), ControlState::kHover | ControlState::kPushed)) << c.what;
        EXPECT_EQ(c.idlessStaysHovered ? idless.Handle() : 0, tracker.HoveredHandle()) << c.what;
    }
}

TEST(PointerTrackerTest, ALinkOpensInsteadOfAClickWhereTheSinkOpensLinks) {
    for (const bool opens : {true, false}) {
        FakeSink sink;
        sink.opensLinks = opens;
        sink.Add("4", RECT{0, 0, 10, 10}).SetAttribute("href", "https://example.org/", true);
        PointerTracker tracker(sink, PointerRules{});
        tracker.Press({5, 5}, MK_LBUTTON);
        tracker.Release({5, 5}, 0);
        EXPECT_EQ(1, sink.linksAsked);
        EXPECT_EQ(opens ? Reports{"down 4"} : (Reports{"down 4", "click 4"}), sink.reports);
    }
}

}  // namespace
}  // namespace velora
