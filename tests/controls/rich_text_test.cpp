#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "base/gdi_scopes.h"
#include "controls/rich_text2_window.h"
#include "controls/rich_text_controls.h"
#include "controls/rich_text_gdi_graphics.h"
#include "controls/rich_text_graphics.h"
#include "controls/rich_text_layout.h"
#include "markup/font_pool.h"
#include "markup/style_pool.h"
#include "tests/support/load_control.h"
#include "tests/support/markup_sources.h"
#include "tests/support/test_canvas.h"
#include "tests/support/test_host_window.h"
#include "ui/notification.h"

namespace velora {
namespace {

using test::LoadControl;

constexpr float kCharHeight = 14;

// Measures with fixed widths per character (10 unless `widths` says
// otherwise) and counts the measurements.
class FakeGraphics : public IRichTextGraphics {
  public:
    using Widths = std::function<float(wchar_t)>;
    explicit FakeGraphics(Widths widths = nullptr, UINT textMode = 0, bool wholePixels = false)
        : widths_(std::move(widths)), textMode_(textMode), wholePixels_(wholePixels) {}

    void DrawString(const wchar_t*, int, const RichRect&) override {}
    RichTextExtent MeasureString(const wchar_t* text, int length) override {
        ++measurements;
        measuredCharacters += length;
        float width = 0;
        for (int i = 0; i < length; ++i) {
            width += widths_ ? widths_(text[i]) : 10.0f;
        }
        return RichTextExtent{width, kCharHeight};
    }
    void FillBackground(const RichRect&) override {}
    HDC Dc() const override { return nullptr; }
    bool WholePixels() const override { return wholePixels_; }
    UINT TextMode() const override { return textMode_; }

    int measurements = 0;
    long long measuredCharacters = 0;

  private:
    Widths widths_;
    UINT textMode_;
    bool wholePixels_;
};

RichTextFlow Box(float left, float right, float lineHeight = 20, float top = 0) {
    RichTextFlow flow;
    flow.left = left;
    flow.right = right;
    flow.top = top;
    flow.lineHeight = lineHeight;
    flow.x = left;
    flow.y = top;
    return flow;
}

// A style table for one test, checked to load.
class Styles : public test::ScopedStyleTable {
  public:
    explicit Styles(const std::string& classes) : ScopedStyleTable(classes) {
        EXPECT_TRUE(Loaded());
    }
};

// Places a control at `rect` the way its container does.
void Place(CBkWindow& control, const RECT& rect) {
    WINDOWPOS placement = {};
    placement.x = rect.left;
    placement.y = rect.top;
    placement.cx = rect.right - rect.left;
    placement.cy = rect.bottom - rect.top;
    control.SendControlMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&placement));
}

// A rich text at `rect` whose runs measure with fixed widths.
std::unique_ptr<CBkRichText2Wnd> FakeRichText(const std::string& children, const RECT& rect,
                                              FakeGraphics::Widths widths = nullptr) {
    // Sized by its container: whatever rectangle it is placed at.
    auto control =
        LoadControl<CBkRichText2Wnd>("<richtext2 pos=\"0,0,-0,-0\">" + children + "</richtext2>");
    // Text at the top of its line keeps the expected rectangles simple.
    control->SetGraphicsFactory([widths](HDC, const BkStyle&, ControlState) {
        return std::make_unique<FakeGraphics>(widths, DT_SINGLELINE, false);
    });
    Place(*control, rect);
    return control;
}

const CBkRichtextObj& TextRun(const CBkRichText2Wnd& control, std::size_t index) {
    return dynamic_cast<const CBkRichtextObj&>(*control.Object(index));
}

// ---- The flow on its own -------------------------------------------------

TEST(RichTextFlowTest, OffsetsMoveAlongTheLineAndWrapOntoFollowingLines) {
    RichTextFlow flow = Box(10, 540);  // 530 wide
    FlowOffset(flow, 170);
    EXPECT_FLOAT_EQ(180, flow.x);
    EXPECT_FLOAT_EQ(0, flow.y);

    flow = Box(10, 540);
    FlowOffset(flow, 600);
    EXPECT_FLOAT_EQ(10 + 70, flow.x);
    EXPECT_FLOAT_EQ(20, flow.y);

    flow = Box(10, 540);
    flow.x = 500;  // 490 in, plus 600: two lines further, 30 in
    FlowOffset(flow, 600);
    EXPECT_FLOAT_EQ(10 + 30, flow.x);
    EXPECT_FLOAT_EQ(40, flow.y);
}

TEST(RichTextFlowTest, BreaksStartNewLinesAndTwoLeaveAnEmptyOne) {
    RichTextFlow flow = Box(5, 100, 22, 7);
    flow.x = 60;
    FlowBreak(flow);
    FlowBreak(flow);
    EXPECT_FLOAT_EQ(5, flow.x);
    EXPECT_FLOAT_EQ(7 + 44, flow.y);
}

TEST(RichTextFlowTest, OffsetInABoxWithoutWidthChangesNothing) {
    for (float right : {10.0f, 4.0f}) {  // empty, and narrower than nothing
        RichTextFlow flow = Box(10, right);
        FlowOffset(flow, 170);
        EXPECT_FLOAT_EQ(10, flow.x);
        EXPECT_FLOAT_EQ(0, flow.y);
        EXPECT_TRUE(std::isfinite(flow.x) && std::isfinite(flow.y));
    }
}

TEST(RichTextFlowTest, WholePixelRunsRoundUpAndNeverRestartOnTheSameLine) {
    RichTextFlow flow = Box(0, 530);
    flow.x = 100.25f;
    FlowStartOnWholePixel(flow);
    EXPECT_FLOAT_EQ(101, flow.x);
    EXPECT_FLOAT_EQ(0, flow.y);

    flow.x = 529.5f;  // rounds onto the right edge: the next line, not over this one
    FlowStartOnWholePixel(flow);
    EXPECT_FLOAT_EQ(0, flow.x);
    EXPECT_FLOAT_EQ(20, flow.y);
}

