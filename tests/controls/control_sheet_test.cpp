// Draws the toggles, image buttons and bars in every state side by side on
// one sheet. With VELORA_SHEET set to a file path the sheet is written
// there as a BMP, to be looked at; otherwise it only has to draw.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "controls/image_controls.h"
#include "controls/progress_controls.h"
#include "controls/toggle_controls.h"
#include "tests/support/control_paint_support.h"
#include "tests/support/load_control.h"
#include "tests/support/test_files.h"

namespace velora {
namespace {

using test::LoadControl;
using test::PaintSetup;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kColumnWidth = 130;
constexpr int kRowHeight = 34;

struct SheetState {
    const char* name;
    ControlState bits;
};

const SheetState kStates[] = {
    {"normal", ControlState::kNone},
    {"hover", ControlState::kHover},
    {"pushed", ControlState::kHover | ControlState::kPushed},
    {"checked", ControlState::kChecked},
    {"checked hover", ControlState::kChecked | ControlState::kHover},
    {"disabled", ControlState::kDisabled},
    {"disabled checked", ControlState::kDisabled | ControlState::kChecked}};

void WriteSheet(const test::PaintCanvas& canvas, const char* path) {
    test::Argb pixels;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const COLORREF c = canvas.At(x, y);
            pixels.push_back(0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) |
                             GetBValue(c));
        }
    }
    const std::string bytes = test::EncodeBmp32(canvas.Width(), canvas.Height(), pixels);
    test::WriteFileBytes(std::wstring(path, path + std::strlen(path)), bytes);
}

TEST(ControlSheetTest, EveryStateOfEveryControlDraws) {
    PaintSetup setup;
    const std::string cells =
        setup.Picture(16, {{16, 0xFF3070D0}, {16, 0xFF4090F0}, {16, 0xFF205090}, {16, 0xFFB0B0B0}});
    const std::string icon = setup.Picture(6, {{6, 0xFFFFFFFF}});
    setup.Skins("<png name=\"cells\" src=\"" + cells + "\" subwidth=\"16\"/>" +
                "<png name=\"icon\" src=\"" + icon + "\"/>");
    setup.Styles(
        "<class name=\"t\" crtext=\"333333\" crhover=\"0060C0\" textmode=\"24\"/>"
        "<class name=\"p\" crtext=\"333333\" crbg=\"FFFFFF\"/>");

    const int rows = static_cast<int>(std::size(kStates));
    test::PaintCanvas canvas(kColumnWidth * 4, kRowHeight * (rows + 1) + 20, kWhite);
    // Positions give only the size; each control is placed in its cell below.
    const auto at = [](int width, int height) {
        return "0,0," + std::to_string(width) + "," + std::to_string(height);
    };
    std::vector<std::unique_ptr<CBkWindow>> controls;
    for (int row = 0; row < rows; ++row) {
        const std::string label = kStates[row].name;
        controls.push_back(LoadControl<CBkCheckBox>("<check class=\"t\" pos=\"" + at(100, 20) +
                                                    "\">" + label + "</check>"));
        controls.push_back(LoadControl<CBkRadioBox>("<radio class=\"t\" group=\"sheet" +
                                                    std::to_string(row) + "\" pos=\"" +
                                                    at(100, 20) + "\">" + label + "</radio>"));
        controls.push_back(LoadControl<CBkImageBtnWnd>(
            "<imgbtn class=\"t\" skin=\"cells\" ico=\"icon\" ico_top=\"2\" caption=\"" + label +
            "\" caption_top=\"17\" pos=\"" + at(16, 16) + "\"/>"));
        const int percent = row * 100 / (rows - 1);
        controls.push_back(LoadControl<CBkProgressEx>(
            "<progressex class=\"p\" max=\"100\" showpercent=\"1\" extendtext=\"...\" value=\"" +
            std::to_string(percent) + "\" pos=\"" + at(110, 18) + "\"/>"));
    }
    controls.push_back(
        LoadControl<CBkProgress>("<progress progressbar=\"1\" pos=\"" + at(200, 14) + "\"/>"));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        CBkWindow& control = *controls[i];
        // Placed at the corner of its cell, sized by its position.
        const int row = static_cast<int>(i / 4);
        const int column = static_cast<int>(i % 4);
        test::Place(control, column * kColumnWidth + 4, row * kRowHeight + 4);
        if (row < rows) {
            control.ModifyState(kStates[row].bits, ControlState::kNone);
        }
    }
    for (int step = 0; step < 6; ++step) {
        test::Paint(*controls.back(), canvas.Dc());
    }
    for (auto& control : controls) {
        test::Paint(*control, canvas.Dc());
    }
    EXPECT_NE(kWhite, canvas.At(kColumnWidth * 3 + 4 + 50, kRowHeight * (rows - 1) + 4 + 9))
        << "the full bar is filled";
    if (const char* path = std::getenv("VELORA_SHEET")) {
        WriteSheet(canvas, path);
    }
}

}  // namespace
}  // namespace velora
