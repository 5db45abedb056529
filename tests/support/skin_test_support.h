#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/gdi_scopes.h"
#include "markup/dib32.h"
#include "markup/resource_loader.h"
#include "markup/skin_base.h"
#include "tests/support/test_canvas.h"
#include "tests/support/test_files.h"

namespace velora::test {

// The skin tests' palette: a paper colour behind the drawing and three inks,
// as 0xAARRGGBB picture pixels and as the COLORREFs read back from a canvas.
inline constexpr COLORREF kPaper = RGB(10, 20, 30);
inline constexpr std::uint32_t kRed = 0xFFE00000;
inline constexpr std::uint32_t kGreen = 0xFF00C000;
inline constexpr std::uint32_t kBlue = 0xFF0000D0;
inline constexpr COLORREF kRedColor = RGB(0xE0, 0, 0);
inline constexpr COLORREF kGreenColor = RGB(0, 0xC0, 0);
inline constexpr COLORREF kBlueColor = RGB(0, 0, 0xD0);

// 0xAARRGGBB pixels, row by row from the top.
using Argb = std::vector<std::uint32_t>;

// Picture files made with GDI+ (PNG lossless; JPEG for flat colours only).
std::string EncodePng(int width, int height, const Argb& pixels);
std::string EncodeJpeg(int width, int height, const Argb& pixels);
// Bitmap files: 24 bits (alpha ignored) or 32 bits with straight alpha.
std::string EncodeBmp24(int width, int height, const Argb& pixels);
std::string EncodeBmp32(int width, int height, const Argb& pixels);

// Columns of flat colour: `widths[i]` columns of `colors[i]`, `height` rows.
Argb Columns(int height, const std::vector<std::pair<int, std::uint32_t>>& runs);

// Points the resource loader at pictures and tables of a test and counts
// how often each picture is read. Ids handed out are new for the process,
// because the image pools never forget an id.
class SkinSources {
  public:
    SkinSources();
    ~SkinSources();
    SkinSources(const SkinSources&) = delete;
    SkinSources& operator=(const SkinSources&) = delete;

    static UINT FreshId();

    // A skin table held in memory under `id` (the first copy read) or as
    // "<id>.xml" in the override folder (the last one).
    void Table(UINT id, const std::string& entries);
    void FolderTable(UINT id, const std::string& entries);
    // A picture under a fresh id; its reads are counted.
    UINT Png(std::string bytes);
    UINT Jpeg(std::string bytes);
    // A "<id>.bmp" file in the override folder.
    void BitmapFile(UINT id, const std::string& bytes);
    int Reads(const char* type, UINT id) const;
    // Any document held in memory.
    void Document(UINT id, const std::string& text);

  private:
    class Provider;
    TempFolder folder_;
    std::shared_ptr<Provider> provider_;
};

// Live GDI objects of this process. Where the system does not count them
// (Wine), the free room is measured instead, so only differences between two
// calls mean anything.
long LiveGdiObjects();

}  // namespace velora::test
