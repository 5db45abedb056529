#pragma once

#include <windows.h>

#include <memory>

#include "ui/back_buffer.h"
#include "ui/host_focus.h"
#include "ui/host_messages.h"
#include "ui/host_modal.h"
#include "ui/host_painter.h"
#include "ui/host_pointer.h"
#include "ui/host_tool_tip.h"
#include "ui/layout_sections.h"
#include "ui/view_impl.h"
#include "ui/window_impl.h"

namespace velora {

class CBkWindow;
class CShadowWnd;
class IBkControlCreator;
class IShadowPaintHook;

// The native top-level window behind a dialog: built from a layout resource,
// it owns the control tree (its sections) and coordinates the parts that do
// the work: painting through a back buffer, mouse input turned into hover,
// press and click records (WM_NOTIFY to itself), the keyboard focus among
// its controls, the tool tip, the modal loop, and the by-id operations of
// its view bases. Dialogs derive from it
// and put their own message handling in front of ProcessWindowMessage.
class CBkDialogViewImplEx : public CBkWindowImpl,
                            public CBkViewImplForList,
                            private IBkPaintSource {
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
    void EndDialog(int result) { modal_.End(result); }
    // Centres the window over `owner` when that is shown, else on its monitor's
    // work area, keeping it inside the work area.
    void Centre(HWND owner) { CentreWindow(Handle(), owner); }
    // Loads layout document `id` in place of the one given at construction
    // (before Create, or into the existing window). False when it is missing
    // or malformed; Create then fails rather than show another layout.
    bool LoadLayout(UINT id);

    // ---- Options (set before Create) --------------------------------------------
    void SetShadowEnabled(bool enabled) { shadowEnabled_ = enabled; }
    void SetShadowSize(int size) { shadowSize_ = size; }
    void SetOverlay(bool overlay) { overlay_ = overlay; }
    void SetWindowAlpha(BYTE alpha) { painter_.SetWindowAlpha(alpha); }
    void SetShadowPaintHook(IShadowPaintHook* hook) { shadowHook_ = hook; }

    // ---- Controls by id (header, then body, then footer) ----------------------
    CBkWindow* FindControl(int id) const override { return sections_.FindControlById(id); }

    // ---- Repainting -------------------------------------------------------------
    // Also has the focus checked: what is repainted may have been hidden or disabled.
    void InvalidateControlRect(const RECT& rect) override;
    void InvalidateAll() { painter_.InvalidateAll(); }

    // ---- The keyboard focus -----------------------------------------------------
    // The engine handle of the window-less control with the focus; 0 when
    // none has it or a native child window does.
    std::int32_t FocusedControl() const { return focus_.Focused(); }
    // Moves the focus to the control as the keyboard would; false when it
    // cannot take it (gone, hidden, disabled, not a tab stop).
    bool FocusControl(std::int32_t handle) { return focus_.FocusControl(handle); }
    // Whether the focus cue is drawn (after keyboard use, UISF_HIDEFOCUS clear).
    bool FocusCueShown() const { return focus_.CueShown(); }

    // ---- For tests and tools ----------------------------------------------------
    const CBkLayoutSections& Sections() const { return sections_; }
    const CBkBitmap& BackBuffer() const { return painter_.Buffer(); }
    std::int32_t HoveredControl() const { return pointer_.HoveredHandle(); }
    std::int32_t PressedControl() const { return pointer_.PressedHandle(); }
    // Clicks the control with this handle as the mouse would, without the
    // mouse; false when it is gone, hidden, disabled or a press is held.
    bool ActivateControl(std::int32_t handle);
    int BackBufferBuilds() const { return painter_.BufferBuilds(); }

    // The host's own message map; dialogs call it after their own handling.
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

  protected:
    // Drawn over the painted tree when the overlay option is on.
    virtual void DrawFrameOverlay(HDC /*dc*/) {}
    // Keyboard and mouse pre-translation of the modal loop; true consumes the message.
    bool PreTranslateMessage(MSG& message) { return PreTranslateHostMessage(Handle(), message); }

  private:
    struct MessageEntry;
    static const MessageEntry* FindEntry(UINT message);
    // Runs the map's handler of `message`; false when it has none or the
    // handler leaves the message to others.
    bool RunMapped(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ForwardToShadow(UINT message, WPARAM wParam, LPARAM lParam);
    void LayoutSections();

    // IBkPaintSource
    void PaintContent(HDC dc, HRGN region, const RECT& area) override;
    void AfterPaint() override;

    // ---- Message handlers: true when handled, with `result` -----------------------
    bool OnPaint(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnPrint(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool AnswerOne(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool AnswerZero(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnNcCalcSize(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnWindowPosChanging(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetDlgCode(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetFocus(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnKillFocus(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnChangeUiState(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnUpdateUiState(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnTranslateKey(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnCheckFocus(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLButtonDown(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnShowWindow(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSize(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnDestroy(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnNcHitTest(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The mouse buttons and moves go to the pointer as they are.
    template <void (CBkHostPointer::*Handle)(WPARAM, LPARAM)>
    bool ToPointer(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnMouseLeave(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnCaptureChanged(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnMouseWheel(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetToolTipText(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetHostWindow(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnIsLayeredHost(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnActivateControl(WPARAM wParam, LPARAM lParam, LRESULT& result);

    UINT layoutId_;
    IBkControlCreator* standardTier_;
    std::unique_ptr<IBkControlCreator> creator_;
    mutable CBkLayoutSections sections_;
    CBkHostPainter painter_{*this, *this};
    CBkHostToolTip toolTip_{*this};
    CBkHostPointer pointer_{*this, sections_, painter_, toolTip_};
    CBkHostFocus focus_{*this, sections_, painter_, pointer_};
    CBkModalLoop modal_;
    std::unique_ptr<CShadowWnd> shadow_;
    bool shadowEnabled_ = true;
    int shadowSize_ = 4;
    IShadowPaintHook* shadowHook_ = nullptr;
    bool overlay_ = true;
    bool bringToFront_ = false;
    bool firstShow_ = false;
};

}  // namespace velora
