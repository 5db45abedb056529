#pragma once

#include "markup/skin_base.h"

namespace velora {

// "button": a painted push-button face. Draw reads the state bits: the face
// gradient follows hover and pushed and is left out when disabled.
class CBkSkinButton : public CBkSkinBase {
  public:
    static constexpr char kTag[] = "button";

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    void Draw(HDC dc, const RECT& rect, int state) override;

  private:
    COLORREF bg_ = RGB(0xEE, 0xEE, 0xEE);
    COLORREF border_ = RGB(0x70, 0x70, 0x70);
    COLORREF bgUp_ = RGB(0xEE, 0xEE, 0xEE);
    COLORREF bgUpHover_ = RGB(0xEE, 0xEE, 0xEE);
    COLORREF bgUpPush_ = RGB(0xCE, 0xCE, 0xCE);
    COLORREF bgDown_ = RGB(0xD6, 0xD6, 0xD6);
    COLORREF bgDownHover_ = RGB(0xE0, 0xE0, 0xE0);
    COLORREF bgDownPush_ = RGB(0xC0, 0xC0, 0xC0);
    bool useBorder_ = true;
};

// "gradation": a two-colour gradient over the rectangle, or over its first
// `size` pixels with the rest in the end colour. The state is not used.
class CBkSkinGradation : public CBkSkinBase {
  public:
    static constexpr char kTag[] = "gradation";

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    void Draw(HDC dc, const RECT& rect, int state) override;
    bool IgnoreState() override { return true; }

  private:
    COLORREF from_ = static_cast<COLORREF>(-1);
    COLORREF to_ = static_cast<COLORREF>(-1);
    int size_ = 0;
    bool vertical_ = false;
};

}  // namespace velora
