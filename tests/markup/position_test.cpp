#include "markup/position.h"

#include <gtest/gtest.h>

#include <bitset>
#include <climits>
#include <iterator>
#include <random>
#include <string>

namespace velora {
namespace {

RECT Rect(LONG left, LONG top, LONG right, LONG bottom) {
    return RECT{left, top, right, bottom};
}

std::string Str(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// What the base control answers: the list's own size for four items, else
// its content.
SizeQuestion BaseAnswer(const ControlPosition& position, SIZE content) {
    return [&position, content](std::int32_t width, std::int32_t height) {
        return position.list.count == 4 ? FourItemSize(position.list, width, height) : content;
    };
}

ControlPosition Parsed(const char* pos) {
    ControlPosition position;
    ParsePos(pos, position);
    return position;
}

RECT Anchor(const char* pos, const RECT& area, SIZE content = {0, 0}) {
    const ControlPosition position = Parsed(pos);
    return AnchorChild(area, position, BaseAnswer(position, content));
}

TEST(PosParseTest, PrefixesModesAndTheirOrder) {
    const ControlPosition p = Parsed("-200,|-48,|7,-0");
    ASSERT_EQ(4, p.list.count);
    const PositionItem* it = p.list.items;
    EXPECT_TRUE(!it[0].centre && it[0].farEdge && it[0].offset == 200);
    EXPECT_TRUE(it[1].centre && it[1].farEdge && it[1].offset == 48);
    EXPECT_TRUE(it[2].centre && !it[2].farEdge && it[2].offset == 7);
    EXPECT_TRUE(!it[3].centre && it[3].farEdge && it[3].offset == 0);

    // A centre mark after the minus is no digit: the offset reads as 0.
    const PositionItem swapped = Parsed("-|20,0").list.items[0];
    EXPECT_TRUE(!swapped.centre && swapped.farEdge && swapped.offset == 0);
    // After the far-edge minus the number keeps its own sign.
    EXPECT_EQ(605, Anchor("--5,0", Rect(0, 0, 600, 300)).left);

    // A usable list replaces fixed and full modes but leaves the float bits.
    ControlPosition q;
    q.flags = kWidthFixed | kHeightFull | kFloating;
    ParsePos("1,2", q);
    EXPECT_EQ(kWidthContent | kHeightContent | kFloating, q.flags);
}

TEST(PosParseTest, OddCountsAreDroppedButKeepWhatTheyWrote) {
    ControlPosition one;
    one.flags = kWidthFixed | kHeightFixed;
    ParsePos("-30", one);
    EXPECT_EQ(0, one.list.count);
    EXPECT_EQ(kWidthFixed | kHeightFixed, one.flags) << "an unusable list leaves the modes";
    EXPECT_EQ(0, Parsed("5,6,7").list.count);

    // The written items still anchor the control.
    EXPECT_EQ("570,0,586,16", Str(Anchor("-30", Rect(0, 0, 600, 300), {16, 16})));
    EXPECT_EQ("5,6,21,22", Str(Anchor("5,6,7", Rect(0, 0, 600, 300), {16, 16})));
    EXPECT_EQ(0, Parsed("0,0,").list.count) << "a trailing comma starts a third item";
}

TEST(PosParseTest, FifthItemAndTrailingTextIgnored) {
    const ControlPosition five = Parsed("1,2,3,4,5");
    EXPECT_EQ(4, five.list.count);
    EXPECT_EQ(4, five.list.items[3].offset);
    EXPECT_EQ(4, Parsed("1,2,3,4,").list.count);

    const ControlPosition junk = Parsed("12px,  7,x9,3 4");
    ASSERT_EQ(4, junk.list.count);
    EXPECT_EQ(12, junk.list.items[0].offset);
    EXPECT_EQ(0, junk.list.items[1].offset) << "no leading blanks";
    EXPECT_EQ(3, junk.list.items[3].offset);
}

TEST(PosParseTest, EmptyOrAbsentValueKeepsPreviousList) {
    ControlPosition p = Parsed("206,30,400,74");
    p.flags |= kFlowing;
    const ControlPosition before = p;
    ParsePos("", p);
    ParsePos(nullptr, p);
    EXPECT_EQ(4, p.list.count);
    EXPECT_EQ(400, p.list.items[2].offset);
    EXPECT_EQ(before.flags, p.flags);
}

TEST(SizeAttributeTest, FullIsCaseSensitiveKeyword) {
    ControlPosition p;
    RECT r = Rect(0, 0, 99, 99);
    ReadWidth("full", p, r);
    EXPECT_EQ(kWidthFull, p.flags);
    EXPECT_EQ(0, r.right);
    ReadWidth("FULL", p, r);
    EXPECT_EQ(kWidthContent, p.flags) << "the keyword is lower case only";
    ReadHeight("full ", p, r);
    EXPECT_EQ(kWidthContent | kHeightContent, p.flags) << "exact match only";
}

TEST(SizeAttributeTest, PositiveIsFixedAnythingElseIsContent) {
    ControlPosition p;
    RECT r = {};
    ReadWidth("120", p, r);
    ReadHeight("40px", p, r);
    EXPECT_EQ(kWidthFixed | kHeightFixed, p.flags);
    EXPECT_TRUE(p.fixedWidth == 120 && p.fixedHeight == 40);
    EXPECT_EQ("0,0,120,40", Str(r));

    for (const char* text : {"-5", "0", "abc", static_cast<const char*>(nullptr)}) {
        ReadWidth(text, p, r);
        ReadHeight(text, p, r);
        EXPECT_EQ(kWidthContent | kHeightContent, p.flags) << (text ? text : "(absent)");
        EXPECT_EQ("0,0,0,0", Str(r));
    }
}

TEST(SizeAttributeTest, LoadSizesContentAxesOnlyWithoutUsableList) {
    int asked = 0;
    const SizeQuestion ask = [&asked](std::int32_t w, std::int32_t h) {
        ++asked;
        EXPECT_EQ(0, w);
        EXPECT_EQ(0, h);
        return SIZE{33, 17};
    };

    ControlPosition fixedWide;
    RECT r = {};
    LoadSizeAttributes("80", nullptr, "1", fixedWide, r, ask);
    EXPECT_EQ("0,0,80,17", Str(r));
    EXPECT_EQ(kWidthFixed | kHeightContent | kFloating, fixedWide.flags);
    EXPECT_EQ(1, asked);

    ControlPosition bothFixed;
    r = {};
    LoadSizeAttributes("80", "20", nullptr, bothFixed, r, ask);
    EXPECT_EQ("0,0,80,20", Str(r));
    EXPECT_EQ(1, asked) << "no content axis, no question";

    for (const char* pos : {"3,4", "0,0,-0,-0"}) {
        ControlPosition listed = Parsed(pos);
        r = Rect(0, 0, 5, 5);
        LoadSizeAttributes("80", "full", "1", listed, r, ask);
        EXPECT_EQ(kWidthContent | kHeightContent, listed.flags) << pos << ": a usable list skips";
        EXPECT_EQ("0,0,5,5", Str(r)) << pos;
    }

    ControlPosition odd = Parsed("3,4,5");
    r = {};
    LoadSizeAttributes("full", nullptr, nullptr, odd, r, ask);
    EXPECT_EQ(kWidthFull | kHeightContent | kFlowing, odd.flags);
    EXPECT_EQ("0,0,0,17", Str(r));
}

TEST(SizeAttributeTest, TextChangeRemeasuresFromTopLeft) {
    const SizeQuestion ask = [](std::int32_t, std::int32_t) { return SIZE{50, 12}; };
    RECT r = Rect(546, 15, 562, 31);
    RemeasureAfterTextChange(Parsed("-64,15"), r, ask);
    EXPECT_EQ("546,15,596,27", Str(r));

    r = Rect(0, 0, 610, 414);
    RemeasureAfterTextChange(Parsed("0,0,-0,-0"), r, ask);
    EXPECT_EQ("0,0,610,414", Str(r)) << "a four-item list owns its size";
}

TEST(ResolveTest, HalfLengthTruncatesTowardZero) {
    EXPECT_EQ("30,0,70,10", Str(Anchor("|-20,0,|20,10", Rect(0, 0, 101, 50))));
    // Reversed span: -101 / 2 is -50, not -51.
    EXPECT_EQ(51, ResolveItem(PositionItem{true, false, 0}, 101, 0));
}

TEST(AnchorTest, LayoutExamples) {
    EXPECT_EQ("546,15,562,31", Str(Anchor("-64,15", Rect(0, 0, 610, 279), {16, 16})));
    EXPECT_EQ("0,0,610,279", Str(Anchor("0,0,-0,-0", Rect(0, 0, 610, 279))));
    EXPECT_EQ("0,279,610,414", Str(Anchor("0,279,-0,-0", Rect(0, 0, 610, 414))));
    EXPECT_EQ("410,366,486,393", Str(Anchor("-200,-48,-124,-21", Rect(0, 0, 610, 414))));
    // Margins already taken off: everything is relative to the shrunk area.
    EXPECT_EQ("15,25,605,414", Str(Anchor("5,5,-5,-0", Rect(10, 20, 610, 414))));
}

TEST(AnchorTest, OffsetsOutsideParentAreNotClamped) {
    EXPECT_EQ("10,500,30,510", Str(Anchor("10,500", Rect(0, 0, 400, 300), {20, 10})));
    EXPECT_EQ("-50,-5,-30,5", Str(Anchor("-50,-5", Rect(0, 0, 0, 0), {20, 10})));
}

TEST(AnchorTest, FullAndFixedOverrideTheAnswer) {
    ControlPosition p;
    RECT r = {};
    LoadSizeAttributes("full", "30", nullptr, p, r, BaseAnswer(p, {16, 16}));
    const RECT area = Rect(10, 20, 410, 320);
    EXPECT_EQ("10,20,410,50", Str(AnchorChild(area, p, BaseAnswer(p, {16, 16}))));

    // Full stretches by the available width from the anchor, not to the area's edge.
    ParsePos("500,0,1", p);
    EXPECT_EQ("510,20,910,50", Str(AnchorChild(area, p, BaseAnswer(p, {16, 16}))));

    ControlPosition q;
    LoadSizeAttributes("full", "full", nullptr, q, r, {});
    ParsePos("-50", q);
    EXPECT_EQ("360,20,760,320", Str(AnchorChild(area, q, {})));
    // An inverted area (margins wider than the container) never ends before the start.
    EXPECT_EQ("-40,320,-40,320", Str(AnchorChild(Rect(410, 320, 10, 20), q, {})));
}

TEST(AnchorTest, ExtremeValuesSaturate) {
    EXPECT_EQ(INT_MAX, ResolveItem(PositionItem{false, true, INT_MIN}, 0, INT_MAX));
    EXPECT_EQ(-1, ResolveItem(PositionItem{true, false, 0}, INT_MIN, INT_MAX));

    const ControlPosition outward = Parsed("-99999999999,-99999999999,99999999999,99999999999");
    ASSERT_EQ(4, outward.list.count);
    EXPECT_EQ(INT_MAX, FourItemSize(outward.list, 0, 0).cx);
    EXPECT_EQ(INT_MAX, FourItemSize(outward.list, 0, 0).cy);
    const ControlPosition inward = Parsed("99999999999,0,-99999999999,0");
    EXPECT_EQ(INT_MIN, FourItemSize(inward.list, 0, 0).cx);

    EXPECT_EQ("2147483647,-2147483647,2147483647,-2147483648",
              Str(Anchor("99999999999,-99999999999", Rect(10, 0, 20, 0), {INT_MAX, INT_MIN})));

    ControlPosition wide;
    RECT r = {};
    LoadSizeAttributes("full", "2147483647", nullptr, wide, r, {});
    ParsePos("|0,99999999999,0", wide);
    EXPECT_EQ("-1,2147483647,2147483646,2147483647",
              Str(AnchorChild(Rect(INT_MIN, 0, INT_MAX, 10), wide, {})));

    const SizeQuestion hugeText = [](std::int32_t, std::int32_t) { return SIZE{INT_MAX, INT_MIN}; };
    r = Rect(INT_MAX - 1, INT_MIN + 1, 0, 0);
    RemeasureAfterTextChange(Parsed("1,1"), r, hugeText);
    EXPECT_EQ(INT_MAX, r.right);
    EXPECT_EQ(INT_MIN, r.bottom);
}

// Random and mutated input must never crash or break the flag invariants.
TEST(PositionRobustnessTest, RandomInputKeepsInvariants) {
    std::mt19937 rng(20240611u);
    auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    const std::string seeds[] = {"0,0,-0,-0", "-64,15", "|-20,0,|20,-0", "full", "1,2,3,4,5", ""};
    const std::string alphabet = "0123456789,,,||--- fulFUL\x80\xff\xe4\xbd\xa0";
    auto randomText = [&]() {
        switch (pick(4)) {
            case 0:  // a very long digit run, maybe signed
                return std::string(pick(2), '-') + std::string(1 + pick(400), '7');
            case 1:  // many commas
                return std::string(pick(300), ',');
            default: {  // a layout value with random bytes inserted or overwritten
                std::string s = seeds[pick(std::size(seeds))];
                for (std::size_t m = pick(2) ? pick(5) : pick(40); m > 0; --m) {
                    const char c = alphabet[pick(alphabet.size())];
                    if (s.empty() || pick(2)) {
                        s.insert(pick(s.size() + 1), 1, c);
                    } else {
                        s[pick(s.size())] = c;
                    }
                }
                return s;
            }
        }
    };
    auto coord = [&]() -> LONG {
        const LONG extremes[] = {INT_MIN, INT_MAX, static_cast<LONG>(rng())};
        return pick(2) ? extremes[pick(3)] : static_cast<LONG>(pick(2000)) - 1000;
    };

    ControlPosition p;
    for (int i = 0; i < 5000; ++i) {
        const std::string pos = randomText(), width = randomText(), height = randomText();
        if (pick(8) == 0) {
            p.flags = 0;  // as at the start of an element load
        }
        ParsePos(pos.c_str(), p);
        RECT rect = Rect(coord(), coord(), coord(), coord());
        const SizeQuestion ask = BaseAnswer(p, SIZE{coord(), coord()});
        LoadSizeAttributes(width.c_str(), height.c_str(), pos.c_str(), p, rect, ask);
        RemeasureAfterTextChange(p, rect, ask);
        const RECT placed = AnchorChild(Rect(coord(), coord(), coord(), coord()), p, ask);

        ASSERT_TRUE(p.list.count == 0 || p.list.count == 2 || p.list.count == 4) << pos;
        ASSERT_LE(std::bitset<32>(p.flags & kWidthModeMask).count(), 1u) << pos << " / " << width;
        ASSERT_LE(std::bitset<32>(p.flags & kHeightModeMask).count(), 1u) << pos << " / " << height;
        ASSERT_LE(std::bitset<32>(p.flags & (kFlowing | kFloating)).count(), 1u);
        ASSERT_EQ(0u, p.flags & ~(kWidthModeMask | kHeightModeMask | kFlowing | kFloating));
        ASSERT_TRUE(!(p.flags & kWidthFull) || placed.right >= placed.left);
        ASSERT_TRUE(!(p.flags & kHeightFull) || placed.bottom >= placed.top);
    }
}

}  // namespace
}  // namespace velora