TEST(RichTextFlowTest, FittingPlacesTheStringByTheVerticalTextMode) {
    const RichRect line = {0, 100, 530, 122};
    const RichTextExtent extent = {40, 14};
    RichRect top = FitMeasuredString(extent, line, DT_SINGLELINE);
    EXPECT_FLOAT_EQ(40, top.right);
    EXPECT_FLOAT_EQ(100, top.top);
    EXPECT_FLOAT_EQ(114, top.bottom);
    RichRect centred = FitMeasuredString(extent, line, DT_VCENTER | DT_SINGLELINE);
    EXPECT_FLOAT_EQ(104, centred.top);
    EXPECT_FLOAT_EQ(118, centred.bottom);
    RichRect bottom = FitMeasuredString(extent, line, DT_BOTTOM | DT_SINGLELINE);
    EXPECT_FLOAT_EQ(108, bottom.top);
    EXPECT_FLOAT_EQ(122, bottom.bottom);
    // Taller than the line: from the top whatever the mode.
    RichRect tall = FitMeasuredString({40, 30}, line, DT_BOTTOM);
    EXPECT_FLOAT_EQ(100, tall.top);
    EXPECT_FLOAT_EQ(130, tall.bottom);
}

TEST(RichTextFlowTest, ARunThatExactlyFillsTheLineEndsIt) {
    FakeGraphics graphics;
    RichTextFlow flow = Box(0, 100);
    const auto pieces = FlowRunPieces(L"0123456789", graphics, flow);
    ASSERT_EQ(1u, pieces.size());
    EXPECT_FLOAT_EQ(100, pieces[0].rect.right);
    EXPECT_EQ(10u, pieces[0].count);
    EXPECT_FLOAT_EQ(0, flow.x);
    EXPECT_FLOAT_EQ(20, flow.y);

    const auto next = FlowRunPieces(L"ab", graphics, flow);
    ASSERT_EQ(1u, next.size());
    EXPECT_FLOAT_EQ(0, next[0].rect.left);
    EXPECT_FLOAT_EQ(20, next[0].rect.top);
}

TEST(RichTextFlowTest, RunsWrapByCharacterFromThePen) {
    FakeGraphics graphics;
    RichTextFlow flow = Box(0, 100);
    flow.x = 75;
    const auto pieces = FlowRunPieces(L"abcdefghijklmnop", graphics, flow);
    // 2 characters fit after 75, then 10 per line.
    ASSERT_EQ(3u, pieces.size());
    EXPECT_EQ(2u, pieces[0].count);
    EXPECT_FLOAT_EQ(95, pieces[0].rect.right);
    EXPECT_EQ(10u, pieces[1].count);
    EXPECT_FLOAT_EQ(20, pieces[1].rect.top);
    EXPECT_EQ(4u, pieces[2].count);
    EXPECT_FLOAT_EQ(40, pieces[2].rect.top);
    EXPECT_FLOAT_EQ(40, flow.x);
    EXPECT_FLOAT_EQ(40, flow.y);
}

TEST(RichTextFlowTest, ACharacterWiderThanTheBoxIsPlacedAloneOnItsLine) {
    FakeGraphics graphics([](wchar_t c) { return c == L'W' ? 80.0f : 10.0f; });
    RichTextFlow flow = Box(0, 50);
    const auto pieces = FlowRunPieces(L"aWb", graphics, flow);
    ASSERT_EQ(3u, pieces.size());
    EXPECT_FLOAT_EQ(0, pieces[0].rect.top);
    EXPECT_EQ(1u, pieces[1].start);
    EXPECT_FLOAT_EQ(0, pieces[1].rect.left);
    EXPECT_FLOAT_EQ(20, pieces[1].rect.top);
    EXPECT_FLOAT_EQ(50, pieces[1].rect.right);  // cut to the box
    EXPECT_FLOAT_EQ(40, pieces[2].rect.top);
    EXPECT_FLOAT_EQ(0, pieces[2].rect.left);
}

// Every case below used to loop for ever or divide by zero.
TEST(RichTextFlowTest, PlacingAlwaysMakesProgress) {
    struct Case {
        const char* name;
        float left, right;
        FakeGraphics::Widths widths;
        std::size_t pieces;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"zero-width characters", 0, 100, [](wchar_t) { return 0.0f; }, 1},
        {"empty box", 50, 50, nullptr, 6},
        {"empty box, zero widths", 50, 50, [](wchar_t) { return 0.0f; }, 1},
        {"inverted box", 50, 20, nullptr, 6},
        {"box narrower than every character", 0, 5, nullptr, 6},
        {"unmeasurable characters", 0, 100, [nan](wchar_t) { return nan; }, 6},
    };
    for (const Case& c : cases) {
        FakeGraphics graphics(c.widths);
        for (RichTextFit fit : {RichTextFit::kLinear, RichTextFit::kBinarySearch}) {
            RichTextFlow flow = Box(c.left, c.right);
            const auto pieces = FlowRunPieces(L"abcdef", graphics, flow, fit);
            EXPECT_EQ(c.pieces, pieces.size()) << c.name;
            std::size_t placed = 0;
            for (const RichTextPiece& piece : pieces) {
                EXPECT_EQ(placed, piece.start) << c.name;
                EXPECT_GE(piece.count, 1u) << c.name;
                placed += piece.count;
            }
            EXPECT_EQ(6u, placed) << c.name;
        }
    }
}

