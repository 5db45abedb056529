#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "controls/control_groups.h"
#include "ui/bk_window.h"

namespace velora {

// The numbers of `clipparam`: at most kMax, separated by ","; empty items are
// skipped, items past the last one read as 0.
class ClipParams {
  public:
    static constexpr std::size_t kMax = 20;

    static ClipParams Parse(const std::string& text);
    int At(std::size_t index) const { return index < count_ ? values_[index] : 0; }
    std::size_t Count() const { return count_; }

  private:
    std::array<int, kMax> values_ = {};
    std::size_t count_ = 0;
};

// "img": a skin drawn over the control, optionally clipped; with a non-empty
// `group` it is a member of that image-button group.
class CBkImageWnd : public CBkWindow {
  public:
    static constexpr char kTag[] = "img";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }

    // Joins the group named by `group` once the attributes are in.
    bool Load(const TiXmlElement* element) override;
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::string& Skin() const { return skin_; }
    int Sub() const { return sub_; }
    const std::string& Icon() const { return ico_; }
    int IconTop() const { return icoTop_; }
    const std::wstring& Caption() const { return caption_; }
    int CaptionTop() const { return captionTop_; }
    const std::string& Group() const { return group_; }
    const std::string& Mask() const { return mask_; }
    int Alpha() const { return alpha_; }

  protected:
    // The tool tip, else the caption.
    std::wstring AccessibleNameFromContent() const override;
    // The text size, with the skin's cell size replacing each non-zero side.
    SIZE MeasureContent(SIZE available) override;
    // The skin, whole or by `sub`, clipped or turned by `cliptype`.
    void PaintContent(HDC dc) override;

  private:
    // Membership follows `group`: a group named at run time is joined at once.
    void UpdateGroup();

    std::string skin_;
    int sub_ = -1;  // -1: the whole picture
    std::string ico_;
    int icoTop_ = -1;  // below 1: centred
    std::wstring caption_;
    int captionTop_ = -1;
    std::string group_;
    std::string mask_;
    int clipType_ = 0;
    ClipParams clipParams_;
    int alpha_ = -1;  // negative: no opacity change
    GroupMembership membership_{Handle()};
};

// "imgbtn": the image control in its button form (icon, mask, caption, group
// selection); its look follows every state change.
class CBkImageBtnWnd : public CBkImageWnd {
  public:
    static constexpr char kTag[] = "imgbtn";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool TakesHeaderPress() const override { return true; }
    bool TakesHeaderDoubleClick() const override { return true; }
    bool ActsOnClick() const override { return true; }
    bool RedrawOnStateChange() override { return true; }
    DWORD AccessibleRole() const override;
    std::wstring AccessibleDefaultAction() const override;
    // Button-up toggles the selection within a named group.
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

  protected:
    // Skin by state, icon, mask and caption.
    void PaintContent(HDC dc) override;

  private:
    void DrawIcon(HDC dc) const;
    void DrawCaption(HDC dc) const;
    void OnButtonUp();
};

// The skin image an image button shows. When its group has a selection the
// button shows 2 while checked or pushed, 1 while hovered, else 0; otherwise
// 3 disabled, 2 pushed, 1 hovered, else 0.
int ImageButtonSkinIndex(ControlState state, bool disabled, bool groupHasSelection);

// Where an image button's caption goes: the control's width from
// `captionTop` below its top, widened evenly on both sides when the caption
// is wider than the control.
RECT ImageButtonCaptionRect(const RECT& control, int captionTop, SIZE caption);

}  // namespace velora
