#include "controls/text_controls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/gdi_scopes.h"
#include "markup/font_pool.h"
#include "markup/style_pool.h"
#include "tests/support/load_control.h"
#include "tests/support/markup_sources.h"
#include "ui/text_painter.h"

namespace velora {
namespace {

using test::LoadControl;

const std::wstring kYaHei = L"\u5FAE\u8F6F\u96C5\u9ED1";
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Loads a style table for one test and puts the default-only pool back after.
class Styles {
  public:
    explicit Styles(const std::string& classes) {
        sources_.InMemory(kStyleTableId, "<style>" + classes + "</style>");
        EXPECT_TRUE(BkStylePool::Instance().Load(kStyleTableId));
    }
    ~Styles() { BkStylePool::Instance().Load(kStyleTableId + 100); }

  private:
    test::MarkupSources sources_;
};

// A white 32-bit top-down DIB selected into a memory DC.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<DWORD*>(bits);
        dc_.Reset(::CreateCompatibleDC(nullptr));
        selection_ = ScopedSelectObject(dc_.Get(), bitmap_.Get());
        ::SetBkMode(dc_.Get(), TRANSPARENT);
        Clear();
    }
    HDC Dc() const { return dc_.Get(); }
    void Clear() {
        ::GdiFlush();
        std::fill(pixels_, pixels_ + width_ * height_, 0xFFFFFFu);
    }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const DWORD p = pixels_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Rows [first, last] holding any non-white pixel; {-1, -1} when blank.
    std::pair<int, int> InkRows() const {
        std::pair<int, int> rows = {-1, -1};
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (At(x, y) != kWhite) {
                    if (rows.first < 0) {
                        rows.first = y;
                    }
                    rows.second = y;
                    break;
                }
            }
        }
        return rows;
    }
    bool Contains(COLORREF color) const {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (At(x, y) == color) {
                    return true;
                }
            }
        }
        return false;
    }

  private:
    int width_;
    int height_;
    DWORD* pixels_ = nullptr;
    ScopedBitmap bitmap_;
    ScopedMemoryDc dc_;
    ScopedSelectObject selection_;
};

// Places a control whose `pos` has four items at that rectangle.
template <typename Control>
void Place(Control& control) {
    WINDOWPOS placement = {};
    placement.cx = 400;
    placement.cy = 200;
    control.SendControlMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&placement));
}

// Restores the font pool's base after a test changed it.
class BaseFaceChange {
  public:
    explicit BaseFaceChange(const std::wstring& face)
        : face_(BkFontPool::Instance().BaseFace()), height_(BkFontPool::Instance().BaseHeight()) {
        BkFontPool::Instance().SetBaseFont(face, height_);
    }
    ~BaseFaceChange() { BkFontPool::Instance().SetBaseFont(face_, height_); }

  private:
    std::wstring face_;
    int height_;
};

TEST(TextCorrectionTest, YaHeiMovesBottomAndTopAlignedTextUp) {
    const RECT tall = {0, 0, 100, 20};
    RECT r = CorrectTextRect(tall, DT_BOTTOM | DT_SINGLELINE, kYaHei, 0, -12, true);
    EXPECT_EQ(-2, r.top) << "base font, bottom aligned: up by 2";
    EXPECT_EQ(18, r.bottom);
    r = CorrectTextRect(tall, DT_BOTTOM, L"Microsoft YaHei", 2, -12, false);
    EXPECT_EQ(-6, r.top) << "2·D + 2";
    r = CorrectTextRect(tall, DT_TOP, kYaHei, 2, -12, true);
    EXPECT_EQ(-9, r.top) << "3·D + 3 for top-aligned text";
    EXPECT_EQ(11, r.bottom);
    r = CorrectTextRect(tall, 0x25, kYaHei, 2, -12, true);
    EXPECT_TRUE(::EqualRect(&tall, &r)) << "vertically centred text stays";
    r = CorrectTextRect(tall, DT_BOTTOM, L"microsoft yahei", 0, -12, true);
    EXPECT_TRUE(::EqualRect(&tall, &r)) << "the face comparison is case-sensitive";
    r = CorrectTextRect(tall, DT_BOTTOM, L"SimSun", 0, -12, true);
    EXPECT_TRUE(::EqualRect(&tall, &r));
}