TEST(RichTextFlowTest, BinarySearchFitGivesTheLinearPiecesWithFewerMeasurements) {
    // Widths from a fixed sequence, several boxes and starting points.
    auto widths = [](wchar_t c) { return static_cast<float>(4 + (c * 7919) % 13); };
    std::wstring text;
    for (int i = 0; i < 700; ++i) {
        text += static_cast<wchar_t>(0x4E00 + (i * 31) % 500);
    }
    int linearMeasurements = 0;
    int binaryMeasurements = 0;
    for (float right : {13.0f, 97.0f, 100.0f, 530.0f}) {
        for (float start : {0.0f, 24.0f, 60.0f}) {
            FakeGraphics linear(widths);
            FakeGraphics binary(widths);
            RichTextFlow a = Box(0, right);
            RichTextFlow b = Box(0, right);
            a.x = b.x = std::min(start, right - 1);
            const auto expected = FlowRunPieces(text, linear, a, RichTextFit::kLinear);
            const auto actual = FlowRunPieces(text, binary, b, RichTextFit::kBinarySearch);
            ASSERT_EQ(expected.size(), actual.size()) << right << " " << start;
            for (std::size_t i = 0; i < expected.size(); ++i) {
                EXPECT_EQ(expected[i].start, actual[i].start);
                EXPECT_EQ(expected[i].count, actual[i].count);
                EXPECT_FLOAT_EQ(expected[i].rect.left, actual[i].rect.left);
                EXPECT_FLOAT_EQ(expected[i].rect.right, actual[i].rect.right);
                EXPECT_FLOAT_EQ(expected[i].rect.top, actual[i].rect.top);
            }
            EXPECT_FLOAT_EQ(a.x, b.x);
            EXPECT_FLOAT_EQ(a.y, b.y);
            linearMeasurements += linear.measurements;
            binaryMeasurements += binary.measurements;
        }
    }
    EXPECT_LT(binaryMeasurements * 5, linearMeasurements);
}

TEST(RichTextFlowTest, IndentedParagraphsTakeAboutThreeMeasurementsALine) {
    // Like the licence text: one run per paragraph after an indent, and
    // lines that end a few pixels short of the box's edge.
    FakeGraphics graphics;
    RichTextFlow flow = Box(0, 535);
    for (int paragraph = 0; paragraph < 12; ++paragraph) {
        FlowOffset(flow, 24);
        FlowRunPieces(std::wstring(150 + 37 * paragraph, L'x'), graphics, flow);
        FlowBreak(flow);
    }
    // Two to find where a line ends, one to see that the rest of it is too
    // short for the next character.
    const int lines = static_cast<int>(flow.y / flow.lineHeight);
    EXPECT_LE(graphics.measurements, 3 * lines + 12) << lines << " lines";
}

TEST(RichTextFlowTest, AnUnbrokenRunIsMeasuredInTimeLinearInItsLength) {
    // A quadratic placement measures each line's rest again: for this run
    // that is thousands of times its length.
    const std::wstring digits(160000, L'7');
    for (float right : {7.0f, 600.0f, 5000.0f}) {
        FakeGraphics graphics;
        RichTextFlow flow = Box(0, right);
        const auto pieces = FlowRunPieces(digits, graphics, flow);
        ASSERT_FALSE(pieces.empty());
        EXPECT_EQ(digits.size(), pieces.back().start + pieces.back().count) << right;
        EXPECT_LT(graphics.measuredCharacters, 20LL * static_cast<long long>(digits.size()))
            << right;
    }
}

// ---- The control with measured-by-rule runs -------------------------------

TEST(RichText2Test, LoadsTextBreakAndOffsetChildrenInOrder) {
    auto control = LoadControl<CBkRichText2Wnd>(
        "<richtext2 checkdcvieworg=\"1\">"
        "<text id=\"7\" notifymsg=\"1\" class=\"agree_text\" adjust=\"3\">"
        "\xE7\x94\xA8\xE6\x88\xB7\xE5\x8D\x8F\xE8\xAE\xAE</text>"
        "<img/><break/><offset length=\"24\" id=\"8\"/><text>plain</text></richtext2>");
    ASSERT_EQ(4u, control->ObjectCount());
    EXPECT_TRUE(control->IsLayoutNeeded());
    EXPECT_EQ(1, control->CheckDcViewOrigin());
    const CBkRichtextObj& run = TextRun(*control, 0);
    EXPECT_EQ(L"\u7528\u6237\u534F\u8BAE", run.Text());
    EXPECT_EQ(7, run.Id());
    EXPECT_EQ(1, run.NotifyEnabled());
    EXPECT_EQ("agree_text", run.StyleName());
    EXPECT_TRUE(control->Object(1)->IsClass("break"));
    EXPECT_TRUE(control->Object(2)->IsClass("offset"));
    EXPECT_EQ(0, control->Object(2)->NotifyEnabled());  // id without notifymsg
    EXPECT_EQ(0, control->Object(3)->NotifyEnabled());
    EXPECT_FALSE(control->Object(3)->IsClass("offset"));
}

