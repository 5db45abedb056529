#include "ui/layout_sections.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/markup_sources.h"
#include "tests/support/test_host_window.h"
#include "tests/support/test_controls.h"

namespace velora {
namespace {

constexpr UINT kMainLike = 7103;
constexpr UINT kConfirmLike = 7104;
constexpr UINT kAgreeLike = 7106;
constexpr UINT kSpare = 7190;
constexpr UINT kAbsent = 7199;

std::string Str(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

class LayoutSectionsTest : public ::testing::Test {
  protected:
    LayoutSectionsTest() { sections.SetTiers(&standard, &extended); }

    // Puts `text` in the override folder as `id` and loads it.
    BkLayoutLoad Load(UINT id, const std::string& text) {
        sources.InFolder(id, text);
        return sections.Load(id);
    }
    std::string At(std::int32_t id) {
        CBkWindow* control = sections.FindControlById(id);
        return control != nullptr ? Str(control->Rect()) : "missing";
    }

    test::MarkupSources sources;
    test::TestStandardTier standard;  // "text" is 16 x 16 unless its list sizes it
    test::TestExtendedTier extended;
    CBkLayoutSections sections;
};

// The main window: one full-height header holding everything.
const char kMainLayout[] =
    "\xEF\xBB\xBF<layer title=\"Velora\" width=\"610\" height=\"414\" appwin=\"1\" resize=\"0\" "
    "holdsize=\"0\">"
    "<header height=\"full\" crbg=\"FFFFFF\">"
    "<text id=\"10\" pos=\"-64,15\"/>"
    "<dlgbtnEx2 id=\"111\" pos=\"206,330,400,374\"><text pos=\"0,0,-0,-0\"/></dlgbtnEx2>"
    "</header></layer>";

const char kAgreeLayout[] =
    "<layer width=\"610\" height=\"410\" appwin=\"1\">"
    "<header height=\"48\"><text id=\"1\" pos=\"0,0,-0,-0\"/></header>"
    "<body><text id=\"2\" pos=\"0,0,-0,-0\"/><text id=\"3\" pos=\"-200,-48,-124,-21\"/></body>"
    "</layer>";

TEST_F(LayoutSectionsTest, FullHeaderAloneFillsTheWindow) {
    ASSERT_EQ(BkLayoutLoad::kLoaded, Load(kMainLike, kMainLayout));
    const BkWindowDescription& d = sections.Description();
    EXPECT_TRUE(d.loaded);
    EXPECT_EQ(0x800B0000u, d.style);
    EXPECT_EQ(0x00050300u, d.exStyle);
    EXPECT_EQ(L"Velora", d.title);
    EXPECT_TRUE(d.headerPresent);
    EXPECT_FALSE(d.bodyPresent || d.footerPresent);

    const PositionList& list = sections.Header().Position().list;
    ASSERT_EQ(4, list.count);
    EXPECT_TRUE(list.items[3].farEdge && list.items[3].offset == 0) << "ends as 0,0,-0,-0";

    sections.Layout(610, 414);
    EXPECT_EQ("0,0,610,414", Str(sections.Header().Rect()));
    EXPECT_EQ("546,15,562,31", At(10));
    EXPECT_EQ("206,330,400,374", At(111)) << "extended tier reached the header";
    EXPECT_TRUE(sections.Body().Children().empty());

    // Written in capitals it is still "full".
    ASSERT_TRUE(Succeeded(Load(kSpare, "<layer><header height=\"FULL\"/></layer>")));
    sections.Layout(300, 200);
    EXPECT_EQ("0,0,300,200", Str(sections.Header().Rect()));
}

TEST_F(LayoutSectionsTest, HeaderOverBody) {
    ASSERT_EQ(BkLayoutLoad::kLoaded, Load(kAgreeLike, kAgreeLayout));
    sections.Layout(610, 410);
    EXPECT_EQ("0,0,610,48", Str(sections.Header().Rect()));
    EXPECT_EQ("0,48,610,410", Str(sections.Body().Rect()));
    EXPECT_EQ("0,0,610,48", At(1));
    EXPECT_EQ("0,48,610,410", At(2));
    EXPECT_EQ("410,362,486,389", At(3));
}

TEST_F(LayoutSectionsTest, BodyOnlyDialog) {
    ASSERT_EQ(BkLayoutLoad::kLoaded,
              Load(kConfirmLike,
                   "<layer width=\"380\" height=\"170\"><body><text id=\"5\"/></body></layer>"));
    const BkWindowDescription& d = sections.Description();
    EXPECT_EQ(0u, d.exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(d.bodyPresent);
    EXPECT_FALSE(d.headerPresent || d.footerPresent);
    sections.Layout(380, 170);
    EXPECT_EQ("0,0,380,170", Str(sections.Body().Rect()));
    EXPECT_EQ("0,0,16,16", At(5));
}

TEST_F(LayoutSectionsTest, FullHeaderBesideOtherSectionsIsZeroHigh) {
    ASSERT_TRUE(Succeeded(
        Load(kSpare, "<layer><header height=\"full\"><text id=\"1\"/></header><body/></layer>")));
    sections.Layout(610, 410);
    EXPECT_EQ("0,0,610,0", Str(sections.Header().Rect()));
    EXPECT_EQ("0,0,610,410", Str(sections.Body().Rect()));

    ASSERT_TRUE(
        Succeeded(Load(kSpare, "<layer><header height=\"full\"/><footer height=\"40\"/></layer>")));
    sections.Layout(610, 410);
    EXPECT_EQ("0,0,610,0", Str(sections.Header().Rect()));
    EXPECT_EQ("0,370,610,410", Str(sections.Footer().Rect()));
}

TEST_F(LayoutSectionsTest, FooterStaysAtTheBottomWithTheBodyBetween) {
    // Sections in any document order; the body fills what the others leave.
    ASSERT_TRUE(Succeeded(Load(kSpare,
                               "<layer><footer height=\"50\"><text id=\"9\" pos=\"0,0,-0,-0\"/>"
                               "</footer><body/><header height=\"40\"/></layer>")));
    sections.Layout(600, 400);
    EXPECT_EQ("0,0,600,40", Str(sections.Header().Rect()));
    EXPECT_EQ("0,350,600,400", Str(sections.Footer().Rect()));
    EXPECT_EQ("0,40,600,350", Str(sections.Body().Rect()));
    EXPECT_EQ("0,350,600,400", At(9));
    // Laid out again in a smaller window it still ends at the bottom.
    sections.Layout(500, 300);
    EXPECT_EQ("0,250,500,300", Str(sections.Footer().Rect()));
    EXPECT_EQ("0,40,500,250", Str(sections.Body().Rect()));

    // Without a header the body starts at the top.
    ASSERT_TRUE(Succeeded(Load(kSpare, "<layer><body/><footer height=\"30\"/></layer>")));
    sections.Layout(200, 100);
    EXPECT_EQ("0,0,200,70", Str(sections.Body().Rect()));
}

TEST_F(LayoutSectionsTest, HugeSectionHeightsDoNotWrapAround) {
    ASSERT_TRUE(Succeeded(Load(kSpare,
                               "<layer><header height=\"2000000000\"/><body/>"
                               "<footer height=\"2000000000\"/></layer>")));
    sections.Layout(610, 410);
    EXPECT_EQ(2000000000, sections.Header().Rect().bottom);
    EXPECT_EQ(410, sections.Footer().Rect().bottom);
    // Nothing is left for the body; a wrapped sum would give it a huge height.
    const RECT body = sections.Body().Rect();
    EXPECT_EQ(2000000000, body.top);
    EXPECT_LE(body.bottom, body.top);
}

TEST_F(LayoutSectionsTest, RejectedDocumentEmptiesEverything) {
    const char kFull[] =
        "<layer resize=\"1\" appwin=\"1\"><header height=\"30\"><text id=\"1\"/></header>"
        "<body><text id=\"2\"/></body><footer height=\"20\"><text id=\"3\"/></footer></layer>";
    for (const char* bad : {"<window><body><text id=\"2\"/></body></window>",
                            "<layer><body><text id=\"2\"/></body>"}) {
        ASSERT_TRUE(Succeeded(Load(kSpare, kFull)));
        EXPECT_EQ(BkLayoutLoad::kRejected, Load(kSpare + 1, bad)) << bad;
        const BkWindowDescription& d = sections.Description();
        EXPECT_FALSE(d.loaded || d.headerPresent || d.bodyPresent || d.footerPresent);
        EXPECT_EQ(kLayoutDefaultStyle, d.style);
        EXPECT_EQ(kLayoutDefaultExStyle, d.exStyle);
        for (CBkDialog* section : {&sections.Header(), &sections.Body(), &sections.Footer()}) {
            EXPECT_TRUE(section->Children().empty());
        }
    }
}

TEST_F(LayoutSectionsTest, ReloadReplacesControlsMissingDocumentChangesNothing) {
    ASSERT_TRUE(
        Succeeded(Load(kSpare, "<layer nomove=\"1\"><body><text id=\"42\"/></body></layer>")));
    ASSERT_TRUE(Succeeded(Load(kAgreeLike, kAgreeLayout)));
    const BkWindowDescription& d = sections.Description();
    EXPECT_FALSE(d.movable) << "only nomove touches movability";
    EXPECT_EQ(nullptr, sections.FindControlById(42));

    EXPECT_EQ(BkLayoutLoad::kMissing, sections.Load(kAbsent));
    EXPECT_TRUE(d.loaded && d.headerPresent && d.bodyPresent);
    EXPECT_EQ(0x00050300u, d.exStyle);
    EXPECT_NE(nullptr, sections.FindControlById(3));
}

TEST_F(LayoutSectionsTest, LoadIntoExistingWindowLaysOutAtOnce) {
    EXPECT_FALSE(sections.LayoutToHostClient()) << "no window yet";

    test::TestHostWindow host;  // 640 x 480 client
    sections.SetHost(host.Handle());
    ASSERT_EQ(BkLayoutLoad::kLoadedIntoWindow, Load(kAgreeLike, kAgreeLayout));
    EXPECT_EQ("0,48,640,480", Str(sections.Body().Rect()));
    EXPECT_EQ(host.Handle(), sections.FindControlById(2)->Host());

    ::SetWindowPos(host.Handle(), nullptr, 0, 0, 610, 410, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(sections.LayoutToHostClient());
    EXPECT_EQ("0,48,610,410", Str(sections.Body().Rect()));

    // A zero-wide client is not laid out.
    ::SetWindowPos(host.Handle(), nullptr, 0, 0, 0, 410, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(sections.LayoutToHostClient());
    EXPECT_EQ("0,48,610,410", Str(sections.Body().Rect()));

    // A rejected document in a live window leaves the repaint to the host.
    EXPECT_EQ(BkLayoutLoad::kRejected, Load(kSpare, "<layer>"));
}

}  // namespace
}  // namespace velora
