#pragma once

#include <string>

#include "ui/bk_window.h"

namespace velora {

// The three plain text controls. They differ only in their tags (the host
// decides by tag which controls take clicks) and in the redraw rule.

// "text": a caption.
class CBkStatic : public CBkWindow {
  public:
    static constexpr char kTag[] = "text";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
};

// "link": text whose `href` the host opens on click.
class CBkLink : public CBkWindow {
  public:
    static constexpr char kTag[] = "link";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    DWORD AccessibleRole() const override;
    std::wstring AccessibleDefaultAction() const override;
    bool TakesHeaderPress() const override { return true; }
    bool TakesHeaderDoubleClick() const override { return true; }
    bool ActsOnClick() const override { return true; }
};

// "button": text that repaints on every hover and press, whatever its style.
class CBkButton : public CBkWindow {
  public:
    static constexpr char kTag[] = "button";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    DWORD AccessibleRole() const override;
    std::wstring AccessibleDefaultAction() const override;
    bool TakesHeaderPress() const override { return true; }
    bool TakesHeaderDoubleClick() const override { return true; }
    bool ActsOnClick() const override { return true; }
    bool RedrawOnStateChange() override { return true; }
};

}  // namespace velora