TEST(RichText2Test, AgreementTitleIsPushedRightAndParagraphsAreIndented) {
    auto control = FakeRichText(
        "<offset length=\"170\"/><text>TITLE</text><break/>"
        "<offset length=\"24\"/><text>abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz"
        "abcdefghij</text><break/><break/><offset length=\"600\"/><text>x</text>",
        RECT{10, 5, 540, 400});
    control->LayOut(nullptr);
    const auto& title = TextRun(*control, 1).Pieces();
    ASSERT_EQ(1u, title.size());
    EXPECT_FLOAT_EQ(180, title[0]->GetRect().left);
    EXPECT_FLOAT_EQ(5, title[0]->GetRect().top);
    EXPECT_EQ(L"TITLE", title[0]->Text());

    const auto& paragraph = TextRun(*control, 4).Pieces();
    ASSERT_EQ(2u, paragraph.size());  // 50 characters after the indent, 12 below
    EXPECT_FLOAT_EQ(34, paragraph[0]->GetRect().left);
    EXPECT_FLOAT_EQ(25, paragraph[0]->GetRect().top);
    EXPECT_EQ(50u, paragraph[0]->Text().size());
    EXPECT_FLOAT_EQ(10, paragraph[1]->GetRect().left);
    EXPECT_FLOAT_EQ(45, paragraph[1]->GetRect().top);

    // Two breaks leave line 85 empty; 600 wraps to the next line, 70 in.
    const auto& last = TextRun(*control, 8).Pieces();
    ASSERT_EQ(1u, last.size());
    EXPECT_FLOAT_EQ(80, last[0]->GetRect().left);
    EXPECT_FLOAT_EQ(105, last[0]->GetRect().top);
    EXPECT_FLOAT_EQ(125, control->ContentBottom());
    EXPECT_FALSE(control->IsLayoutNeeded());
}

TEST(RichText2Test, ContentBottomIsOneLineBelowTheLastLineWithTheDefaultSpacing) {
    // Third line: y = top + 40, so the bottom is top + 60.
    auto control = FakeRichText("<text>ab</text><break/><text>cd</text><break/><text>ef</text>",
                                RECT{0, 30, 200, 300});
    control->LayOut(nullptr);
    EXPECT_FLOAT_EQ(30 + 60, control->ContentBottom());
}

TEST(RichText2Test, StyleMarginsLineSpacingAndAdjustShapeTheLayout) {
    Styles styles(
        "<class name=\"box\" x-margin=\"8\" y-margin=\"4\" linespacing=\"30\"/>"
        "<class name=\"body\" textmode=\"24\"/>");
    auto control = LoadControl<CBkRichText2Wnd>(
        "<richtext2 class=\"box\" pos=\"0,0,116,200\">"
        "<text class=\"body\" adjust=\"2\">abcdefghijkl</text></richtext2>");
    control->SetGraphicsFactory([](HDC, const BkStyle& style, ControlState) {
        return std::make_unique<FakeGraphics>(nullptr, style.textMode);
    });
    Place(*control, RECT{0, 0, 116, 200});
    control->LayOut(nullptr);
    const auto& pieces = TextRun(*control, 0).Pieces();
    ASSERT_EQ(2u, pieces.size());
    EXPECT_FLOAT_EQ(8, pieces[0]->GetRect().left);
    EXPECT_FLOAT_EQ(108, pieces[0]->GetRect().right);  // exactly the box: the line ends
    // Centred in a 30 line ((30 - 14) / 2 = 8), then moved down by 2.
    EXPECT_FLOAT_EQ(4 + 8 + 2, pieces[0]->GetRect().top);
    EXPECT_FLOAT_EQ(4 + 30 + 8 + 2, pieces[1]->GetRect().top);
    EXPECT_FLOAT_EQ(4 + 30 + 30, control->ContentBottom());
}

TEST(RichText2Test, ALongDocumentLaysOutEveryParagraph) {
    std::string children;
    std::vector<std::size_t> lengths;
    for (int i = 0; i < 200; ++i) {
        const std::size_t length = 20 + (i * 37) % 140;
        lengths.push_back(length);
        children += "<offset length=\"24\"/><text>" + std::string(length, 'a') + "</text><break/>";
    }
    auto control = FakeRichText(children, RECT{0, 0, 530, 300});
    control->LayOut(nullptr);
    float y = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const auto& pieces = TextRun(*control, 3 * i + 1).Pieces();
        // 50 characters fit after the indent, 53 on each following line.
        const std::size_t rest = lengths[i] > 50 ? lengths[i] - 50 : 0;
        const std::size_t lines = 1 + (rest + 52) / 53;
        ASSERT_EQ(lines, pieces.size()) << "paragraph " << i;
        EXPECT_FLOAT_EQ(24, pieces[0]->GetRect().left) << "paragraph " << i;
        std::size_t characters = 0;
        for (std::size_t line = 0; line < pieces.size(); ++line) {
            EXPECT_FLOAT_EQ(y + 20 * line, pieces[line]->GetRect().top) << "paragraph " << i;
            EXPECT_LE(pieces[line]->GetRect().right, 530);
            characters += pieces[line]->Text().size();
        }
        EXPECT_EQ(lengths[i], characters);
        // A paragraph that fills its last line exactly leaves an empty one.
        const bool exact = rest > 0 && rest % 53 == 0;
        y += 20 * (lines + (exact ? 1 : 0));
    }
    EXPECT_FLOAT_EQ(y + 20, control->ContentBottom());
}

TEST(RichText2Test, NewTextOrANewSizeAsksForLayoutAgain) {
    auto control = FakeRichText("<text>abc</text>", RECT{0, 0, 100, 100});
    control->LayOut(nullptr);
    Place(*control, RECT{0, 0, 100, 100});
    EXPECT_FALSE(control->IsLayoutNeeded());
    Place(*control, RECT{0, 0, 20, 100});
    EXPECT_TRUE(control->IsLayoutNeeded());
    control->LayOut(nullptr);
    EXPECT_EQ(2u, TextRun(*control, 0).Pieces().size());

    control->Object(0)->SetText(L"z");
    EXPECT_TRUE(control->IsLayoutNeeded());
    EXPECT_TRUE(TextRun(*control, 0).Pieces().empty());
}