TEST(TextCorrectionTest, AutoFixGrowsAShortRectangle) {
    const RECT shortRect = {0, 10, 100, 20};
    RECT r = CorrectTextRect(shortRect, DT_BOTTOM, kYaHei, 0, -12, false);
    EXPECT_EQ(8, r.top);
    EXPECT_EQ(18, r.bottom) << "no fix without autofixtextrect";
    r = CorrectTextRect(shortRect, DT_BOTTOM, kYaHei, 0, -12, true);
    EXPECT_EQ(8, r.top);
    EXPECT_EQ(25, r.bottom) << "grown to H + 3·D + 4, then to the old top + H + D + 3";
    r = CorrectFixedFormatRect(shortRect, DT_TOP, kYaHei, 1, -12);
    EXPECT_EQ(4, r.top);
    EXPECT_EQ(23, r.bottom) << "fixed format: top + H + 3·D + 4";
    r = CorrectFixedFormatRect(shortRect, DT_VCENTER, kYaHei, 1, -12);
    EXPECT_TRUE(::EqualRect(&shortRect, &r));
}

TEST(GdiplusTextTest, FormatFollowsDrawFormatThenTextModeEx) {
    GdiplusTextFormat f = MakeGdiplusTextFormat(DT_CENTER | DT_VCENTER, 0);
    EXPECT_EQ(1, f.align);
    EXPECT_EQ(1, f.lineAlign);
    EXPECT_EQ(0, f.flags);
    EXPECT_EQ(-1, f.trimming) << "no ellipsis bit leaves the default trimming";
    f = MakeGdiplusTextFormat(DT_CENTER, 0x02 | 0x08 | 0x20);
    EXPECT_EQ(2, f.align) << "textmodeex overrides the draw format";
    EXPECT_EQ(2, f.lineAlign);
    EXPECT_EQ(0x2000, f.flags);
    f = MakeGdiplusTextFormat(0, 0x01 | 0x02 | 0x04);
    EXPECT_EQ(1, f.align) << "bit 0x01 comes after 0x02";
    EXPECT_EQ(1, f.lineAlign);
    EXPECT_EQ(3, MakeGdiplusTextFormat(DT_END_ELLIPSIS, 0).trimming);
    EXPECT_EQ(
        5,
        MakeGdiplusTextFormat(DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS, 0).trimming);
    EXPECT_EQ(4, MakeGdiplusTextFormat(DT_END_ELLIPSIS | DT_WORD_ELLIPSIS, 0).trimming);
}

TEST(GdiplusTextTest, AlphaPrefersTheControlAndNeverReaches255) {
    EXPECT_EQ(254, GdiplusTextAlpha(-1, 255));
    EXPECT_EQ(254, GdiplusTextAlpha(255, 10));
    EXPECT_EQ(10, GdiplusTextAlpha(-1, 10));
    EXPECT_EQ(0, GdiplusTextAlpha(0, 200));
    EXPECT_EQ(254, GdiplusTextAlpha(300, 200)) << "out of range does not wrap";
    EXPECT_EQ(0, GdiplusTextAlpha(-7, 200));
}

TEST(TextDcTest, ColourFontAndRectangleByStateAndRestoredAfter) {
    Styles styles(
        "<class name=\"s\" crtext=\"000080\" crhover=\"008000\" crdisabled=\"808080\" "
        "hoverfont=\"4\" x-margin=\"3\" y-margin=\"5\" crbg=\"102030\"/>");
    auto parent = LoadControl<CBkStatic>("<text/>");
    auto text = LoadControl<CBkStatic>("<text class=\"s\" pos=\"10,10,110,40\">x</text>");
    text->SetParentHandle(parent->Handle());
    Place(*text);
    Canvas canvas(8, 8);
    HDC dc = canvas.Dc();
    const COLORREF before = ::GetTextColor(dc);
    const HGDIOBJ fontBefore = ::GetCurrentObject(dc, OBJ_FONT);
    {
        ScopedTextDc prepared(dc, *text);
        EXPECT_EQ(RGB(0, 0, 0x80), ::GetTextColor(dc));
        EXPECT_EQ(RGB(0x10, 0x20, 0x30), ::GetBkColor(dc));
        const RECT expected = {3, 5, 97, 25};
        EXPECT_TRUE(::EqualRect(&expected, &prepared.TextRect())) << "margins on each side";
        EXPECT_EQ(BkFontPool::Instance().GetFont(0), ::GetCurrentObject(dc, OBJ_FONT));
    }
    EXPECT_EQ(before, ::GetTextColor(dc));
    EXPECT_EQ(fontBefore, ::GetCurrentObject(dc, OBJ_FONT));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc)) << "no skin: the mode is left alone";

    text->ModifyState(ControlState::kHover, ControlState::kNone);
    {
        ScopedTextDc prepared(dc, *text);
        EXPECT_EQ(RGB(0, 0x80, 0), ::GetTextColor(dc));
        EXPECT_EQ(BkFontPool::Instance().GetFont(4), ::GetCurrentObject(dc, OBJ_FONT));
    }
    parent->ModifyState(ControlState::kDisabled, ControlState::kNone);
    {
        ScopedTextDc prepared(dc, *text);
        EXPECT_EQ(RGB(0x80, 0x80, 0x80), ::GetTextColor(dc))
            << "a disabled parent wins over the child's hover";
        EXPECT_EQ(BkFontPool::Instance().GetFont(0), ::GetCurrentObject(dc, OBJ_FONT));
    }
}

