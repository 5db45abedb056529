// Pictures that do not come from the skin pool: icons, GDI+ images passed by
// address and image files.
#include "controls/source_image_controls.h"

#include <gtest/gtest.h>

#include <string>

#include "base/gdi_scopes.h"
#include "markup/dib32.h"
#include "markup/image_pools.h"
#include "markup/value_parsers.h"
#include "tests/support/control_paint_support.h"
#include "tests/support/test_files.h"

namespace velora {
namespace {

using test::Canvas;
using test::ColorNear;
using test::Paint;
using test::PlacedControl;

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 16 x 16 opaque icon of one colour; the caller owns it.
HICON SolidIcon(COLORREF color) {
    Dib32 colour = Dib32::Create(16, 16);
    for (int i = 0; i < 16 * 16; ++i) {
        colour.Pixels()[i] =
            0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    }
    ScopedBitmap mask(::CreateBitmap(16, 16, 1, 1, nullptr));
    {
        ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
        ScopedSelectObject selected(dc.Get(), mask.Get());
        ::PatBlt(dc.Get(), 0, 0, 16, 16, BLACKNESS);  // black mask: every pixel opaque
    }
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmMask = mask.Get();
    info.hbmColor = colour.Handle();
    return ::CreateIconIndirect(&info);
}

std::string Number(const void* handle) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(handle));
}

bool IconAlive(HICON icon) {
    ICONINFO info = {};
    if (!::GetIconInfo(icon, &info)) {
        return false;
    }
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
    return true;
}

TEST(SourceImageControlsTest, IconHandleIsDrawnStretchedAndOwnedWithAutodel) {
    HICON icon = SolidIcon(RGB(0, 0x80, 0xFF));
    ASSERT_NE(nullptr, icon);
    {
        Canvas canvas(40, 40, kWhite);
        auto control = PlacedControl<CBkHIcon>(
            "<hicon pos=\"0,0,-0,-0\" autodel=\"1\" handle=\"" + Number(icon) + "\"/>",
            RECT{4, 4, 36, 36});
        Paint(*control, canvas);
        EXPECT_TRUE(ColorNear(RGB(0, 0x80, 0xFF), canvas.At(5, 5), 4));
        EXPECT_TRUE(ColorNear(RGB(0, 0x80, 0xFF), canvas.At(34, 34), 4)) << "stretched to 32";
        EXPECT_EQ(kWhite, canvas.At(36, 20));
        EXPECT_TRUE(IconAlive(icon));
    }
    EXPECT_FALSE(IconAlive(icon)) << "autodel: destroyed with the control";

    HICON kept = SolidIcon(RGB(0, 0, 0));
    {
        auto control =
            test::LoadControl<CBkHIcon>("<hicon handle=\"" + Number(kept) + "\" autodel=\"1\"/>");
        control->SetAttribute("autodel", "0", false);
    }
    EXPECT_TRUE(IconAlive(kept)) << "autodel switched off again gives the handle back";
    ::DestroyIcon(kept);
}

TEST(SourceImageControlsTest, SystemIconLoadsByOemNumber) {
    Canvas canvas(40, 40, kWhite);
    auto control = PlacedControl<CBkIconWnd>("<icon pos=\"0,0,-0,-0\" oem=\"32512\"/>",
                                             RECT{0, 0, 32, 32});  // IDI_APPLICATION
    ASSERT_NE(nullptr, control->LoadedIcon());
    Paint(*control, canvas);
    EXPECT_FALSE(canvas.SamePixels(Canvas(40, 40, kWhite)));

    auto sized = PlacedControl<CBkIconWnd>("<icon oem=\"32512\" size=\"24\"/>", RECT{0, 0, 99, 99});
    EXPECT_EQ(24, sized->Rect().right);
    EXPECT_EQ(24, sized->Rect().bottom);
    auto missing = PlacedControl<CBkIconWnd>(
        "<icon pos=\"0,0,-0,-0\" src=\"C:\\\\no\\\\such.ico\"/>", RECT{0, 0, 32, 32});
    EXPECT_EQ(nullptr, missing->LoadedIcon());
}

