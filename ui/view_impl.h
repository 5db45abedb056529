#pragma once

#include <windows.h>

#include <string>

namespace velora {

class CBkWindow;

// The dialog-facing operations on controls found by id. Each repaints what
// it changes; each is false (and changes nothing) when no control has the id.
class CBkViewImpl {
  public:
    virtual ~CBkViewImpl() = default;

    // The first control with `id`: header, then body, then footer.
    virtual CBkWindow* FindControl(int id) const = 0;
    // Adds `rect` (host client coordinates) to what the next paint repaints.
    virtual void InvalidateControlRect(const RECT& rect) = 0;

    // The run-time attribute change: repaints the old and the new rectangle.
    bool SetItemAttribute(int id, const char* name, const std::wstring& value);
    // The same with `value` written as a decimal number.
    bool SetItemIntAttribute(int id, const char* name, int value);
    // Replaces the text (content-sized controls are measured again).
    bool SetItemText(int id, const std::wstring& text);
    bool SetItemCheck(int id, bool checked);
    // False also when the id is unknown.
    bool GetItemCheck(int id) const;
    // Disabling also takes the hover away.
    bool EnableItem(int id, bool enabled);
    // Sends the control WM_SHOWWINDOW, so a container shows or hides its
    // native windows too.
    bool ShowItem(int id, bool shown);

  private:
    // Repaints `control` when it is visible.
    void InvalidateIfVisible(const CBkWindow& control);
    // Runs `change` on the control with `id` and repaints it (before too
    // when `repaintBefore`: the change may move it); false when none has the id.
    template <typename Change>
    bool ChangeItem(int id, bool repaintBefore, Change change);
};

// The same for the items of list windows.
class CBkViewImplForList : public CBkViewImpl {
  public:
    // The control with `id` when it is a list window.
    CBkWindow* GetListWnd(int id) const;
    // The run-time attribute change applied to item `index` (0-based) of a
    // list from GetListWnd; false when `list` is not a list or has no such item.
    bool SetListItemAttribute(CBkWindow* list, int index, const char* name,
                              const std::wstring& value);
};

}  // namespace velora
