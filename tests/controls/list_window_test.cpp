#include "controls/list_controls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "controls/control_factory.h"
#include "markup/xml_document.h"
#include "tests/support/test_canvas.h"
#include "tests/support/test_host_window.h"
#include "tests/support/test_controls.h"
#include "ui/host_messages.h"
#include "ui/notification.h"

// Rectangles compare and print as four numbers.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace velora {
namespace {

// Counts how often it is placed: tells a pure scroll from a relayout.
class PlacementSpy : public test::SpyControl {
  public:
    static constexpr char kTag[] = "spy";
    bool IsClass(const char* tag) const override { return tag && std::strcmp(tag, kTag) == 0; }
    const char* GetObjectClass() const override { return kTag; }
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override {
        if (message == WM_WINDOWPOSCHANGED) {
            ++placements;
        }
        return test::SpyControl::HandleMessage(host, message, wParam, lParam, result);
    }
    int placements = 0;
};

class SpyTier : public IBkControlCreator {
  public:
    std::unique_ptr<CBkWindow> CreateControl(const char* tag) override {
        if (std::strcmp(tag, PlacementSpy::kTag) == 0) {
            return std::make_unique<PlacementSpy>();
        }
        return standard_.CreateControl(tag);
    }

  private:
    test::TestStandardTier standard_;
};

// `count` items of `height`, each holding one spy that fills it.
std::string Items(int count, int height) {
    std::string items;
    for (int i = 0; i < count; ++i) {
        const std::string id = std::to_string(100 + i);
        items += "<listitem id=\"" + id + "\" height=\"" + std::to_string(height) +
                 "\"><spy id=\"" + std::to_string(1000 + i) +
                 "\" pos=\"0,0,-0,-0\" tip=\"child\"/></listitem>";
    }
    return items;
}

std::string List(const std::string& attributes, const std::string& items) {
    return "<listwnd id=\"7\" pos=\"0,0,-0,-0\" " + attributes + ">" + items + "</listwnd>";
}

class ListWindowTest : public ::testing::Test {
  protected:
    // Loads a list and places it at (10, 20) with the given size.
    CBkListWnd& Load(const std::string& xml, int width = 300, int height = 300) {
        BkXmlDocument document;
        EXPECT_TRUE(document.Parse(xml, CBkListWnd::kTag)) << xml;
        list_ = std::make_unique<CBkListWnd>();
        list_->SetStandardTier(&tier_);
        list_->SetCreator(&creator_);
        list_->SetContainer(host_.Handle());
        list_->Load(document.Root());
        Place(width, height);
        host_.Clear();
        return *list_;
    }
    void Place(int width, int height) {
        CBkContainerWnd::PlaceChild(list_.get(), RECT{10, 20, 10 + width, 20 + height});
    }
    CBkWindowScollBar& Bar() { return *list_->ScrollBar(); }
    CBkListItem& Item(int index) { return *list_->Items()[index]; }
    PlacementSpy& Spy(int index) {
        return *static_cast<PlacementSpy*>(Item(index).Children().front().get());
    }
    // Mouse messages carry host client coordinates.
    void Mouse(UINT message, int x, int y, WPARAM keys = 0) {
        list_->SendControlMessage(message, keys, MAKELPARAM(x, y));
    }
    void Wheel(int delta) { list_->SendControlMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0); }
    std::vector<int> ListEvents() const {
        std::vector<int> events;
        for (const auto& record : host_.Records()) {
            if (record.code == kNotifyList) {
                events.push_back(record.listEvent);
            }
        }
        return events;
    }
    const test::RecordedNotify* FindEvent(int event) const {
        for (const auto& record : host_.Records()) {
            if (record.code == kNotifyList && record.listEvent == event) {
                return &record;
            }
        }
        return nullptr;
    }

    test::TestHostWindow host_;
    SpyTier tier_;
    CBkControlCreator creator_;
    std::unique_ptr<CBkListWnd> list_;
};

TEST_F(ListWindowTest, RangeZeroHidesTheBarAndTheWheelDoesNothing) {
    CBkListWnd& list = Load(List("", Items(1, 270)), 300, 270);
    ASSERT_NE(nullptr, list.ScrollBar());
    EXPECT_EQ(0, Bar().Range());
    EXPECT_TRUE(Has(Bar().State(), ControlState::kHidden));
    Wheel(-120);
    Wheel(120);
    EXPECT_EQ(0, list.ScrollPosition());
    EXPECT_EQ(0, Item(0).Rect().top);
    EXPECT_EQ(300, Item(0).Rect().right) << "full width without a bar";
}

