// Controls draw their style's skin as background: the raw state bits for
// the base control, the state index for "dlgbtnEx2".
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "markup/skin_pool.h"
#include "markup/style_pool.h"
#include "markup/xml_document.h"
#include "tests/support/skin_test_support.h"
#include "ui/bk_container.h"

namespace velora {
namespace {

using test::Canvas;
using test::Columns;
using test::SkinSources;

constexpr UINT kSkins = 5360;
constexpr UINT kStyles = 5361;
using test::kPaper;

class SkinnedBackgroundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const UINT strip = sources_.Png(test::EncodePng(
            16, 2,
            Columns(2, {{4, 0xFFE00000}, {4, 0xFF00C000}, {4, 0xFF0000D0}, {4, 0xFF808080}})));
        sources_.Table(kSkins,
                       "<button name=\"face\"/>"
                       "<gradation name=\"flat\" from=\"FFFFFF\" to=\"000000\"/>"
                       "<png name=\"strip\" src=\"" +
                           std::to_string(strip) + "\" subwidth=\"4\"/>");
        ASSERT_TRUE(BkSkinObjectPool::Instance().Load(kSkins));
        WriteStyles(
            "<style><class name=\"pressable\" skin=\"face\"/><class name=\"still\" skin=\"flat\"/>"
            "<class name=\"missing\" skin=\"nope\" crbg=\"FF0000\"/>"
            "<class name=\"strip\" skin=\"strip\"/></style>");
    }
    void TearDown() override { BkStylePool::Instance().Load(kStyleTableId); }

    void WriteStyles(const std::string& table) {
        sources_.Document(kStyles, table);
        ASSERT_TRUE(BkStylePool::Instance().Load(kStyles));
    }

    // A control of type T loaded from `xml` and placed over (0, 0, 20, 20).
    template <typename T>
    std::unique_ptr<T> Make(const std::string& xml) {
        BkXmlDocument document;
        EXPECT_TRUE(document.Parse(xml, T::kTag));
        auto control = std::make_unique<T>();
        control->Load(document.Root());
        CBkContainerWnd::PlaceChild(control.get(), {0, 0, 20, 20});
        return control;
    }

    SkinSources sources_;
};

TEST_F(SkinnedBackgroundTest, ControlDrawsItsSkinWithTheStateBits) {
    auto control = Make<CBkDialog>("<dlg class=\"pressable\" pos=\"0,0,20,20\"/>");
    control->ModifyState(ControlState::kHover | ControlState::kPushed, ControlState::kNone);
    Canvas canvas(24, 24, kPaper);
    control->DrawBackground(canvas.Dc());
    EXPECT_EQ(RGB(0x70, 0x70, 0x70), canvas.At(0, 0));
    EXPECT_EQ(RGB(0xCE, 0xCE, 0xCE), canvas.At(2, 2)) << "pushed face from hover and pushed";
    EXPECT_EQ(kPaper, canvas.At(20, 20));
    EXPECT_TRUE(control->RedrawOnStateChange()) << "the button face changes with the state";
}

TEST_F(SkinnedBackgroundTest, UnknownSkinDrawsNothingAndStillSkinsDoNotRedraw) {
    auto missing = Make<CBkDialog>("<dlg class=\"missing\" pos=\"0,0,20,20\"/>");
    Canvas canvas(24, 24, kPaper);
    missing->DrawBackground(canvas.Dc());
    EXPECT_EQ(kPaper, canvas.At(5, 5)) << "no colour fallback for a named skin";
    EXPECT_FALSE(missing->RedrawOnStateChange());
    auto still = Make<CBkDialog>("<dlg class=\"still\" pos=\"0,0,20,20\"/>");
    EXPECT_FALSE(still->RedrawOnStateChange()) << "a gradation ignores the state";
}

TEST_F(SkinnedBackgroundTest, DialogButtonDrawsItsSkinByStateIndex) {
    auto button = Make<CBkDlgBtnEx2>("<dlgbtnEx2 class=\"strip\" pos=\"0,0,20,20\"/>");
    const struct {
        ControlState bits;
        COLORREF color;
    } cases[] = {{ControlState::kNone, RGB(0xE0, 0, 0)},
                 {ControlState::kHover, RGB(0, 0xC0, 0)},
                 {ControlState::kHover | ControlState::kPushed, RGB(0, 0, 0xD0)},
                 // disabled wins over pushed, which alone would be frame 2
                 {ControlState::kDisabled | ControlState::kPushed, RGB(0x80, 0x80, 0x80)}};
    for (const auto& c : cases) {
        button->ModifyState(ControlState::kNone, ~ControlState::kNone);
        button->ModifyState(c.bits, ControlState::kNone);
        Canvas canvas(24, 24, kPaper);
        button->DrawBackground(canvas.Dc());
        EXPECT_EQ(c.color, canvas.At(10, 1)) << "state bits " << static_cast<std::uint32_t>(c.bits);
    }
}

}  // namespace
}  // namespace velora