TEST(SourceImageControlsTest, StorageImageDrawsAFileScaledOrOneCell) {
    test::TempFolder folder(L"velora storage image");
    const std::wstring path = folder / L"cells.png";
    // Three 4-pixel cells: red, green, blue.
    test::WriteFileBytes(
        path, test::EncodePng(
                  12, 4, test::Columns(4, {{4, test::kRed}, {4, test::kGreen}, {4, test::kBlue}})));
    const std::string file = Utf16ToUtf8(path);
    Canvas canvas(40, 20, kWhite);
    auto whole = PlacedControl<CBkStorageImage>(
        "<storageimage pos=\"0,0,-0,-0\" filepath=\"" + file + "\"/>", RECT{0, 0, 24, 8});
    Paint(*whole, canvas);
    EXPECT_TRUE(ColorNear(test::kRedColor, canvas.At(2, 4), 8)) << "scaled: red first";
    EXPECT_TRUE(ColorNear(test::kBlueColor, canvas.At(22, 4), 8)) << "blue last";

    auto cell = PlacedControl<CBkStorageImage>(
        "<storageimage pos=\"0,0,-0,-0\" subwidth=\"4\" sub=\"4\" filepath=\"" + file + "\"/>",
        RECT{26, 0, 34, 8});
    Paint(*cell, canvas);
    EXPECT_TRUE(ColorNear(test::kGreenColor, canvas.At(30, 4), 8)) << "cell 4 wraps to 1";
}

TEST(SourceImageControlsTest, StorageImageWithoutAUsableFileDrawsNothing) {
    const Canvas blank(40, 20, kWhite);
    Canvas canvas(40, 20, kWhite);
    const RECT area = {0, 0, 40, 20};
    for (const std::string& attributes :
         {std::string("filepath=\"C:\\\\velora\\\\missing.png\""), std::string(""),
          "filepath=\"C:\\\\" + std::string(400, 'a') + ".png\"",
          std::string("filepath=\"C:\\\\windows\"")}) {
        auto control = PlacedControl<CBkStorageImage>(
            "<storageimage pos=\"0,0,-0,-0\" subwidth=\"3\" " + attributes + "/>", area);
        EXPECT_EQ(nullptr, control->Picture()) << attributes;
        Paint(*control, canvas);
        EXPECT_TRUE(canvas.SamePixels(blank)) << attributes;
    }

    test::TempFolder folder(L"velora storage image");
    const std::wstring junk = folder / L"junk.png";
    test::WriteFileBytes(junk, "not a picture at all");
    auto control = PlacedControl<CBkStorageImage>(
        "<storageimage pos=\"0,0,-0,-0\" filepath=\"" + Utf16ToUtf8(junk) + "\"/>", area);
    Paint(*control, canvas);
    EXPECT_TRUE(canvas.SamePixels(blank)) << "undecodable bytes";
}

TEST(SourceImageControlsTest, MemoryImageIsScaledToTheControl) {
    BkImage image = DecodeImage(test::EncodePng(2, 2, test::Argb(4, test::kGreen)));
    ASSERT_TRUE(image.image.IsValid());
    Canvas canvas(20, 20, kWhite);
    auto control = PlacedControl<CBkMemoryImage>(
        "<memimage pos=\"0,0,-0,-0\" mempointer=\"" + Number(image.image.Get()) + "\"/>",
        RECT{2, 2, 18, 18});
    Paint(*control, canvas);
    EXPECT_TRUE(ColorNear(test::kGreenColor, canvas.At(10, 10), 8));
    EXPECT_EQ(kWhite, canvas.At(19, 19));
}

}  // namespace
}  // namespace velora