TEST_F(ListWindowTest, ScrollBarArithmeticAndWheelClamping) {
    CBkListWnd& list = Load(List("", Items(10, 100)));
    EXPECT_EQ(1000, list.ContentSize());
    EXPECT_EQ(700, Bar().Range());
    EXPECT_FALSE(Has(Bar().State(), ControlState::kHidden));
    EXPECT_EQ((RECT{289, 0, 300, 300}), Bar().Rect()) << "in list coordinates";
    EXPECT_EQ(90, Bar().ThumbRect().bottom - Bar().ThumbRect().top);
    EXPECT_EQ(210, Bar().TrackLength());
    EXPECT_EQ(291, Bar().ThumbRect().left);
    EXPECT_EQ(298, Bar().ThumbRect().right);

    // Rounded away from zero both ways.
    EXPECT_EQ(4, Bar().UnitsFromPixels(1));
    EXPECT_EQ(-4, Bar().UnitsFromPixels(-1));
    EXPECT_EQ(1, Bar().PixelsFromUnits(1));
    EXPECT_EQ(-1, Bar().PixelsFromUnits(-1));

    Wheel(-120);
    EXPECT_EQ(65, list.ScrollPosition());
    EXPECT_EQ(20, Bar().ThumbRect().top) << "19.5 rounds away from zero";
    EXPECT_EQ(35, Item(1).Rect().top);

    list.SetScrollPos(30, false);
    Wheel(120);
    EXPECT_EQ(0, list.ScrollPosition()) << "one notch up from 30 stops at the top";
    EXPECT_EQ(0, Item(0).Rect().top);

    Wheel(-120 * 20);
    EXPECT_EQ(700, list.ScrollPosition()) << "twenty notches stop at the end";
    EXPECT_EQ(300, Item(9).Rect().bottom);
    Wheel(-120);
    EXPECT_EQ(700, list.ScrollPosition());
    Wheel(-119);
    EXPECT_EQ(700, list.ScrollPosition()) << "less than a notch is no notch";
}

TEST_F(ListWindowTest, TrackLengthZeroMakesDraggingANoOp) {
    CBkListWnd& list = Load(List("", Items(2, 20)), 300, 20);
    EXPECT_EQ(20, Bar().Range());
    EXPECT_EQ(0, Bar().TrackLength()) << "the thumb is as high as the bar";
    EXPECT_EQ(0, Bar().UnitsFromPixels(5));
    Mouse(WM_MOUSEMOVE, 305, 25);
    Mouse(WM_LBUTTONDOWN, 305, 25, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 305, 35, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 305, 35);
    EXPECT_EQ(0, list.ScrollPosition());
}

TEST_F(ListWindowTest, TrackPressesMoveTheThumbByTheDistanceToThePointer) {
    CBkListWnd& list = Load(List("", Items(10, 100)));
    // Thumb at 0..90: a press at list y 150 moves it down by 60 pixels = 200 units.
    Mouse(WM_LBUTTONDOWN, 305, 20 + 150, MK_LBUTTON);
    EXPECT_EQ(200, list.ScrollPosition());
    EXPECT_EQ(60, Bar().ThumbRect().top);
    EXPECT_EQ(-200, Item(0).Rect().top) << "the content follows the bar";
    Mouse(WM_MOUSEMOVE, 305, 20 + 250, MK_LBUTTON);
    EXPECT_EQ(200, list.ScrollPosition()) << "a track press does not drag the thumb";
    Mouse(WM_LBUTTONUP, 305, 20 + 250);

    // Below the thumb again, near the end: limited by the track end.
    Mouse(WM_LBUTTONDOWN, 305, 20 + 299, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 305, 20 + 299);
    EXPECT_EQ(697, list.ScrollPosition()) << "149 pixels, 496.7 units rounded up";
    EXPECT_EQ(300, Bar().ThumbRect().bottom);

    // Above the thumb (now 210..300): back up by the distance to the thumb top.
    Mouse(WM_LBUTTONDOWN, 305, 20 + 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 305, 20 + 10);
    EXPECT_EQ(30, list.ScrollPosition()) << "-200 pixels, -666.7 units rounded down";
    EXPECT_EQ(9, Bar().ThumbRect().top);
}

