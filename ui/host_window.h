#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/gdi_scopes.h"
#include "ui/back_buffer.h"
#include "ui/host_messages.h"
#include "ui/layout_sections.h"
#include "ui/window_impl.h"

namespace velora {

class CBkWindow;
class CShadowWnd;
class IBkControlCreator;
class IShadowPaintHook;

// Pre-translation hands keyboard and mouse messages to native children first.
inline constexpr UINT kMsgForwardToChild = 0x37F;

// The native top-level window behind a dialog: built from a layout resource,
// it lays out and paints the control tree through a back buffer, turns mouse
// input into hover, press and click records (WM_NOTIFY to itself), and runs
// a modal loop. Dialogs derive from it and put their own message handling in
// front of ProcessWindowMessage.
class CBkDialogViewImplEx : public CBkWindowImpl {
  public:
    // `standardTier` must outlive the host; `creator` (the extended tier) is owned.
    CBkDialogViewImplEx(UINT layoutId, IBkControlCreator* standardTier,
                        std::unique_ptr<IBkControlCreator> creator);
    ~CBkDialogViewImplEx() override;

    // ---- Life -----------------------------------------------------------------
    // Loads the layout if needed and creates the window; null on failure.
    HWND Create(HWND owner, const RECT* rect = nullptr);
    // Create, run the modal loop, hide, destroy; returns the EndDialog result (0 on failure).
    int DoModal(HWND owner = nullptr, const RECT* rect = nullptr);
    // Stores the result and wakes the modal loop so it ends.
    void EndDialog(int result);
    // Centres the window over `owner` when that is shown, else on its monitor's
    // work area, keeping it inside the work area.
    void Centre(HWND owner);
    // Loads layout document `id` in place of the one given at construction
    // (before Create, or into the existing window). False when it is missing
    // or malformed; Create then fails rather than show another layout.
    bool LoadLayout(UINT id);

    // ---- Options (set before Create) --------------------------------------------
    void SetShadowEnabled(bool enabled) { shadowEnabled_ = enabled; }
    void SetShadowSize(int size) { shadowSize_ = size; }
    void SetOverlay(bool overlay) { overlay_ = overlay; }
    void SetWindowAlpha(BYTE alpha) { windowAlpha_ = alpha; }
    void SetShadowPaintHook(IShadowPaintHook* hook) { shadowHook_ = hook; }

    // ---- Controls by id (header, then body, then footer) ----------------------
    CBkWindow* FindControl(int id) const;
    bool SetItemAttribute(int id, const char* name, const std::wstring& value);
    bool SetItemIntAttribute(int id, const char* name, int value);
    bool SetItemText(int id, const std::wstring& text);
    bool SetItemCheck(int id, bool checked);
    bool GetItemCheck(int id) const;
    bool EnableItem(int id, bool enabled);
    bool ShowItem(int id, bool shown);
    // The control with `id` when it is a list window.
    CBkWindow* GetListWnd(int id) const;
    // The run-time attribute change applied to item `index` (0-based) of a
    // list from GetListWnd; false when `list` is not a list or has no such item.
    bool SetListItemAttribute(CBkWindow* list, int index, const char* name,
                              const std::wstring& value);

    // ---- Repainting -------------------------------------------------------------
    void InvalidateControlRect(const RECT& rect);
    void InvalidateAll();

    // ---- For tests and tools ----------------------------------------------------
    const CBkLayoutSections& Sections() const { return sections_; }
    const CBkBitmap& BackBuffer() const { return backBuffer_; }
    std::int32_t HoveredControl() const { return hovered_; }
    std::int32_t PressedControl() const { return pressed_; }
    int BackBufferBuilds() const { return backBufferBuilds_; }

    // The host's own message map; dialogs call it after their own handling.
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

  protected:
    // Drawn over the painted tree when the overlay option is on.
    virtual void DrawFrameOverlay(HDC /*dc*/) {}
    // Keyboard and mouse pre-translation of the modal loop; true consumes the message.
    bool PreTranslateMessage(MSG& message);

  private:
    bool IsLayeredPresentation() const;
    bool IsChildWindow() const;
    CBkWindow* Control(std::int32_t handle) const;
    std::int32_t HitTestSections(int x, int y, bool headerOnly = false) const;
    void ChangeState(CBkWindow& control, std::uint32_t add, std::uint32_t remove);
    void SendNotify(UINT code, const CBkWindow* control, const char* classTag = nullptr);
    void LayoutSections();
    void CreateToolTip();
    void BringToFront();

    // Repaints what is dirty (everything after InvalidateAll), then presents.
    // Presents the whole buffer into `target`, or only `area` of it when given.
    void Paint(HDC target, const RECT* area = nullptr);
    void RepaintBuffer(HDC dc);
    // Shows what an input message changed inside `area` without waiting for
    // WM_PAINT; falls back to invalidating it where that cannot be done.
    void PresentInputChange(const RECT& area);
    void OnSize(WPARAM type);
    void OnMouseMove(WPARAM keys, POINT point, LPARAM lParam);
    void OnLButtonDown(WPARAM keys, POINT point, LPARAM lParam);
    void OnLButtonUp(WPARAM keys, POINT point, LPARAM lParam);
    void OnLButtonDoubleClick(WPARAM keys, POINT point, LPARAM lParam);
    void OnRButtonDown(WPARAM keys, POINT point, LPARAM lParam);
    void OnRButtonUp(WPARAM keys, POINT point, LPARAM lParam);
    void OnMouseLeave();
    // The minimum size and, with hold size, the layout's size, applied to a
    // new client rectangle.
    void ApplySizeRules(RECT& client) const;
    int BorderHitCode(POINT client) const;
    bool OnSetCursor();
    void RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam);
    bool IsToolTipShown() const;

    UINT layoutId_;
    IBkControlCreator* standardTier_;
    std::unique_ptr<IBkControlCreator> creator_;
    mutable CBkLayoutSections sections_;
    CBkBitmap backBuffer_;
    ScopedMemoryDc paintDc_;  // draws into and presents the back buffer
    ScopedRegion dirtyRegion_;
    bool dirty_ = false;
    bool fullRedraw_ = true;
    std::int32_t hovered_ = 0;
    std::int32_t pressed_ = 0;
    std::int32_t rightPressed_ = 0;
    bool captured_ = false;
    bool trackingLeave_ = false;
    int hitCode_ = HTCLIENT;
    HWND toolTip_ = nullptr;
    std::wstring toolTipText_;  // what the tool tip shows now
    std::unique_ptr<CShadowWnd> shadow_;
    bool shadowEnabled_ = true;
    int shadowSize_ = 4;
    IShadowPaintHook* shadowHook_ = nullptr;
    bool overlay_ = true;
    BYTE windowAlpha_ = 255;
    bool bringToFront_ = false;
    bool firstShow_ = false;
    bool endLoop_ = false;
    int result_ = 0;
    int backBufferBuilds_ = 0;
    class InvalidationBatch;
    int invalidationBatch_ = 0;  // open batches; see InvalidationBatch
    RECT batchBounds_ = {};      // what the open batches have invalidated
};

}  // namespace velora
