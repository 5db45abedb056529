#pragma once

#include <optional>
#include <string>

#include "controls/control_groups.h"
#include "controls/visual_styles.h"
#include "ui/bk_window.h"

namespace velora {

// "check": a check box with its label; the checked state bit is the value.
class CBkCheckBox : public CBkWindow {
  public:
    static constexpr char kTag[] = "check";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool TakesHeaderPress() const override { return true; }
    bool TakesHeaderDoubleClick() const override { return true; }
    bool DoubleClickIsPress() const override { return true; }
    bool ActsOnClick() const override { return true; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;
    bool RedrawOnStateChange() override { return true; }
    DWORD AccessibleRole() const override;
    std::wstring AccessibleDefaultAction() const override;

    // `check` as written; it does not preset the checked bit.
    const std::optional<int>& Check() const { return check_; }
    const std::string& Skin() const { return skin_; }
    const std::string& SkinChecked() const { return skinCheck_; }
    // Button-up inside the control toggles the checked bit.
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

    // The label starts this far right of the control's left edge.
    static constexpr int kLabelOffset = 17;
    static constexpr int kBoxSize = 13;

  protected:
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    std::optional<int> check_;
    ButtonTheme theme_;
    std::string skin_ = "cmn_checkbox";
    std::string skinCheck_ = "cmn_checkbox_check";
};

// "radio": a radio button. It is always in a group (an absent `group` is the
// group with the empty name) from the end of its load until it is destroyed.
class CBkRadioBox : public CBkWindow {
  public:
    static constexpr char kTag[] = "radio";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool TakesHeaderPress() const override { return true; }
    bool DoubleClickIsPress() const override { return true; }
    bool ActsOnClick() const override { return true; }
    // The arrow keys move through its group.
    std::int32_t GroupNeighbour(int step) const override {
        return NeighbourInGroup(group_, Handle(), step);
    }
    bool Load(const TiXmlElement* element) override;
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;
    bool RedrawOnStateChange() override { return true; }
    DWORD AccessibleRole() const override;
    std::wstring AccessibleDefaultAction() const override;

    const std::optional<int>& Check() const { return check_; }
    const std::string& Group() const { return group_; }
    const std::string& Skin() const { return skin_; }
    const std::string& SkinChecked() const { return skinCheck_; }
    // Button-up selects this button and clears the rest of its group.
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

    static constexpr int kLabelOffset = 14;
    static constexpr int kCircleSize = 12;

  protected:
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    std::optional<int> check_;
    ButtonTheme theme_;
    std::string group_;
    std::string skin_ = "cmn_radio";
    std::string skinCheck_ = "cmn_radio_check";
    GroupMembership membership_{Handle()};
};

}  // namespace velora