TEST_F(ListWindowTest, DraggingTheThumbScrollsThroughThePositionUnits) {
    CBkListWnd& list = Load(List("", Items(10, 100)));
    Mouse(WM_MOUSEMOVE, 10 + 289, 20 + 45);
    Mouse(WM_LBUTTONDOWN, 10 + 289, 20 + 45, MK_LBUTTON);
    EXPECT_TRUE(Has(Bar().State(), ControlState::kPushed));
    Mouse(WM_MOUSEMOVE, 10 + 289, 20 + 66, MK_LBUTTON);
    EXPECT_EQ(70, list.ScrollPosition()) << "caught across the bar's whole width";
    EXPECT_EQ(21, Bar().ThumbRect().top);
    Mouse(WM_MOUSEMOVE, 100, 20 + 500, MK_LBUTTON);
    EXPECT_EQ(700, list.ScrollPosition()) << "moves go to the bar while it is pressed";
    Mouse(WM_LBUTTONUP, 100, 20 + 500);
    EXPECT_FALSE(Has(Bar().State(), ControlState::kPushed));
    // Bar events: hover 5, down 2, then released elsewhere: leave 6.
    EXPECT_EQ((std::vector<int>{5, 2, 6}), ListEvents());
    const test::RecordedNotify* down = FindEvent(2);
    ASSERT_NE(nullptr, down);
    EXPECT_EQ(-1, down->itemIndex);
    EXPECT_EQ("listscrollbar", down->classTag);
    Mouse(WM_MOUSEMOVE, 10 + 295, 20 + 10);
    EXPECT_EQ(700, list.ScrollPosition()) << "the release ended the drag";
}

TEST_F(ListWindowTest, ExternLineZeroNarrowsItemsOnlyWhileTheBarShows) {
    Load(List("externline=\"0\"", Items(10, 100)));
    EXPECT_EQ(289, Item(0).Rect().right);
    EXPECT_EQ(289, Spy(0).Rect().right) << "children laid out in the narrower item";
    Load(List("", Items(10, 100)));
    EXPECT_EQ(300, Item(0).Rect().right) << "the bar lies over full-width items";
    Load(List("externline=\"0\"", Items(2, 100)));
    EXPECT_EQ(300, Item(0).Rect().right) << "no bar, nothing to make room for";
}

TEST_F(ListWindowTest, PureScrollsMoveItemsWithoutLayingOutTheirChildren) {
    CBkListWnd& list = Load(List("", Items(10, 100)));
    EXPECT_TRUE(Item(0).InView());
    EXPECT_TRUE(Item(3).InView()) << "top edge on the list's bottom";
    EXPECT_FALSE(Item(4).InView());
    EXPECT_EQ(1, Spy(0).placements);
    EXPECT_EQ(0, Spy(5).placements) << "out of view: no child layout";
    EXPECT_EQ((RECT{0, 0, 300, 100}), Spy(1).Rect()) << "children are item-relative";

    Wheel(-120 * 4);
    EXPECT_EQ(260, list.ScrollPosition());
    EXPECT_EQ(1, Spy(0).placements) << "a pure scroll keeps the layout";
    EXPECT_EQ(1, Spy(5).placements) << "a pending layout runs on first view";
    EXPECT_EQ((RECT{0, 0, 300, 100}), Spy(1).Rect());

    list.Relayout(true);
    EXPECT_EQ(2, Spy(3).placements);
    EXPECT_EQ(1, Spy(0).placements) << "out of view now";

    // A resize while items are out of view lays them out once they show.
    Place(250, 300);
    list.SetScrollPos(0, false);
    EXPECT_EQ(2, Spy(0).placements);
    EXPECT_EQ(250, Spy(0).Rect().right);

    // Only a new height makes the next pure scroll lay the children out.
    Item(0).SetAttribute("height", "100", false);
    Wheel(-120);
    EXPECT_EQ(2, Spy(0).placements) << "same height, nothing to redo";
    Item(0).SetAttribute("height", "120", false);
    Wheel(120);
    EXPECT_EQ(3, Spy(0).placements);
}

