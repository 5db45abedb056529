#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/rich_text_input.h"
#include "controls/rich_text_objects.h"
#include "ui/bk_window.h"

namespace velora {

// "richtext2": wrapped text made of styled runs, breaks and offsets, laid out
// by character inside the control's rectangle less the style margins. Runs
// with an id and `notifymsg` report hover, leave and click to the host.
class CBkRichText2Wnd : public CBkWindow, public IBkRichtextContainerWnd {
  public:
    static constexpr char kTag[] = "richtext2";
    using GraphicsFactory = std::function<std::unique_ptr<IRichTextGraphics>(
        HDC dc, const BkStyle& style, ControlState state)>;

    CBkRichText2Wnd();
    ~CBkRichText2Wnd() override;

    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    // The control's attributes, then one object per `text`, `break` and
    // `offset` child (other children are skipped).
    bool Load(const TiXmlElement* element) override;
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    // Non-zero: the paint clip follows the device context's viewport origin.
    int CheckDcViewOrigin() const { return checkDcViewOrg_; }

    // ---- Objects and layout -------------------------------------------------
    std::size_t ObjectCount() const { return objects_.size(); }
    IBkRichtextObj* Object(std::size_t index) const;
    bool IsLayoutNeeded() const { return layoutNeeded_; }
    // Lays out on a memory DC compatible with the screen, as measuring does.
    void LayOutOnScreenDc();
    // Lays out on `dc` now.
    void LayOut(HDC dc);
    // Results of the last layout.
    float ContentBottom() const { return contentBottom_; }
    // How runs are fitted to a line (both give the same pieces).
    void SetFitMethod(RichTextFit fit) { fit_ = fit; }
    // Replaces how runs measure and draw (tests measure with fixed widths).
    void SetGraphicsFactory(GraphicsFactory factory);

    // ---- Input ---------------------------------------------------------------
    // The first object taking input (notifying or hover-sensitive) at (x, y).
    IBkRichtextObj* HitTestObject(float x, float y) const;
    void SetControlCursor() override;
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;
    // Read as static text: its runs, a line break for each `break`.
    DWORD AccessibleRole() const override;

    // ---- IBkRichtextContainerWnd ---------------------------------------------
    HWND GetHostWindow() const override { return Host(); }
    void InvalidateControl() override;
    void InvalidateRichRect(const RichRect& rect) override;
    float GetLineHeight() const override;
    void RequestLayout() override { layoutNeeded_ = true; }
    std::unique_ptr<IRichTextGraphics> CreateGraphics(HDC dc, const BkStyle& style,
                                                      ControlState state) override;

  protected:
    std::wstring AccessibleNameFromContent() const override;
    // Lays out when needed, then paints the pieces inside the clip.
    void PaintContent(HDC dc) override;

  private:
    void OnMouseMove(const RichPoint& point);
    void OnLButtonDown(const RichPoint& point);
    void OnLButtonUp(const RichPoint& point);
    void OnMouseLeave();
    // Sends the host the object's event (3 hover, 4 leave, 1 click).
    void NotifyObject(const IBkRichtextObj& object, UINT code) const;
    void ForgetInputObjects();

    std::vector<std::unique_ptr<IBkRichtextObj>> objects_;
    int checkDcViewOrg_ = 0;
    bool layoutNeeded_ = true;
    const BkStyle* currentStyle_ = nullptr;  // set only during layout and paint
    float contentBottom_ = 0;
    IBkRichtextObj* pressed_ = nullptr;
    IBkRichtextObj* hover_ = nullptr;
    RichTextFit fit_ = RichTextFit::kBinarySearch;
    GraphicsFactory graphicsFactory_;
};

}  // namespace velora
