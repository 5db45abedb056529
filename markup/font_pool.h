#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "base/win_handles.h"

namespace velora {

// Font code bits (the value of `font` and `hoverfont`).
inline constexpr std::uint32_t kFontItalic = 0x0001;
inline constexpr std::uint32_t kFontUnderline = 0x0002;
inline constexpr std::uint32_t kFontBold = 0x0004;
// Bits 8-15: a signed byte of extra pixels added to the base size.
inline constexpr int kFontSizeShift = 8;

inline constexpr int kDefaultBaseFontHeight = -12;
inline constexpr wchar_t kFontsKeyPath[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// The first of the preferred UI faces the machine's font list names:
// 微软雅黑, Microsoft YaHei, 宋体, SimSun; 宋体 when none is registered.
std::wstring ProbeBaseFace(HKEY fontsRoot = HKEY_LOCAL_MACHINE);

// Fonts derived from one base font by font code. Owns every font it hands out.
class BkFontPool {
  public:
    // The process-wide pool; created on first use with the probed face.
    static BkFontPool& Instance();

    BkFontPool(const std::wstring& face, int height);
    BkFontPool(const BkFontPool&) = delete;
    BkFontPool& operator=(const BkFontPool&) = delete;

    // The font for `code`, made on first request; null when it cannot be made.
    HFONT GetFont(std::uint32_t code);
    // Replaces the base face and size and rebuilds the code-0 font. Fonts made
    // for other codes keep their old base.
    void SetBaseFont(const std::wstring& face, int height);
    // Base height minus the font's height: how many pixels larger it is.
    int GetSizeStep(HFONT font) const;

    // How many fonts the pool holds (one per distinct effective code).
    std::size_t Count() const { return fonts_.size(); }
    const std::wstring& BaseFace() const { return face_; }
    int BaseHeight() const { return height_; }

  private:
    std::wstring face_;
    int height_;
    LOGFONTW base_ = {};
    std::map<std::uint32_t, ScopedFont> fonts_;
};

}  // namespace velora