TEST_F(ListWindowTest, LongListLaysOutAndScrollsToEveryItem) {
    CBkListWnd& list = Load(List("", Items(200, 30)));
    EXPECT_EQ(6000, list.ContentSize());
    EXPECT_EQ(5700, Bar().Range());
    EXPECT_EQ(20, Bar().ThumbRect().bottom - Bar().ThumbRect().top) << "15 grows to 20";
    int inView = 0;
    for (const auto& item : list.Items()) {
        inView += item->InView() ? 1 : 0;
    }
    EXPECT_EQ(11, inView);

    list.MakeItemVisible(100);
    EXPECT_EQ(3000, list.ScrollPosition());
    EXPECT_EQ(0, Item(100).Rect().top);
    EXPECT_EQ(1, Spy(100).placements);
    EXPECT_EQ((RECT{0, 0, 300, 30}), Spy(100).Rect());
    list.MakeItemVisible(199);
    EXPECT_EQ(5700, list.ScrollPosition()) << "clamped to the range";
    EXPECT_EQ(300, Item(199).Rect().bottom);
    EXPECT_EQ(280, Bar().ThumbRect().top) << "thumb at the track end";
    list.MakeItemVisible(200);
    EXPECT_EQ(5700, list.ScrollPosition()) << "an index outside the items does nothing";

    list.ScrollBy(300);
    EXPECT_EQ(5400, list.ScrollPosition());
    list.ScrollToY(-100, false);
    EXPECT_EQ(5300, list.ScrollPosition()) << "y less the content top";
    for (int i = 0; i < 100; ++i) {
        Wheel(120);
    }
    EXPECT_EQ(0, list.ScrollPosition());
    EXPECT_EQ(0, Item(0).Rect().top);
    EXPECT_EQ(30 * 199, Item(199).Rect().top);
}

TEST_F(ListWindowTest, ClicksReportListAndItemEvents) {
    Load(List("", Items(10, 100)));
    // Item 1 spans list y 100..200; its spy child has id 1001.
    Mouse(WM_MOUSEMOVE, 50, 20 + 150);
    Mouse(WM_LBUTTONDOWN, 50, 20 + 150, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 50, 20 + 150);
    EXPECT_EQ((std::vector<int>{101, 21, 102, 22, 103, 23}), ListEvents());

    const test::RecordedNotify* click = FindEvent(23);
    ASSERT_NE(nullptr, click);
    EXPECT_EQ(kHostNotifySource, click->source);
    EXPECT_EQ(7, click->listId);
    EXPECT_EQ(1, click->itemIndex);
    EXPECT_EQ(101u, click->controlId);
    EXPECT_EQ("listitem", click->classTag);
    EXPECT_EQ(0, click->childId);

    const test::RecordedNotify* childClick = FindEvent(103);
    ASSERT_NE(nullptr, childClick);
    EXPECT_EQ(1, childClick->itemIndex);
    EXPECT_EQ(101u, childClick->controlId);
    EXPECT_EQ(1001, childClick->childId);
    EXPECT_EQ("spy", childClick->childClass);

    host_.Clear();
    Mouse(WM_MOUSEMOVE, 50, 20 + 250);
    EXPECT_EQ((std::vector<int>{101, 21, 106, 26}), ListEvents())
        << "new item hovered, then the old item left";
    Mouse(WM_RBUTTONDOWN, 50, 20 + 250);
    Mouse(WM_RBUTTONUP, 50, 20 + 250);
    Mouse(WM_LBUTTONDBLCLK, 50, 20 + 250);
    host_.Clear();
    list_->SendControlMessage(WM_MOUSELEAVE);
    EXPECT_EQ((std::vector<int>{106, 26}), ListEvents());
    EXPECT_FALSE(Has(Item(2).State(), ControlState::kHover));
}

TEST_F(ListWindowTest, ChildrenWithoutIdReportOnlyListEventsAndDisabledItemsTakeNoPress) {
    Load(List("",
              "<listitem id=\"5\" height=\"100\"><spy pos=\"0,0,-0,-0\"/></listitem>"
              "<listitem id=\"6\" height=\"100\"/>"));
    Mouse(WM_LBUTTONDOWN, 50, 20 + 50, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 50, 20 + 50);
    EXPECT_EQ((std::vector<int>{22, 23}), ListEvents());
    host_.Clear();
    Item(1).ModifyState(ControlState::kDisabled, ControlState::kNone);
    Mouse(WM_LBUTTONDOWN, 50, 20 + 150, MK_LBUTTON);
    EXPECT_FALSE(Has(Item(1).State(), ControlState::kPushed));
    EXPECT_TRUE(ListEvents().empty());
}

