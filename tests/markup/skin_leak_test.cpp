// Drawing must give back every GDI object it makes.
#include <gtest/gtest.h>

#include <string>

#include "markup/file_skins.h"
#include "markup/gdiplus_runtime.h"
#include "markup/png_skin.h"
#include "markup/prepared_bitmap_pool.h"
#include "markup/skin_pool.h"
#include "tests/support/skin_test_support.h"

namespace velora {
namespace {

using test::Canvas;
using test::Columns;
using test::SkinSources;

// Every operation of every kind, in every state.
void DrawEverything(HDC dc) {
    const char* names[] = {"png",   "margins", "tiled", "jpg",    "none", "mask",
                           "alpha", "frame",   "bar",   "button", "grad", "file"};
    const RECT rect = {2, 2, 40, 30};
    const RECT part = {0, 0, 4, 4};
    const POINT corners[3] = {{2, 2}, {30, 6}, {6, 24}};
    for (const char* name : names) {
        CBkSkinBase* skin = BkSkinObjectPool::Instance().GetSkin(name);
        ASSERT_NE(nullptr, skin) << name;
        for (int state : {-1, 0, 1, 2, 3, 0x13}) {
            skin->Draw(dc, rect, state);
        }
        gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
        skin->DrawPart(graphics.Get(), rect, part, nullptr);
        skin->DrawRotated(dc, corners, part);
        skin->DrawPartAlpha(dc, rect, part, 128);
        skin->DrawPartScaled(dc, rect, part);
        skin->DrawTiled(dc, rect);
        skin->DrawGray(dc, rect, part);
        skin->DrawMirrored(dc, rect);
        skin->GetSkinSize();
        if (auto* png = dynamic_cast<CBkPngSkin*>(skin)) {
            png->DrawPartDirect(graphics.Get(), rect, part);
        }
        if (auto* file = dynamic_cast<CBkNormalSkin*>(skin)) {
            file->DrawPartDirect(graphics.Get(), rect, part);
        }
    }
}

TEST(SkinLeakTest, DrawingEveryKindManyTimesKeepsTheGdiObjectCount) {
    SkinSources sources;
    const auto strip = Columns(8, {{8, 0x80E00000}, {8, 0xFF00C000}});
    const UINT png = sources.Png(test::EncodePng(16, 8, strip));
    const UINT jpg = sources.Jpeg(test::EncodeJpeg(16, 8, strip));
    const UINT bmp = SkinSources::FreshId();
    sources.BitmapFile(bmp, test::EncodeBmp24(16, 8, strip));
    const UINT deep = SkinSources::FreshId();
    sources.BitmapFile(deep, test::EncodeBmp32(16, 8, strip));
    const UINT file = SkinSources::FreshId();
    Dib32 picture = Dib32::Create(8, 8);
    ASSERT_TRUE(BkSkinPool::Instance().Put(file, std::move(picture)));
    const auto src = [](UINT id) { return " src=\"" + std::to_string(id) + "\""; };
    sources.Table(5350, "<png name=\"png\"" + src(png) +
                            " subwidth=\"8\" flip=\"1\"/>"
                            "<png name=\"margins\"" +
                            src(png) +
                            " margin_left=\"2\" margin_right=\"2\" fliptype=\"1\"/>"
                            "<png name=\"tiled\"" +
                            src(png) +
                            " margin_left=\"1\" margin_right=\"1\" middle_tile=\"1\"/>"
                            "<jpg name=\"jpg\"" +
                            src(jpg) +
                            " margin_left=\"2\" margin_right=\"2\"/>"
                            "<imglst name=\"none\"" +
                            src(bmp) +
                            " subwidth=\"8\"/>"
                            "<imglst name=\"mask\"" +
                            src(bmp) +
                            " mode=\"mask\" subwidth=\"8\" stretch-x=\"20\" stretch-y=\"9\"/>"
                            "<imglst name=\"alpha\"" +
                            src(deep) +
                            " mode=\"alpha\" subwidth=\"8\"/>"
                            "<imgframe name=\"frame\"" +
                            src(bmp) +
                            " mode=\"mask\" left=\"3\" top=\"3\" crbg=\"FFFFFF\"/>"
                            "<imghorzex name=\"bar\"" +
                            src(bmp) +
                            " left=\"2\" subwidth=\"8\"/>"
                            "<button name=\"button\"/>"
                            "<gradation name=\"grad\" from=\"000000\" to=\"FFFFFF\" size=\"9\"/>"
                            "<skinpng name=\"file\"" +
                            src(file) + " margin_left=\"2\"/>");
    ASSERT_TRUE(BkSkinObjectPool::Instance().Load(5350));
    Canvas canvas(48, 36, RGB(255, 255, 255));
    DrawEverything(canvas.Dc());  // first draws make the skins' kept bitmaps

    const long before = test::LiveGdiObjects();
    for (int round = 0; round < 50; ++round) {
        DrawEverything(canvas.Dc());
    }
    const long after = test::LiveGdiObjects();
    EXPECT_EQ(before, after) << "GDI objects left behind by drawing";
}

}  // namespace
}  // namespace velora
