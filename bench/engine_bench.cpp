// Engine timings on a host window of realistic size (about 40 controls):
// full repaint (into memory, and through WM_PAINT on the shown window), the
// repaint one hover change makes on the shown window, and one mouse move (hit
// test and hover bookkeeping). Each is printed as a ratio to the floor
// measured in the same run: clearing the back buffer and blitting it once.
//
//   engine_bench [rounds]     (default 200 rounds per figure)
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/gdi_scopes.h"
#include "controls/control_factory.h"
#include "controls/list_controls.h"
#include "controls/rich_text2_window.h"
#include "markup/dib32.h"
#include "markup/resource_loader.h"
#include "markup/style_pool.h"
#include "markup/xml_document.h"
#include "ui/host_window.h"

namespace {

using namespace velora;
using Clock = std::chrono::steady_clock;

constexpr UINT kLayoutId = 1;

// A main-window-like layout: header, rows of options, a list area, buttons.
std::string BenchLayout() {
    std::string xml =
        "<layer width=\"610\" height=\"414\"><header height=\"48\" crbg=\"F4F8FF\">"
        "<text pos=\"20,14,200,34\">Velora</text>"
        "<dlgbtnEx2 id=\"100\" pos=\"-40,10,-16,34\" crbg=\"E6E8EC\"/>"
        "<dlgbtnEx2 id=\"102\" pos=\"-70,10,-46,34\" crbg=\"E6E8EC\"/></header>"
        "<body crbg=\"FFFFFF\">";
    for (int row = 0; row < 9; ++row) {
        const int top = 10 + row * 30;
        xml += "<dlg pos=\"20," + std::to_string(top) + ",-20," + std::to_string(top + 26) +
               "\" crbg=\"F6F6F6\">";
        xml +=
            "<text id=\"" + std::to_string(200 + row) +
            "\" pos=\"8,4,200,22\" crbg=\"FFFFFF\">\xE9\x80\x89\xE9\xA1\xB9 Velora option</text>";
        xml += "<dlgbtnEx2 id=\"" + std::to_string(300 + row) +
               "\" pos=\"-90,3,-10,23\" class=\"bench_btn\"><text "
               "pos=\"0,0,-0,-0\">\xE6\xB5\x8F\xE8\xA7\x88</text></dlgbtnEx2>";
        xml += "</dlg>";
    }
    xml +=
        "<dlgbtnEx2 id=\"111\" pos=\"207,-60,403,-12\" crbg=\"2F6BFF\">"
        "<text pos=\"0,0,-0,-0\"/></dlgbtnEx2></body></layer>";
    return xml;
}

class BenchDialog : public CBkDialogViewImplEx {
  public:
    BenchDialog()
        : CBkDialogViewImplEx(kLayoutId, &CBkStandardTier::Instance(),
                              std::make_unique<CBkControlCreator>()) {
        SetShadowEnabled(false);
    }
};

// An agreement-like rich text: a title and 40 indented Chinese paragraphs
// of one to four sentences.
std::string AgreementRichText() {
    const std::string sentence =
        "\xE5\x9C\xA8\xE5\xAE\x89\xE8\xA3\x85\xE5\x92\x8C\xE4\xBD\xBF\xE7\x94\xA8\xE6\x9C\xAC"
        "\xE8\xBD\xAF\xE4\xBB\xB6\xE4\xB9\x8B\xE5\x89\x8D\xEF\xBC\x8C\xE8\xAF\xB7\xE6\x82\xA8"
        "\xE5\x8A\xA1\xE5\xBF\x85\xE4\xBB\x94\xE7\xBB\x86\xE9\x98\x85\xE8\xAF\xBB\xE5\xB9\xB6"
        "\xE5\x85\x85\xE5\x88\x86\xE7\x90\x86\xE8\xA7\xA3\xE6\x9C\xAC\xE5\x8D\x8F\xE8\xAE\xAE"
        "\xE7\x9A\x84\xE5\x85\xA8\xE9\x83\xA8\xE6\x9D\xA1\xE6\xAC\xBE\xEF\xBC\x8C Velora "
        "\xE7\x89\xB9\xE5\x88\xAB\xE6\x98\xAF\xE5\x85\x8D\xE9\x99\xA4\xE6\x88\x96\xE8\x80\x85"
        "\xE9\x99\x90\xE5\x88\xB6\xE8\xB4\xA3\xE4\xBB\xBB\xE7\x9A\x84\xE6\x9D\xA1\xE6\xAC\xBE"
        "\xE3\x80\x82";
    std::string xml =
        "<richtext2 pos=\"0,0,-0,-0\"><offset length=\"170\"/><text>Velora "
        "\xE7\x94\xA8\xE6\x88\xB7\xE8\xAE\xB8\xE5\x8F\xAF\xE5\x8D\x8F\xE8\xAE\xAE</text><break/>";
    for (int paragraph = 0; paragraph < 40; ++paragraph) {
        xml += "<offset length=\"24\"/><text>";
        for (int i = 0; i <= paragraph % 4; ++i) {
            xml += sentence;
        }
        xml += "</text><break/>";
    }
    return xml + "</richtext2>";
}

struct Figure {
    const char* name;
    double median;
    double min;
    double max;
};

Figure Measure(const char* name, int rounds, const std::function<void()>& work) {
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        work();
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(samples.begin(), samples.end());
    return {name, samples[samples.size() / 2], samples.front(), samples.back()};
}

// Rich text of `characters` digits: one unbroken run, or paragraphs of 80.
std::string DigitsRichText(int characters, bool paragraphs) {
    std::string xml = "<richtext2 pos=\"0,0,-0,-0\">";
    const int piece = paragraphs ? 80 : characters;
    for (int done = 0; done < characters; done += piece) {
        xml += "<text>" +
               std::string(static_cast<std::size_t>(std::min(piece, characters - done)), '7') +
               "</text>";
        if (paragraphs) {
            xml += "<break/>";
        }
    }
    return xml + "</richtext2>";
}

// Lays out digits in the agreement's 530-pixel box for growing lengths, so
// that placement that grows faster than the text shows in the ratios.
void PrintRichTextGrowth(HDC dc, const Figure& floor) {
    std::printf("%-24s %10s %10s %10s %8s\n", "rich text growth", "median us", "min us", "max us",
                "/ 10k");
    for (const bool paragraphs : {false, true}) {
        double first = 0;
        for (const int characters : {10000, 40000, 160000}) {
            BkXmlDocument document;
            document.Parse(DigitsRichText(characters, paragraphs), CBkRichText2Wnd::kTag);
            CBkRichText2Wnd rich;
            rich.Load(document.Root());
            WINDOWPOS place = {};
            place.cx = 530;
            place.cy = 270;
            rich.Place(place);
            char name[48];
            std::snprintf(name, sizeof(name), "%dk %s", characters / 1000,
                          paragraphs ? "in paragraphs" : "one run");
            const Figure f = Measure(name, 5, [&] { rich.LayOut(dc); });
            first = first == 0 ? f.median : first;
            std::printf("%-24s %10.1f %10.1f %10.1f %8.2f  (%.0f x floor)\n", f.name, f.median,
                        f.min, f.max, f.median / first, f.median / floor.median);
        }
    }
}

// One wheel notch on a 200-item list (40 pixels an item, 400 × 300 view)
// and the list's repaint through its off-screen bitmap; up and down in turn.
Figure MeasureListWheelNotch(int rounds) {
    std::string xml = "<listwnd pos=\"0,0,-0,-0\" crbg=\"FFFFFF\">";
    for (int i = 0; i < 200; ++i) {
        xml +=
            "<listitem height=\"40\" crbg=\"F6F6F6\"><text pos=\"8,10,200,30\">Velora "
            "option</text><dlgbtnEx2 pos=\"-90,8,-10,32\" crbg=\"3DA0FA\"/></listitem>";
    }
    xml += "</listwnd>";
    BkXmlDocument document;
    document.Parse(xml, CBkListWnd::kTag);
    CBkControlCreator creator;
    CBkListWnd list;
    list.SetStandardTier(&CBkStandardTier::Instance());
    list.SetCreator(&creator);
    list.Load(document.Root());
    CBkContainerWnd::PlaceChild(&list, RECT{0, 0, 400, 300});
    list.SetScrollPos(4000, false);
    Dib32 pixels = Dib32::Create(400, 300);
    ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
    ScopedSelectObject selected(dc.Get(), pixels.Handle());
    bool down = false;
    return Measure("list wheel notch + paint", rounds, [&] {
        down = !down;
        list.SendControlMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, down ? -120 : 120), 0);
        list.RedrawRegion(dc.Get(), nullptr);
    });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const int rounds = (argv && argc > 1) ? std::max(5, _wtoi(argv[1])) : 200;
    ::LocalFree(argv);
    BkWindowModule::Init(instance);

    // The generated layout and a style table with a hover colour go where the
    // loader looks for documents.
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    std::wstring dir = std::wstring(folder) + L"velora-bench";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    HANDLE file = ::CreateFileW((dir + L"\\1.xml").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr);
    const std::string layout = BenchLayout();
    DWORD written = 0;
    ::WriteFile(file, layout.data(), static_cast<DWORD>(layout.size()), &written, nullptr);
    ::CloseHandle(file);
    const std::string styles =
        "<style><class name=\"bench_btn\" crbg=\"3DA0FA\" crbghover=\"2F6BFF\"/></style>";
    file = ::CreateFileW((dir + L"\\60001.xml").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         0, nullptr);
    ::WriteFile(file, styles.data(), static_cast<DWORD>(styles.size()), &written, nullptr);
    ::CloseHandle(file);
    BkResourceLoader::Instance().SetOverrideDirectory(dir);
    BkStylePool::Instance().Load(kStyleTableId);

    BenchDialog dialog;
    if (dialog.Create(nullptr) == nullptr) {
        std::printf("engine_bench: the host window could not be created\n");
        return 1;
    }
    const CBkBitmap& buffer = dialog.BackBuffer();
    ScopedMemoryDc target(::CreateCompatibleDC(nullptr));
    ScopedBitmap targetBitmap(
        ::CreateCompatibleBitmap(::GetDC(nullptr), buffer.Width(), buffer.Height()));
    ScopedSelectObject selected(target.Get(), targetBitmap.Get());
    HWND window = dialog.Handle();
    auto print = [&] {
        ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(target.Get()), PRF_CLIENT);
    };

    // The buffer is let go of afterwards: a bitmap selected into this DC
    // could not be selected by the host, which would then paint into nothing.
    const Figure floor = [&] {
        ScopedMemoryDc source(::CreateCompatibleDC(nullptr));
        ScopedSelectObject sourceSelected(source.Get(), buffer.Handle());
        return Measure("floor (clear + blit)", rounds, [&] {
            std::memset(buffer.Pixels(), 0,
                        static_cast<std::size_t>(buffer.Width()) * buffer.Height() * 4);
            ::BitBlt(target.Get(), 0, 0, buffer.Width(), buffer.Height(), source.Get(), 0, 0,
                     SRCCOPY);
        });
    }();
    const Figure full = Measure("full repaint", rounds, [&] {
        dialog.InvalidateAll();
        print();
    });
    // On a shown window, each as the user meets it: a full repaint through
    // WM_PAINT (what a resize or an uncovered window costs), and a hover, which
    // the host presents from the mouse move itself.
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    ::UpdateWindow(window);
    const Figure fullShown = Measure("full repaint, shown", rounds, [&] {
        dialog.InvalidateAll();
        ::UpdateWindow(window);
    });
    bool toggle = false;
    const Figure hover = Measure("hover repaint, shown", rounds, [&] {
        toggle = !toggle;  // between two buttons, so every move changes the hover
        ::SendMessageW(window, WM_MOUSEMOVE, 0, toggle ? MAKELPARAM(540, 61) : MAKELPARAM(540, 91));
        ::UpdateWindow(window);  // nothing is left for WM_PAINT; kept to show it
    });
    const Figure hoverOnly = Measure("hover change, no paint", rounds, [&] {
        toggle = !toggle;
        ::SendMessageW(window, WM_MOUSEMOVE, 0, toggle ? MAKELPARAM(540, 61) : MAKELPARAM(540, 91));
        dialog.InvalidateAll();  // keep the dirty region from growing between rounds
    });
    const Figure move = Measure("mouse move (hit test)", rounds, [&] {
        ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
    });

    const Figure listNotch = MeasureListWheelNotch(rounds);

    std::printf("%-24s %10s %10s %10s %8s\n", "figure", "median us", "min us", "max us", "ratio");
    for (const Figure& f : {floor, full, fullShown, hover, hoverOnly, move, listNotch}) {
        std::printf("%-24s %10.1f %10.1f %10.1f %8.2f\n", f.name, f.median, f.min, f.max,
                    f.median / floor.median);
    }
    std::printf("hover / full repaint, both shown: %.2f (target < 0.20)\n",
                hover.median / fullShown.median);
    std::printf("hover shown / full into memory: %.2f\n", hover.median / full.median);
    std::printf("full repaint / floor: %.2f (target < 20)\n", full.median / floor.median);
    // Laying out the licence text in the agreement's 530-pixel box: fitting
    // one character fewer at a time, and the binary search that gives the
    // same pieces. Fewer rounds: the linear fit is slow by design.
    BkXmlDocument richDocument;
    richDocument.Parse(AgreementRichText(), CBkRichText2Wnd::kTag);
    CBkRichText2Wnd rich;
    rich.Load(richDocument.Root());
    WINDOWPOS richPlace = {};
    richPlace.cx = 530;
    richPlace.cy = 270;
    rich.Place(richPlace);
    const int richRounds = std::max(5, rounds / 10);
    rich.SetFitMethod(RichTextFit::kLinear);
    const Figure richLinear =
        Measure("rich text, linear fit", richRounds, [&] { rich.LayOut(target.Get()); });
    const float linearBottom = rich.ContentBottom();
    rich.SetFitMethod(RichTextFit::kBinarySearch);
    const Figure richBinary =
        Measure("rich text, binary fit", richRounds, [&] { rich.LayOut(target.Get()); });
    for (const Figure& f : {richLinear, richBinary}) {
        std::printf("%-24s %10.1f %10.1f %10.1f %8.2f\n", f.name, f.median, f.min, f.max,
                    f.median / floor.median);
    }
    std::printf("rich text linear / binary fit: %.2f (content bottom %.0f, %s)\n",
                richLinear.median / richBinary.median, rich.ContentBottom(),
                linearBottom == rich.ContentBottom() ? "same" : "DIFFERENT");
    PrintRichTextGrowth(target.Get(), floor);
    BkWindowModule::Term();
    return 0;
}