TEST_F(ListWindowTest, MessageWindowMapsRepaintsAndForwardsTheRest) {
    CBkListWnd& list = Load(List("", Items(10, 100)));
    HWND messages = list.MessageWindow();
    ASSERT_NE(nullptr, messages);
    wchar_t name[32] = {};
    ::GetClassNameW(messages, name, 32);
    EXPECT_STREQ(L"bkmsgwnd", name);
    EXPECT_EQ(messages, Spy(0).Host()) << "children talk to the message window";

    // An item's child asks for a repaint of its own (item-relative) rectangle.
    Spy(1).RequestRepaint();
    ASSERT_FALSE(host_.Records().empty());
    const test::RecordedNotify& repaint = host_.Records().back();
    EXPECT_EQ(static_cast<UINT>(kNotifyRepaint), repaint.code);
    EXPECT_EQ((RECT{10, 120, 310, 220}), repaint.rect) << "mapped to host coordinates";
    host_.Clear();
    Spy(3).RequestRepaint();
    EXPECT_TRUE(host_.Records().empty()) << "item 3 only touches the list's bottom edge";
    Wheel(-120);
    host_.Clear();
    Spy(3).RequestRepaint();
    ASSERT_EQ(1u, host_.Records().size());
    EXPECT_EQ((RECT{10, 255, 310, 320}), host_.Records().back().rect) << "clipped to the list";

    // Other notifications pass through unchanged.
    host_.Clear();
    BkNotify other = {};
    other.hdr.code = kNotifyClick;
    other.controlId = 42;
    ::SendMessageW(messages, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&other));
    ASSERT_EQ(1u, host_.Records().size());
    EXPECT_EQ(42u, host_.Records().back().controlId);

    const LRESULT index = list.SendControlMessage(kMsgListItemIndex, Item(3).Handle());
    EXPECT_EQ(3, LOWORD(index));
    EXPECT_EQ(3, HIWORD(index));
    EXPECT_EQ(-1, static_cast<std::int32_t>(list.SendControlMessage(kMsgListItemIndex, 0)));
    EXPECT_EQ(-1,
              static_cast<std::int32_t>(list.SendControlMessage(kMsgListItemIndex, list.Handle())));
}

TEST_F(ListWindowTest, HoverSendsTheHoveredChildsTip) {
    CBkListWnd& list = Load(List("", Items(3, 100)));
    Mouse(WM_MOUSEMOVE, 50, 20 + 50);
    EXPECT_EQ(L"child", list.GetToolTipText());
    EXPECT_EQ(&Item(0), list.HoverChild());
    EXPECT_EQ(&Spy(0), Item(0).HoverChild());
}