TEST(RichText2Test, ARunWithoutGraphicsHasNoPieces) {
    auto control = FakeRichText("<text>abc</text>", RECT{0, 0, 100, 100});
    control->SetGraphicsFactory([](HDC, const BkStyle&, ControlState) { return nullptr; });
    control->LayOut(nullptr);
    EXPECT_TRUE(TextRun(*control, 0).Pieces().empty());
    EXPECT_FLOAT_EQ(20, control->ContentBottom());
}

// ---- Input ----------------------------------------------------------------

LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

std::vector<std::pair<UINT, UINT>> Events(const test::TestHostWindow& host) {
    std::vector<std::pair<UINT, UINT>> events;
    for (const auto& record : host.Records()) {
        if (record.code != kNotifyRepaint) {
            EXPECT_EQ(kHostNotifySource, record.wParam);
            EXPECT_EQ(kHostNotifySource, record.source);
            events.push_back({record.code, record.controlId});
        }
    }
    return events;
}

class RichTextInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Run 11 on x 0-30, run 12 on x 30-60, run 13 (no notifymsg) on 60-90.
        control_ = FakeRichText(
            "<text id=\"11\" notifymsg=\"1\">abc</text><text id=\"12\" notifymsg=\"1\">def</text>"
            "<text id=\"13\">ghi</text>",
            RECT{0, 0, 200, 100});
        control_->SetContainer(host_.Handle());
        control_->LayOut(nullptr);
    }
    void Send(UINT message, LPARAM point = 0) { control_->SendControlMessage(message, 0, point); }

    test::TestHostWindow host_;
    std::unique_ptr<CBkRichText2Wnd> control_;
};

TEST_F(RichTextInputTest, MovesReportHoverEveryTimeAndLeaveWhenTheObjectChanges) {
    Send(WM_MOUSEMOVE, At(5, 10));
    Send(WM_MOUSEMOVE, At(6, 10));
    EXPECT_EQ(ControlState::kHover, control_->Object(0)->State());
    Send(WM_MOUSEMOVE, At(35, 10));
    EXPECT_EQ(ControlState::kNone, control_->Object(0)->State());
    EXPECT_EQ(ControlState::kHover, control_->Object(1)->State());
    Send(WM_MOUSEMOVE, At(65, 10));  // a run that does not notify is not hit
    Send(WM_MOUSEMOVE, At(5, 50));   // below the text
    const std::vector<std::pair<UINT, UINT>> expected = {{kNotifyHover, 11},
                                                         {kNotifyHover, 11},
                                                         {kNotifyHover, 12},
                                                         {kNotifyLeave, 11},
                                                         {kNotifyLeave, 12}};
    EXPECT_EQ(expected, Events(host_));
    EXPECT_EQ(ControlState::kNone, control_->Object(1)->State());
}

TEST_F(RichTextInputTest, AClickIsReportedOnlyWhenReleasedOverTheObjectThatTookThePress) {
    Send(WM_LBUTTONDOWN, At(5, 10));
    EXPECT_EQ(ControlState::kPushed, control_->Object(0)->State());
    Send(WM_MOUSEMOVE, At(35, 10));  // ignored while pressed
    Send(WM_LBUTTONUP, At(35, 10));
    EXPECT_EQ(ControlState::kNone, control_->Object(0)->State());
    EXPECT_TRUE(Events(host_).empty());

    Send(WM_LBUTTONDOWN, At(35, 10));
    Send(WM_LBUTTONUP, At(36, 11));
    Send(WM_LBUTTONDOWN, At(5, 10));
    Send(WM_LBUTTONUP, At(5, 50));  // released below the text
    Send(WM_LBUTTONUP, At(5, 10));  // nothing pressed
    const std::vector<std::pair<UINT, UINT>> expected = {{kNotifyClick, 12}};
    EXPECT_EQ(expected, Events(host_));
}

TEST_F(RichTextInputTest, LeavingTheControlForgetsBothObjectsSilently) {
    Send(WM_MOUSEMOVE, At(5, 10));
    Send(WM_LBUTTONDOWN, At(5, 10));
    host_.Clear();
    Send(WM_MOUSELEAVE);
    EXPECT_EQ(ControlState::kNone, control_->Object(0)->State());
    EXPECT_TRUE(Events(host_).empty());
    Send(WM_LBUTTONUP, At(5, 10));
    EXPECT_TRUE(Events(host_).empty()) << "the press is forgotten";
    Send(WM_MOUSEMOVE, At(35, 10));
    const std::vector<std::pair<UINT, UINT>> expected = {{kNotifyHover, 12}};
    EXPECT_EQ(expected, Events(host_)) << "and the hover: no second leave";
}

TEST(RichText2Test, AHoverLookChangeRepaintsTheWholeControl) {
    Styles styles(
        "<class name=\"link\" crtext=\"0000FF\" crhover=\"FF0000\"/>"
        "<class name=\"same\" crtext=\"0000FF\" crhover=\"0000FF\"/>");
    test::TestHostWindow host;
    auto control = FakeRichText(
        "<text class=\"link\">abc</text><text class=\"same\" id=\"3\" notifymsg=\"1\">d</text>",
        RECT{0, 0, 200, 100});
    control->SetContainer(host.Handle());
    control->LayOut(nullptr);
    EXPECT_TRUE(control->Object(0)->NeedsRepaintOnHover());
    EXPECT_FALSE(control->Object(1)->NeedsRepaintOnHover());

    control->SendControlMessage(WM_MOUSEMOVE, 0, At(5, 10));  // hit: it changes look
    ASSERT_EQ(1u, host.Records().size());
    EXPECT_EQ(static_cast<UINT>(kNotifyRepaint), host.Records()[0].code);
    EXPECT_EQ(0, host.Records()[0].rect.left);
    EXPECT_EQ(200, host.Records()[0].rect.right);
    host.Clear();
    control->SendControlMessage(WM_MOUSEMOVE, 0, At(32, 10));  // leaves it, enters "same"
    ASSERT_EQ(2u, host.Records().size());
    EXPECT_EQ(static_cast<UINT>(kNotifyHover), host.Records()[0].code);
    EXPECT_EQ(static_cast<UINT>(kNotifyRepaint), host.Records()[1].code);
    EXPECT_EQ(0u, host.Records()[1].controlId);
    EXPECT_EQ(ControlState::kNone, control->Object(0)->State());
}

