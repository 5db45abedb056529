#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "markup/bk_object.h"

namespace velora {

inline constexpr UINT kStyleTableId = 60001;
inline constexpr COLORREF kNoColor = static_cast<COLORREF>(-1);

// A named set of text and colour settings from the style table, shared by
// every control that names it in `class`.
class BkStyle : public CBkObject {
  public:
    static constexpr char kTag[] = "class";

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    std::string name;
    COLORREF crBg = kNoColor;
    COLORREF crBgHover = kNoColor;
    COLORREF crText = kNoColor;
    COLORREF crHover = kNoColor;
    COLORREF crDisabled = RGB(0xCC, 0xCC, 0xCC);
    std::uint32_t textMode = DT_BOTTOM | DT_SINGLELINE;  // DrawTextW format bits
    std::uint32_t textModeEx = 0;                        // GDI+ alignment bits
    HFONT font = nullptr;                                // null: the font pool's code-0 font
    HFONT hoverFont = nullptr;                           // null: no change while hovered
    int xMargin = 0;
    int yMargin = 0;
    int spacing = 0;
    int lineSpacing = 20;
    LPCWSTR cursor = IDC_ARROW;
    std::string skin;
    bool shadow = false;
    COLORREF crShadow = RGB(0x01, 0x01, 0x01);
    bool gdiplus = false;
    bool gdiplusMeasure = false;
    int gdiplusTextRenderingHint = 0;
    bool gdiplusBackground = false;
    int alphaText = 254;
    int alphaBackground = 255;
    bool noFaceCorrection = false;
};

// Style classes by name, from the style table (root tag "style", entries
// <class name="..." .../>). Always holds a default record under "".
class BkStylePool {
  public:
    static BkStylePool& Instance();

    // Empties the pool (keeping a fresh default record) and loads every copy
    // of table `id`. False when no copy parsed.
    bool Load(UINT id);
    // The named record, or the default one for an unknown or empty name.
    const BkStyle& Get(const std::string& name);
    bool Contains(const std::string& name) const { return styles_.count(name) != 0; }
    std::size_t Count() const { return styles_.size(); }

  private:
    BkStylePool();
    std::map<std::string, std::unique_ptr<BkStyle>> styles_;
};

}  // namespace velora
