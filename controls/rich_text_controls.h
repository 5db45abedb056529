#pragma once

#include <cstdint>
#include <string>

#include "controls/rich_text2_window.h"
#include "ui/bk_window.h"

namespace velora {

// "richtext": the older rich text that reads its own inline markup (b, i, u,
// s, g, c, a, o, br) and draws link runs with the `linkclass` style.
class CBkRichText : public CBkWindow {
  public:
    static constexpr char kTag[] = "richtext";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    // Font code of the runs that name none.
    std::uint32_t DefaultFontCode() const { return defaultFont_; }
    const std::string& LinkClass() const { return linkClass_; }
    int ForceCursor() const { return forceCursor_; }
    int AdjustPosition() const { return adjustPos_; }
    int AutoAdjustYaHei() const { return autoAdjustYaHei_; }

  private:
    std::uint32_t defaultFont_ = 0;
    std::string linkClass_;
    int forceCursor_ = 0;
    int adjustPos_ = 0;
    int autoAdjustYaHei_ = 0;
};

// "richtextex": the older rich text with colour and offset runs of its own.
class CBkRichTextEx : public CBkRichText {
  public:
    static constexpr char kTag[] = "richtextex";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
};

}  // namespace velora