// ---- Real measurements and painting -------------------------------------

const wchar_t kAgreement[] =
    L"\u5728\u4F7F\u7528\u672C\u8F6F\u4EF6\u4E4B\u524D\uFF0C\u8BF7\u60A8\u52A1\u5FC5\u4ED4\u7EC6"
    L"\u9605\u8BFB\u5E76\u7406\u89E3\u672C\u534F\u8BAE\u7684\u5168\u90E8\u5185\u5BB9\u3002Velora "
    L"\u5C06\u4E25\u683C\u4FDD\u62A4\u60A8\u7684\u4E2A\u4EBA\u4FE1\u606F\uFF0C\u672A\u7ECF\u60A8"
    L"\u7684\u540C\u610F\u4E0D\u4F1A\u5411\u4EFB\u4F55\u7B2C\u4E09\u65B9\u63D0\u4F9B\u3002";

TEST(RichTextGdiTest, BothFitsGiveTheSamePiecesWithRealMeasurements) {
    ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
    for (std::uint32_t code : {0x0000u, 0x0404u, 0x0300u}) {
        RichTextLook look;
        look.font = BkFontPool::Instance().GetFont(code);
        CRichTextGdiGraphics graphics(dc.Get(), DT_SINGLELINE | DT_VCENTER, look);
        for (float right : {37.0f, 200.0f, 530.0f}) {
            RichTextFlow a = Box(0, right, 22);
            RichTextFlow b = Box(0, right, 22);
            a.x = b.x = 24;
            const auto expected = FlowRunPieces(kAgreement, graphics, a, RichTextFit::kLinear);
            const auto actual = FlowRunPieces(kAgreement, graphics, b, RichTextFit::kBinarySearch);
            ASSERT_EQ(expected.size(), actual.size()) << code << " " << right;
            for (std::size_t i = 0; i < expected.size(); ++i) {
                EXPECT_EQ(expected[i].start, actual[i].start);
                EXPECT_EQ(expected[i].count, actual[i].count);
                EXPECT_FLOAT_EQ(expected[i].rect.right, actual[i].rect.right);
                EXPECT_LE(actual[i].rect.right, right);
            }
            EXPECT_GT(expected.size(), 1u);
        }
    }
}

TEST(RichTextGdiTest, TheGdiBackEndPutsTheDcBackAndMeasuresLikeGdi) {
    ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
    HGDIOBJ font = ::GetCurrentObject(dc.Get(), OBJ_FONT);
    ::SetTextColor(dc.Get(), RGB(1, 2, 3));
    {
        const Styles styles("<class name=\"t\" crtext=\"336699\" font=\"0100\"/>");
        const BkStyle& style = BkStylePool::Instance().Get("t");
        auto graphics = CreateRichTextGraphics(dc.Get(), style, ControlState::kNone);
        ASSERT_NE(nullptr, graphics);
        EXPECT_TRUE(graphics->WholePixels());
        EXPECT_EQ(RGB(0x33, 0x66, 0x99), ::GetTextColor(dc.Get()));
        SIZE expected = {};
        ::GetTextExtentPoint32W(dc.Get(), L"Velora", 6, &expected);
        const RichTextExtent extent = graphics->MeasureString(L"Velora", 6);
        EXPECT_FLOAT_EQ(static_cast<float>(expected.cx), extent.width);
        EXPECT_GT(extent.width, 0);
    }
    EXPECT_EQ(font, ::GetCurrentObject(dc.Get(), OBJ_FONT));
    EXPECT_EQ(RGB(1, 2, 3), ::GetTextColor(dc.Get()));
}

TEST(RichTextGdiTest, TheLookFollowsTheStateWithFallbacks) {
    const Styles styles(
        "<class name=\"s\" crtext=\"111111\" crhover=\"222222\" crbg=\"333333\" "
        "crbghover=\"444444\" font=\"0100\" hoverfont=\"0102\"/><class name=\"bare\"/>");
    BkStylePool& pool = BkStylePool::Instance();
    BkFontPool& fonts = BkFontPool::Instance();
    const RichTextLook plain = ChooseRichTextLook(pool.Get("s"), ControlState::kNone);
    EXPECT_EQ(RGB(0x11, 0x11, 0x11), plain.text);
    EXPECT_EQ(RGB(0x33, 0x33, 0x33), plain.background);
    EXPECT_EQ(fonts.GetFont(0x0100), plain.font);
    const RichTextLook pushed = ChooseRichTextLook(pool.Get("s"), ControlState::kPushed);
    EXPECT_EQ(RGB(0x22, 0x22, 0x22), pushed.text);
    EXPECT_EQ(RGB(0x44, 0x44, 0x44), pushed.background);
    EXPECT_EQ(fonts.GetFont(0x0102), pushed.font);
    const RichTextLook disabled =
        ChooseRichTextLook(pool.Get("s"), ControlState::kDisabled | ControlState::kHover);
    EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), disabled.text);
    EXPECT_EQ(fonts.GetFont(0), disabled.font);
    EXPECT_EQ(kNoColor, disabled.background);
    const RichTextLook bare = ChooseRichTextLook(pool.Get("bare"), ControlState::kHover);
    EXPECT_EQ(RGB(0, 0, 0), bare.text);
    EXPECT_EQ(kNoColor, bare.background);
}