TEST(TextPaintTest, DrawsTheTextInsideItsRectangleAndNothingWhenEmpty) {
    Styles styles("<class name=\"s\" crtext=\"0000FF\" textmode=\"24\"/>");
    auto text = LoadControl<CBkStatic>("<text class=\"s\" pos=\"0,0,60,30\">HHHH</text>");
    Place(*text);
    Canvas canvas(80, 40);
    text->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
    EXPECT_TRUE(canvas.Contains(RGB(0, 0, 0xFF)));
    const auto rows = canvas.InkRows();
    EXPECT_GE(rows.first, 0);
    EXPECT_LT(rows.second, 30);
    for (int y = 0; y < 40; ++y) {
        for (int x = 60; x < 80; ++x) {
            ASSERT_EQ(kWhite, canvas.At(x, y)) << "ink outside the control at " << x << "," << y;
        }
    }
    canvas.Clear();
    auto empty = LoadControl<CBkStatic>("<text class=\"s\" pos=\"0,0,60,30\"/>");
    Place(*empty);
    empty->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
    EXPECT_EQ(-1, canvas.InkRows().first);
}

TEST(TextPaintTest, YaHeiBaseFaceLiftsBottomAlignedTextByTwo) {
    Styles styles(
        "<class name=\"s\" crtext=\"000000\"/><class name=\"off\" yhresizedisable=\"1\"/>");
    // A font made before the base changes keeps its face and size (step 0).
    const HFONT font = BkFontPool::Instance().GetFont(kFontBold);
    auto text =
        LoadControl<CBkStatic>("<text class=\"s\" font=\"4\" pos=\"0,10,80,40\">HHH</text>");
    auto off =
        LoadControl<CBkStatic>("<text class=\"off\" font=\"4\" pos=\"0,10,80,40\">HHH</text>");
    ASSERT_EQ(font, text->OwnFont());
    Place(*text);
    Place(*off);
    Canvas canvas(80, 50);
    text->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
    const auto plain = canvas.InkRows();
    ASSERT_GE(plain.first, 0);
    BaseFaceChange change(kYaHei);
    canvas.Clear();
    text->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
    const auto lifted = canvas.InkRows();
    EXPECT_EQ(plain.first - 2, lifted.first);
    EXPECT_EQ(plain.second - 2, lifted.second);
    canvas.Clear();
    off->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
    EXPECT_EQ(plain, canvas.InkRows()) << "yhresizedisable=1 turns the correction off";
}

TEST(TextPaintTest, DrawFormatIsCachedUnlessForced) {
    auto text = LoadControl<CBkStatic>("<text class=\"s\" pos=\"0,0,40,20\">a</text>");
    auto forced = LoadControl<CBkStatic>(
        "<text class=\"s\" forceupdatestyle=\"1\" pos=\"0,0,40,20\">a</text>");
    Canvas canvas(40, 20);
    {
        Styles styles("<class name=\"s\" textmode=\"25\"/>");
        text->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
        forced->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
    }
    EXPECT_EQ(0x25u, text->CachedDrawFormat());
    Styles changed("<class name=\"s\" textmode=\"10\"/>");
    text->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
    forced->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
    EXPECT_EQ(0x25u, text->CachedDrawFormat()) << "a later style change is not picked up";
    EXPECT_EQ(0x10u, forced->CachedDrawFormat());
}

TEST(TextPaintTest, ShadowAndGdiplusPathsDraw) {
    Canvas canvas(80, 30);
    const RECT rect = {0, 0, 80, 30};
    ::SetTextColor(canvas.Dc(), RGB(0, 0, 0xFF));
    DrawTextWithShadow(canvas.Dc(), L"HHH", rect, DT_SINGLELINE, RGB(0, 0, 0xFF), RGB(1, 1, 1),
                       L"velora-no-such-library.dll");
    EXPECT_TRUE(canvas.Contains(RGB(0, 0, 0xFF))) << "falls back to plain drawing";

    Styles styles(
        "<class name=\"shadow\" shadow=\"1\" crtext=\"0000FF\"/>"
        "<class name=\"plus\" gdiplus=\"1\" crtext=\"FF0000\" textmode=\"25\"/>");
    auto shadowed = LoadControl<CBkStatic>("<text class=\"shadow\" pos=\"0,0,80,30\">HHH</text>");
    Place(*shadowed);
    canvas.Clear();
    shadowed->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
    EXPECT_NE(-1, canvas.InkRows().first);

    auto plus = LoadControl<CBkStatic>("<text class=\"plus\" pos=\"0,0,80,30\">HHH</text>");
    Place(*plus);
    canvas.Clear();
    plus->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
    const auto rows = canvas.InkRows();
    ASSERT_NE(-1, rows.first);
    EXPECT_GT(rows.first, 3) << "vertically centred by the string format";
    bool reddish = false;
    for (int y = rows.first; y <= rows.second; ++y) {
        for (int x = 0; x < 80; ++x) {
            const COLORREF c = canvas.At(x, y);
            reddish = reddish || (GetRValue(c) > 200 && GetGValue(c) < 100);
        }
    }
    EXPECT_TRUE(reddish) << "drawn in the DC's text colour";
}

