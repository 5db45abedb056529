// The mouse reaches every button of the installer's windows: the control
// under a button's centre is the button, not a page or a background that a
// later element of the layout lays over it. Dialog tests send click records
// straight to the window, so only this catches a button covered this way.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "app/installer_dialog.h"
#include "app/layout_ids.h"
#include "ui/bk_window.h"
#include "ui/notification.h"

namespace velora {
namespace {

// Opens a layout as the installer does and keeps the control ids of the
// hover records its mouse moves produce.
class HoverProbe : public CInstallerDialog {
  public:
    explicit HoverProbe(UINT layoutId) : CInstallerDialog(layoutId) { SetShadowEnabled(false); }

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == WM_NOTIFY) {
            const auto* notify = reinterpret_cast<const BkNotify*>(lParam);
            if (notify->hdr.idFrom == kHostNotifySource && notify->hdr.code == kNotifyHover) {
                hovered.push_back(notify->controlId);
            }
        }
        return CBkDialogViewImplEx::ProcessWindowMessage(window, message, wParam, lParam, result);
    }

    void OnCloseRequest() override {}  // never closed here

    // The id of the control the mouse finds at the centre of control `id`.
    UINT ControlUnderCentreOf(int id) {
        const CBkWindow* control = FindControl(id);
        if (control == nullptr) {
            return 0;
        }
        const RECT& r = control->Rect();
        hovered.clear();
        ::SendMessageW(Handle(), WM_MOUSEMOVE, 0,
                       MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        return hovered.empty() ? 0 : hovered.back();
    }

    std::vector<UINT> hovered;
};

struct Reach {
    UINT layout;
    std::vector<int> buttons;  // shown when the window opens
};

TEST(LayoutReachTest, EveryButtonShownAtOpeningIsUnderTheMouseAtItsCentre) {
    const std::vector<Reach> windows = {
        // Main window: minimise, close, start, agreement check and link, custom toggle.
        {kMainLayout, {102, 100, 111, 301, 302, 303}}, {kExitConfirmLayout, {101, 100}},
        {kAgreementLayout, {102, 101, 202}},           {kOldSystemLayout, {101, 100}},
        {kProductRunningLayout, {101, 100}},
    };
    for (const Reach& window : windows) {
        HoverProbe probe(window.layout);
        ASSERT_NE(nullptr, probe.Create(nullptr)) << "layout " << window.layout;
        for (int id : window.buttons) {
            const CBkWindow* button = probe.FindControl(id);
            ASSERT_NE(nullptr, button) << "layout " << window.layout << ", id " << id;
            ASSERT_TRUE(button->IsVisible()) << "layout " << window.layout << ", id " << id;
            EXPECT_EQ(static_cast<UINT>(id), probe.ControlUnderCentreOf(id))
                << "layout " << window.layout << ": button " << id << " is covered";
        }
    }
}

}  // namespace
}  // namespace velora