// Rows of `canvas` inside [top, bottom) holding a pixel of `ink` (within 60).
int InkedRows(const test::Canvas& canvas, int top, int bottom, COLORREF ink) {
    int rows = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (test::ColorNear(ink, canvas.At(x, y), 60)) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

TEST(RichTextGdiTest, PaintDrawsThePiecesInsideTheControlAndTheClip) {
    for (const char* gdiplus : {"0", "1"}) {
        const Styles styles(std::string("<class name=\"body\" crtext=\"000000\" font=\"0000\" "
                                        "textmode=\"24\" linespacing=\"22\" gdiplus=\"") +
                            gdiplus + "\" crbg=\"00FF00\"/>");
        std::string xml =
            "<richtext2 pos=\"10,10,210,200\"><offset length=\"24\"/><text "
            "class=\"body\">";
        for (int i = 0; i < 3; ++i) {
            xml +=
                "\xE5\x9C\xA8\xE4\xBD\xBF\xE7\x94\xA8\xE6\x9C\xAC\xE8\xBD\xAF\xE4\xBB\xB6"
                "\xE4\xB9\x8B\xE5\x89\x8D\xEF\xBC\x8C\xE8\xAF\xB7\xE6\x82\xA8\xE5\x8A\xA1";
        }
        xml += "</text></richtext2>";
        auto control = LoadControl<CBkRichText2Wnd>(xml);
        Place(*control, RECT{10, 10, 210, 200});
        test::Canvas canvas(240, 220, RGB(255, 255, 255));
        ::SetBkMode(canvas.Dc(), TRANSPARENT);
        control->RedrawRegion(canvas.Dc(), nullptr);
        EXPECT_FALSE(control->IsLayoutNeeded());
        const auto& pieces = TextRun(*control, 1).Pieces();
        ASSERT_GE(pieces.size(), 2u) << gdiplus;
        // Every line has text, nothing is drawn outside the box.
        for (const auto& piece : pieces) {
            const RichRect& r = piece->GetRect();
            EXPECT_LE(r.right, 210.0f);
            EXPECT_GT(InkedRows(canvas, static_cast<int>(r.top), static_cast<int>(r.bottom),
                                RGB(0, 0, 0)),
                      3)
                << gdiplus;
        }
        for (int y = 0; y < canvas.Height(); ++y) {
            EXPECT_EQ(RGB(255, 255, 255), canvas.At(215, y)) << y;
        }
        // The background of the pieces is filled.
        EXPECT_TRUE(test::ColorNear(RGB(0, 255, 0),
                                    canvas.At(static_cast<int>(pieces[0]->GetRect().left) + 1,
                                              static_cast<int>(pieces[0]->GetRect().top) + 1),
                                    8))
            << gdiplus;

        // With the DC clipped to the first line, the second is not painted.
        canvas.Fill(RGB(255, 255, 255));
        const int firstBottom = static_cast<int>(pieces[0]->GetRect().bottom);
        {
            ScopedClipRect clip(canvas.Dc(), RECT{0, 0, 240, firstBottom});
            control->RedrawRegion(canvas.Dc(), nullptr);
        }
        const RichRect& second = pieces[1]->GetRect();
        EXPECT_EQ(0, InkedRows(canvas, static_cast<int>(second.top),
                               static_cast<int>(second.bottom), RGB(0, 255, 0)))
            << gdiplus;
        // The clip the caller set is back.
        RECT box = {};
        EXPECT_EQ(SIMPLEREGION, ::GetClipBox(canvas.Dc(), &box));
    }
}

TEST(RichTextGdiTest, LayingOutOnTheScreenMeasuresTheContentHeight) {
    const Styles styles("<class name=\"body\" font=\"0000\" linespacing=\"22\"/>");
    std::string xml = "<richtext2 pos=\"0,0,300,100\">";
    for (int i = 0; i < 5; ++i) {
        xml += "<offset length=\"24\"/><text class=\"body\">paragraph</text><break/>";
    }
    xml += "</richtext2>";
    auto control = LoadControl<CBkRichText2Wnd>(xml);
    Place(*control, RECT{0, 0, 300, 100});
    control->LayOutOnScreenDc();
    EXPECT_FALSE(control->IsLayoutNeeded());
    // The window's style (empty) sets the line height: 5 breaks, then one line.
    EXPECT_FLOAT_EQ(6 * 20, control->ContentBottom());
}

// ---- The older inline-markup rich text -----------------------------------

TEST(InlineRichTextTest, FormattingNestsAndEveryItemKeepsItsPlace) {
    const std::string markup =
        "defaultfont=\"100\">A<b>B<i>C</i></b><s size=\"3\">D</s><g align=\"c\"><c "
        "color=\"FF0000\">E</c></g><a id=\"9\">F</a><o offset=\"1A\"/><br/>G<x>H</x>"
        "<color value=\"00FF00\">I</color><offset length=\"12\"/>";
    auto rich = LoadControl<CBkRichText>("<richtext " + markup + "</richtext>");
    const InlineRichDocument& document = rich->Document();
    using Kind = InlineRichRun::Kind;
    ASSERT_EQ(11u, document.runs.size());
    const std::wstring texts[] = {L"A", L"B", L"C", L"D", L"E", L"F", L"", L"", L"G", L"H", L"I"};
    for (std::size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(texts[i], document.runs[i].text) << i;
    }
    EXPECT_EQ(0x100u, document.runs[0].fontCode);
    EXPECT_EQ(0x104u, document.runs[1].fontCode);
    EXPECT_EQ(0x105u, document.runs[2].fontCode);
    EXPECT_EQ(0x300u, document.runs[3].fontCode);
    EXPECT_EQ(RGB(255, 0, 0), document.runs[4].color);
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER), document.runs[4].vAlign);
    EXPECT_EQ(static_cast<UINT>(DT_BOTTOM), document.runs[5].vAlign);
    EXPECT_EQ(0, document.runs[5].link);
    EXPECT_EQ(-1, document.runs[8].link);
    EXPECT_EQ(std::vector<int>{9}, document.linkIds);
    EXPECT_EQ(Kind::kOffset, document.runs[6].kind);
    EXPECT_EQ(0x1A, document.runs[6].offset);
    EXPECT_EQ(Kind::kBreak, document.runs[7].kind);
    // "color" and "offset" are richtextex's own: here only their text stays.
    EXPECT_EQ(kNoColor, document.runs[10].color);

    auto extended = LoadControl<CBkRichTextEx>("<richtextex " + markup + "</richtextex>");
    const InlineRichDocument& ex = extended->Document();
    ASSERT_EQ(12u, ex.runs.size());
    EXPECT_EQ(RGB(0, 255, 0), ex.runs[10].color);
    EXPECT_EQ(Kind::kOffset, ex.runs[11].kind);
    EXPECT_EQ(12, ex.runs[11].offset);
}