SIZE Measure(CBkWindow& control, SIZE available) {
    control.SendControlMessage(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&available));
    return available;
}

TEST(TextMeasureTest, NaturalSizeIsTheTextPlusMargins) {
    Styles styles(
        "<class name=\"m\" x-margin=\"4\" y-margin=\"3\" textmode=\"25\"/>"
        "<class name=\"wrap\" textmode=\"10\"/><class name=\"plus\" gdipluscalctxt=\"1\"/>");
    auto empty = LoadControl<CBkStatic>("<text class=\"m\"/>");
    SIZE size = Measure(*empty, {300, 20});
    EXPECT_EQ(8, size.cx);
    EXPECT_EQ(6, size.cy);

    auto text = LoadControl<CBkStatic>("<text class=\"m\">Hello</text>");
    ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
    ScopedSelectObject font(dc.Get(), BkFontPool::Instance().GetFont(0));
    SIZE extent = {};
    ::GetTextExtentPoint32W(dc.Get(), L"Hello", 5, &extent);
    size = Measure(*text, {300, 20});
    EXPECT_EQ(extent.cx + 8, size.cx);
    EXPECT_EQ(extent.cy + 6, size.cy) << "alignment bits do not change the measure";

    auto wrapped = LoadControl<CBkStatic>(
        "<text class=\"wrap\">one two three four five six seven eight nine ten</text>");
    size = Measure(*wrapped, {60, 10});
    EXPECT_LE(size.cx, 60);
    EXPECT_GE(size.cy, 3 * extent.cy) << "wraps against an unbounded height";

    auto plus = LoadControl<CBkStatic>("<text class=\"plus\">Hello</text>");
    size = Measure(*plus, {300, 40});
    EXPECT_GT(size.cx, extent.cx / 2);
    EXPECT_LT(size.cx, extent.cx * 2);
    EXPECT_GT(size.cy, 0);

    auto fixed = LoadControl<CBkStatic>("<text class=\"m\" pos=\"0,0,30,12\">Hello</text>");
    size = Measure(*fixed, {300, 40});
    EXPECT_EQ(30, size.cx) << "a four-item pos is not measured";
    EXPECT_EQ(12, size.cy);
}

TEST(TextControlsTest, ButtonsAlwaysRepaintTextAndLinksOnlyWithHoverLooks) {
    Styles styles("<class name=\"hot\" crhover=\"FF0000\"/><class name=\"font\" hoverfont=\"2\"/>");
    EXPECT_TRUE(LoadControl<CBkButton>("<button/>")->RedrawOnStateChange());
    EXPECT_FALSE(LoadControl<CBkStatic>("<text/>")->RedrawOnStateChange());
    EXPECT_FALSE(LoadControl<CBkLink>("<link/>")->RedrawOnStateChange());
    EXPECT_TRUE(LoadControl<CBkLink>("<link class=\"hot\"/>")->RedrawOnStateChange());
    EXPECT_TRUE(LoadControl<CBkStatic>("<text class=\"font\"/>")->RedrawOnStateChange());
}

TEST(TextPaintTest, ManyPaintsLeakNoGdiObjects) {
    Styles styles(
        "<class name=\"a\" shadow=\"1\" hoverfont=\"6\" crbg=\"FFFFFF\"/>"
        "<class name=\"b\" gdiplus=\"1\" gdipluscalctxt=\"1\"/>");
    auto a = LoadControl<CBkStatic>("<text class=\"a\" pos=\"0,0,80,30\">HHH</text>");
    auto b = LoadControl<CBkButton>("<button class=\"b\" pos=\"0,0,80,30\">HHH</button>");
    auto c = LoadControl<CBkLink>("<link class=\"a\">HHH</link>");
    Canvas canvas(80, 30);
    auto round = [&] {
        for (CBkWindow* control : std::vector<CBkWindow*>{a.get(), b.get(), c.get()}) {
            control->ModifyState(ControlState::kHover, ControlState::kNone);
            control->SendControlMessage(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()));
            Measure(*control, {100, 30});
        }
    };
    round();  // fonts and GDI+ are made on first use
    const DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 40; ++i) {
        round();
    }
    EXPECT_EQ(before, ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
}

}  // namespace
}  // namespace velora
