// Renders every installer window as it ships, keeps the pictures as test
// artifacts (build/<arch>/artifacts/dialogs/*.bmp, for looking at) and checks
// what can be checked in pixels: button captions are drawn, and centred.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/agree_dlg.h"
#include "app/main_dlg.h"
#include "app/msg_dlg.h"
#include "app/exit_codes.h"
#include "app/notice_dlg.h"
#include "tests/support/modal_driver.h"
#include "tests/support/test_canvas.h"
#include "tests/support/test_files.h"
#include "ui/bk_window.h"

namespace velora {
namespace {

using test::Canvas;

std::wstring ArtifactFolder() {
    const std::wstring bin = test::BuiltProgramPath(L"");
    const std::wstring folder = bin + L"..\\artifacts";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::CreateDirectoryW((folder + L"\\dialogs").c_str(), nullptr);
    return folder + L"\\dialogs";
}

// 24-bit bottom-up BMP of the canvas.
void WriteBitmap(const Canvas& canvas, const std::wstring& path) {
    const int width = canvas.Width();
    const int height = canvas.Height();
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        char* row = pixels.data() + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = canvas.At(x, y);
            row[x * 3] = static_cast<char>(GetBValue(c));
            row[x * 3 + 1] = static_cast<char>(GetGValue(c));
            row[x * 3 + 2] = static_cast<char>(GetRValue(c));
        }
    }
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::string narrow(path.begin(), path.end());
    std::ofstream out(narrow, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
}

// The window's client area as the host paints it.
std::unique_ptr<Canvas> Snapshot(CBkDialogViewImplEx& dialog, const wchar_t* name) {
    RECT client;
    ::GetClientRect(dialog.Handle(), &client);
    auto canvas = std::make_unique<Canvas>(client.right, client.bottom, RGB(255, 0, 255));
    dialog.InvalidateAll();
    ::SendMessageW(dialog.Handle(), WM_PRINT, reinterpret_cast<WPARAM>(canvas->Dc()), PRF_CLIENT);
    WriteBitmap(*canvas, ArtifactFolder() + L"\\" + name + L".bmp");
    return canvas;
}

int Distance(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

// The caption inside a button: pixels far from the face colour (taken a few
// pixels in from the button's corner) form the ink; its box must lie in the
// middle of the button.
// `contrast` is how far from the face a pixel must be to count as ink.
void ExpectCaptionCentred(const Canvas& canvas, const RECT& button, const char* what,
                          int contrast = 150) {
    const COLORREF face = canvas.At(button.left + 6, button.top + (button.bottom - button.top) / 2);
    RECT ink = {button.right, button.bottom, button.left, button.top};
    for (int y = button.top + 3; y < button.bottom - 3; ++y) {
        for (int x = button.left + 3; x < button.right - 3; ++x) {
            if (Distance(canvas.At(x, y), face) > contrast) {
                ink.left = std::min<LONG>(ink.left, x);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.top = std::min<LONG>(ink.top, y);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
        }
    }
    ASSERT_LT(ink.left, ink.right) << what << ": no caption drawn";
    const int inkCentre = (ink.left + ink.right) / 2;
    const int buttonCentre = (button.left + button.right) / 2;
    EXPECT_NEAR(inkCentre, buttonCentre, 2) << what;
    const int inkMiddle = (ink.top + ink.bottom) / 2;
    const int buttonMiddle = (button.top + button.bottom) / 2;
    EXPECT_NEAR(inkMiddle, buttonMiddle, 3) << what;
}

// Shows the window and reads what the screen shows over its rectangle: the
// client area is the layout's size and the outermost ring of pixels is what
// the window itself renders (not a border left unpainted).
void ExpectShownWhole(CBkDialogViewImplEx& dialog, SIZE layout, const char* what) {
    HWND window = dialog.Handle();
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    ::UpdateWindow(window);
    test::PumpFor(100);
    RECT client;
    ::GetClientRect(window, &client);
    EXPECT_EQ(layout.cx, client.right) << what;
    EXPECT_EQ(layout.cy, client.bottom) << what;

    RECT place;
    ::GetWindowRect(window, &place);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    Canvas screen(width, height, RGB(255, 0, 255));
    HDC desktop = ::GetDC(nullptr);
    ::BitBlt(screen.Dc(), 0, 0, width, height, desktop, place.left, place.top, SRCCOPY);
    ::ReleaseDC(nullptr, desktop);
    Canvas own(width, height, RGB(255, 0, 255));
    ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(own.Dc()), PRF_CLIENT);
    int wrong = 0;
    POINT first = {-1, -1};
    for (int y = 0; y < height; ++y) {
        const int step = (y == 0 || y == height - 1) ? 1 : width - 1;
        for (int x = 0; x < width; x += step) {
            if (screen.At(x, y) != own.At(x, y) && wrong++ == 0) {
                first = POINT{x, y};
            }
        }
    }
    EXPECT_EQ(0, wrong) << what << ": edge pixels not the window's own, first at " << first.x << ","
                        << first.y;
}

TEST(DialogSnapshots, EveryWindowIsShownWholeAtItsLayoutSize) {
    CMainDlg main;
    main.SetLowSpaceTest([](const wchar_t*) { return false; });
    ASSERT_NE(main.Create(nullptr), nullptr);
    ExpectShownWhole(main, SIZE{610, 414}, "103");
    CAgreeDlg* agreement = CAgreeDlg::Open(main);
    ASSERT_NE(agreement, nullptr);
    ExpectShownWhole(*agreement, SIZE{610, 410}, "106");
    ::DestroyWindow(agreement->Handle());
    ::DestroyWindow(main.Handle());

    for (const UINT id :
         {kExitConfirmLayout, kOldSystemLayout, kProductRunningLayout, kNoticeLayout}) {
        CMsgDlg dialog;
        ASSERT_TRUE(dialog.LoadLayout(id));
        ASSERT_NE(dialog.Create(nullptr), nullptr);
        ExpectShownWhole(dialog, SIZE{412, 190}, std::to_string(id).c_str());
        ::DestroyWindow(dialog.Handle());
    }
}

TEST(DialogSnapshots, MessageDialogsShowTheirIconTextAndCentredCaptions) {
    const std::map<UINT, const wchar_t*> layouts = {{kExitConfirmLayout, L"layout_104"},
                                                    {kOldSystemLayout, L"layout_107"},
                                                    {kProductRunningLayout, L"layout_108"}};
    for (const auto& [id, name] : layouts) {
        CMsgDlg dialog;
        ASSERT_TRUE(dialog.LoadLayout(id));
        ASSERT_NE(dialog.Create(nullptr), nullptr);
        ::ShowWindow(dialog.Handle(), SW_SHOWNA);
        auto canvas = Snapshot(dialog, name);
        ExpectCaptionCentred(*canvas, dialog.FindControl(CMsgDlg::kButtonZero)->Rect(), "101");
        ExpectCaptionCentred(*canvas, dialog.FindControl(CMsgDlg::kButtonOne)->Rect(), "100");
        // The message icon: accent blue in its middle.
        EXPECT_TRUE(test::ColorNear(RGB(0x3D, 0xA0, 0xFA), canvas->At(52, 74), 40)) << id;
        ::DestroyWindow(dialog.Handle());
    }
}

TEST(DialogSnapshots, AgreementAndMainWindow) {
    CMainDlg main;
    main.SetLowSpaceTest([](const wchar_t*) { return false; });
    ASSERT_NE(main.Create(nullptr), nullptr);
    ::ShowWindow(main.Handle(), SW_SHOWNA);
    test::PumpFor(100);
    auto start = Snapshot(main, L"layout_103_start");
    ExpectCaptionCentred(*start, main.FindControl(main_ids::kInstall)->Rect(), "开始安装");

    // Agreement unticked: the start button is disabled, its label still readable.
    main.SetItemCheck(main_ids::kAgree, false);
    test::SendClickRecord(main.Handle(), main_ids::kAgree);
    ASSERT_TRUE(main.FindControl(main_ids::kInstall)->IsDisabled());
    auto disabled = Snapshot(main, L"layout_103_disabled");
    ExpectCaptionCentred(*disabled, main.FindControl(main_ids::kInstall)->Rect(),
                         "开始安装 (disabled)", 100);
    main.SetItemCheck(main_ids::kAgree, true);
    test::SendClickRecord(main.Handle(), main_ids::kAgree);

    CAgreeDlg* agreement = CAgreeDlg::Open(main);
    ASSERT_NE(agreement, nullptr);
    test::PumpFor(100);
    auto licence = Snapshot(*agreement, L"layout_106");
    ExpectCaptionCentred(*licence, agreement->FindControl(CAgreeDlg::kCancel)->Rect(), "取消");
    ::DestroyWindow(agreement->Handle());

    main.ToggleCustomInstall();
    test::PumpFor(50);
    Snapshot(main, L"layout_103_custom");
    // A "setup program" that never ends (this test itself), so the page
    // stays at the reported percentage.
    main.SetSetupLauncher([](const wchar_t*) {
        HANDLE self = nullptr;
        ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(),
                          &self, SYNCHRONIZE, FALSE, 0);
        return SetupLaunch{ScopedHandle(self)};
    });
    main.SetFailureReport([] {});
    main.StartInstall();
    main.OnInstallProgress(42);
    test::PumpFor(50);
    Snapshot(main, L"layout_103_progress");
    ::DestroyWindow(main.Handle());
}

// A failed install: the progress page says so, and the notice names the code.
TEST(DialogSnapshots, FailedInstallAndItsNotice) {
    CMainDlg main;
    main.SetLowSpaceTest([](const wchar_t*) { return false; });
    main.SetSetupLauncher([](const wchar_t*) { return SetupLaunch{}; });
    main.SetFailureReport([] {});
    ASSERT_NE(main.Create(nullptr), nullptr);
    ::ShowWindow(main.Handle(), SW_SHOWNA);
    main.StartInstall();
    test::PumpUntil(5000, [&] { return main.ExitCode() != 0; });
    EXPECT_EQ(kExitSetupNotStarted, main.ExitCode());
    Snapshot(main, L"layout_103_failed");

    const int code = 7;
    CNoticeDlg notice(kSetupFailedText, &code);
    ASSERT_NE(notice.Create(nullptr), nullptr);
    ::ShowWindow(notice.Handle(), SW_SHOWNA);
    EXPECT_NE(std::wstring::npos, notice.Text().find(L"错误代码 7"));
    auto canvas = Snapshot(notice, L"layout_109");
    ExpectCaptionCentred(*canvas, notice.FindControl(CMsgDlg::kButtonOne)->Rect(), "关闭");
    ::DestroyWindow(notice.Handle());
    ::DestroyWindow(main.Handle());
}

// The notice for a /D= directory that is refused names it; long texts wrap.
TEST(DialogSnapshots, RefusedInstallDirNotice) {
    CNoticeDlg notice(TextWith(kInvalidInstallDirText, L"{dir}", L"..\\My Apps\\Velora"));
    ASSERT_NE(notice.Create(nullptr), nullptr);
    ::ShowWindow(notice.Handle(), SW_SHOWNA);
    EXPECT_NE(std::wstring::npos, notice.Text().find(L"“..\\My Apps\\Velora”"));
    Snapshot(notice, L"layout_109_invalid_dir");
    ::DestroyWindow(notice.Handle());
}

}  // namespace
}  // namespace velora