TEST_F(ListWindowTest, AForeignScrollTagLeavesNoBarAndReorderNeedsAPermutation) {
    CBkListWnd& list = Load(List("scrollclass=\"listitem\" externline=\"0\"", Items(10, 100)));
    EXPECT_EQ(nullptr, list.ScrollBar());
    Wheel(-120);
    EXPECT_EQ(0, list.ScrollPosition());
    EXPECT_EQ(300, Item(0).Rect().right);

    const std::int32_t first = Item(0).Handle();
    EXPECT_FALSE(list.ReorderItems({0, 1}));
    EXPECT_FALSE(list.ReorderItems({0, 0, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(list.ReorderItems({9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(first, Item(9).Handle());
    EXPECT_EQ(900, Item(9).Rect().top);
}

TEST_F(ListWindowTest, PaintsItemsClippedToTheListAndTheThumb) {
    Load(
        List(
            "crbg=\"FFFFFF\"",
            "<listitem height=\"250\" crbg=\"E5484D\"/><listitem height=\"250\" crbg=\"2F6BFF\"/>"),
        100, 300);
    test::Canvas canvas(200, 400, RGB(0, 255, 0));
    list_->RedrawRegion(canvas.Dc(), nullptr);
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(5, 5)) << "outside the list";
    EXPECT_EQ(RGB(0xE5, 0x48, 0x4D), canvas.At(20, 30));
    EXPECT_EQ(RGB(0x2F, 0x6B, 0xFF), canvas.At(20, 20 + 299)) << "second item cut at the bottom";
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(20, 20 + 300)) << "nothing below the list";
    // Track colour beside the thumb and the thumb's own colour (200/255 over the track).
    EXPECT_TRUE(test::ColorNear(RGB(0xD8, 0xE0, 0xE4), canvas.At(10 + 95, 20 + 250), 2));
    const COLORREF thumb = canvas.At(10 + 95, 20 + 60);
    EXPECT_TRUE(test::ColorNear(RGB(0x83, 0xC2, 0xF8), thumb, 6));

    // Scrolled by one notch, a partial region repaints only the part asked for.
    Wheel(-120);
    canvas.Fill(RGB(0, 255, 0));
    ScopedRegion region(::CreateRectRgn(10, 20, 110, 120));
    ::SelectClipRgn(canvas.Dc(), region.Get());
    list_->RedrawRegion(canvas.Dc(), region.Get());
    ::SelectClipRgn(canvas.Dc(), nullptr);
    EXPECT_EQ(RGB(0xE5, 0x48, 0x4D), canvas.At(20, 30));
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(20, 20 + 250)) << "outside the region";
}

TEST_F(ListWindowTest, ThumbTakesTheBarsColoursAndEnds) {
    Load(List("", Items(10, 100)), 100, 300);
    const auto thumbAt = [this](int y) {
        test::Canvas canvas(200, 400, RGB(0, 0, 0));
        list_->RedrawRegion(canvas.Dc(), nullptr);
        return canvas.At(10 + 95, 20 + y);
    };
    const COLORREF green = RGB(0, 0xC0, 0);
    Bar().SetAttribute("color_bar", "FF00C000", false);
    EXPECT_TRUE(test::ColorNear(green, thumbAt(40), 2));
    EXPECT_FALSE(test::ColorNear(green, thumbAt(3), 60)) << "square ends stop half a width in";
    Bar().SetAttribute("rectanglebar", "0", false);
    EXPECT_TRUE(test::ColorNear(green, thumbAt(3), 60)) << "round ends reach further";

    Mouse(WM_MOUSEMOVE, 10 + 95, 20 + 40);
    EXPECT_TRUE(test::ColorNear(RGB(0x6E, 0xB5, 0xFF), thumbAt(40), 2)) << "hover colour";
    Bar().SetAttribute("color_bar_hv", "0xFF", false);
    EXPECT_TRUE(test::ColorNear(RGB(0xD8, 0xE0, 0xE4), thumbAt(40), 2))
        << "a prefix is not hexadecimal: no thumb over the track";
}

TEST_F(ListWindowTest, HiddenItemsTakeNoRoomAndAreNotHit) {
    CBkListWnd& list = Load(List("",
                                 "<listitem id=\"1\" height=\"100\"/>"
                                 "<listitem id=\"2\" height=\"100\" show=\"0\"/>"
                                 "<listitem id=\"3\" height=\"100\"/>"));
    EXPECT_EQ(200, list.ContentSize());
    EXPECT_EQ(100, Item(2).Rect().top) << "the hidden item leaves no gap";
    EXPECT_FALSE(Item(1).InView());
    EXPECT_EQ(&Item(2), list.HitTestChildren(POINT{50, 150}));
    list.MakeItemVisible(2);
    EXPECT_EQ(0, list.ScrollPosition()) << "everything fits";
}

TEST(ListSmoothScrollTest, StepsShrinkNearTheEnd) {
    EXPECT_EQ(30, ListSmoothScroll::NextStep(32));
    EXPECT_EQ(15, ListSmoothScroll::NextStep(31));
    EXPECT_EQ(10, ListSmoothScroll::NextStep(12));
    EXPECT_EQ(5, ListSmoothScroll::NextStep(5)) << "cut to the remainder";
    EXPECT_EQ(0, ListSmoothScroll::NextStep(0));
    EXPECT_EQ(0, ListSmoothScroll::NextStep(-4));
}

TEST_F(ListWindowTest, SmoothScrollTicksUntilTheTotalAndStopsWithoutABar) {
    CBkListWnd& list = Load(List("", Items(10, 100)));
    list.StartSmoothScroll(100, true);
    EXPECT_TRUE(list.SmoothScrolling());
    std::vector<int> positions;
    for (int i = 0; i < 10 && list.SmoothScrolling(); ++i) {
        ::SendMessageW(list.MessageWindow(), WM_TIMER, ListSmoothScroll::kTimerId, 0);
        positions.push_back(list.ScrollPosition());
    }
    EXPECT_EQ((std::vector<int>{30, 60, 90, 100}), positions);
    EXPECT_EQ(-100, Item(0).Rect().top);

    list.StartSmoothScroll(500, false);
    Bar().ModifyState(ControlState::kHidden, ControlState::kNone);
    ::SendMessageW(list.MessageWindow(), WM_TIMER, ListSmoothScroll::kTimerId, 0);
    EXPECT_FALSE(list.SmoothScrolling()) << "a hidden bar ends the scroll";
    EXPECT_EQ(100, list.ScrollPosition());
}

}  // namespace
}  // namespace velora
