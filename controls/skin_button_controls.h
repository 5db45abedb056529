#pragma once

#include <string>

#include "ui/bk_window.h"

namespace velora {

// Buttons whose face is a skin drawn by state index (3 disabled, 2 pushed,
// 1 hover, 0 normal); both repaint on every state change.

// "skinbtn": the skin by state, then the text.
class CBkSkinBtnWnd : public CBkWindow {
  public:
    static constexpr char kTag[] = "skinbtn";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool TakesHeaderPress() const override { return true; }
    bool TakesHeaderDoubleClick() const override { return true; }
    bool ActsOnClick() const override { return true; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;
    bool RedrawOnStateChange() override { return true; }
    DWORD AccessibleRole() const override;
    std::wstring AccessibleDefaultAction() const override;

    const std::string& Skin() const { return skin_; }

  protected:
    // The skin's cell size where the skin gives one.
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    std::string skin_;
};

// "imgbtnsized": `skin` over the control and `skinmid` over the control less
// `left` pixels on each side.
class CBkImgbtnsized : public CBkWindow {
  public:
    static constexpr char kTag[] = "imgbtnsized";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool TakesHeaderPress() const override { return true; }
    bool TakesHeaderDoubleClick() const override { return true; }
    bool ActsOnClick() const override { return true; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;
    bool RedrawOnStateChange() override { return true; }
    DWORD AccessibleRole() const override;
    std::wstring AccessibleDefaultAction() const override;

    const std::string& Skin() const { return skin_; }

  protected:
    void PaintContent(HDC dc) override;

  private:
    std::string skin_;
    std::string skinMid_;
    int left_ = 0;
};

}  // namespace velora