TEST(InlineRichTextTest, RunsWrapByCharacterAndBreaksAdvanceByTheLineSpacing) {
    const Styles styles("<class name=\"r\" linespacing=\"24\" x-margin=\"4\"/>");
    auto rich = LoadControl<CBkRichText>(
        "<richtext class=\"r\" pos=\"0,0,-0,-0\" adjustpos=\"1\">"
        "<o offset=\"10\"/>aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa<br/>b</richtext>");
    Place(*rich, RECT{0, 0, 108, 200});
    ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
    rich->LayOut(dc.Get());
    const auto& pieces = rich->Pieces();
    ASSERT_GE(pieces.size(), 3u);
    EXPECT_FLOAT_EQ(4 + 16, pieces[0].rect.left);
    float lastTop = -1;
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        EXPECT_LE(pieces[i].rect.right, 104.0f);
        EXPECT_GT(pieces[i].rect.top, lastTop);  // one piece per line
        lastTop = pieces[i].rect.top;
    }
    const auto& b = pieces.back();
    EXPECT_EQ(L"b", b.text);
    EXPECT_FLOAT_EQ(4, b.rect.left);
    // The line after the last "a" line (two when that line was filled
    // exactly); text sits at the bottom of its line, moved down by 1.
    const auto& last = pieces[pieces.size() - 2];
    const float lines = last.rect.right == 104.0f ? 2.0f : 1.0f;
    EXPECT_FLOAT_EQ(last.rect.bottom + 24 * lines, b.rect.bottom);
    EXPECT_FLOAT_EQ(b.rect.bottom - 1, rich->ContentBottom());
}

TEST(InlineRichTextTest, LinksShowTheirHoverLookAndReportClicks) {
    const Styles styles("<class name=\"lnk\" crtext=\"0000FF\" crhover=\"FF0000\"/>");
    test::TestHostWindow host;
    auto rich = LoadControl<CBkRichText>(
        "<richtext linkclass=\"lnk\" pos=\"0,0,-0,-0\" crtext=\"000000\">"
        "go <a id=\"42\">\xE5\x8D\x8F\xE8\xAE\xAE\xE5\x8D\x8F\xE8\xAE\xAE</a></richtext>");
    Place(*rich, RECT{0, 0, 200, 40});
    rich->SetContainer(host.Handle());
    test::Canvas canvas(200, 40, RGB(255, 255, 255));
    ::SetBkMode(canvas.Dc(), TRANSPARENT);
    rich->RedrawRegion(canvas.Dc(), nullptr);
    ASSERT_EQ(2u, rich->Pieces().size());
    const RichRect link = rich->Pieces()[1].rect;
    auto inkOf = [&](COLORREF color) { return InkedRows(canvas, 0, canvas.Height(), color) > 0; };
    EXPECT_TRUE(inkOf(RGB(0, 0, 255)));
    EXPECT_FALSE(inkOf(RGB(255, 0, 0)));

    const LPARAM over = MAKELPARAM(static_cast<int>(link.left) + 2, static_cast<int>(link.top) + 2);
    rich->SendControlMessage(WM_MOUSEMOVE, 0, over);
    ASSERT_EQ(1u, host.Records().size());
    EXPECT_EQ(static_cast<UINT>(kNotifyRepaint), host.Records()[0].code);
    canvas.Fill(RGB(255, 255, 255));
    rich->RedrawRegion(canvas.Dc(), nullptr);
    EXPECT_TRUE(inkOf(RGB(255, 0, 0)));

    host.Clear();
    rich->SendControlMessage(WM_LBUTTONDOWN, 0, over);
    rich->SendControlMessage(WM_LBUTTONUP, 0, MAKELPARAM(1, 1));  // released on plain text
    rich->SendControlMessage(WM_LBUTTONDOWN, 0, over);
    rich->SendControlMessage(WM_LBUTTONUP, 0, over);
    ASSERT_EQ(1u, host.Records().size());
    EXPECT_EQ(static_cast<UINT>(kNotifyClick), host.Records()[0].code);
    EXPECT_EQ(42u, host.Records()[0].controlId);
    EXPECT_EQ("a", host.Records()[0].classTag);

    rich->SendControlMessage(WM_MOUSELEAVE);
    canvas.Fill(RGB(255, 255, 255));
    rich->RedrawRegion(canvas.Dc(), nullptr);
    EXPECT_FALSE(inkOf(RGB(255, 0, 0))) << "leaving drops the hover look";
}

}  // namespace
}  // namespace velora
