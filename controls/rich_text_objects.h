#pragma once

#include <windows.h>

#include "ui/control_state.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/rich_text_graphics.h"
#include "controls/rich_text_layout.h"

class TiXmlElement;

namespace velora {

class BkStyle;

// What a rich object needs from the `richtext2` window that holds it.
class IBkRichtextContainerWnd {
  public:
    virtual HWND GetHostWindow() const = 0;
    // Asks the host to repaint the whole control.
    virtual void InvalidateControl() = 0;
    // Asks the host to repaint `rect` (left and top rounded down, right and
    // bottom rounded up).
    virtual void InvalidateRichRect(const RichRect& rect) = 0;
    // The current style's "linespacing" (the empty style's outside layout and paint).
    virtual float GetLineHeight() const = 0;
    virtual void RequestLayout() = 0;
    // The drawing back end for a run's style and state.
    virtual std::unique_ptr<IRichTextGraphics> CreateGraphics(HDC dc, const BkStyle& style,
                                                              ControlState state) = 0;

  protected:
    ~IBkRichtextContainerWnd() = default;
};

// One layout pass over a control's objects.
struct RichTextLayoutPass {
    HDC dc = nullptr;
    RichTextFlow flow;
    RichTextFit fit = RichTextFit::kBinarySearch;
};

// A rich object: a run, a break, an offset, or a laid-out piece of a run.
class IBkRichtextObj {
  public:
    virtual ~IBkRichtextObj() = default;

    // ---- Geometry and tree --------------------------------------------------
    virtual const RichRect& GetRect() const = 0;
    virtual void SetRect(const RichRect& rect) = 0;
    virtual IBkRichtextContainerWnd* Container() const = 0;
    virtual void InvalidateSelf() = 0;
    // The object answering for (x, y), or null.
    virtual IBkRichtextObj* HitTest(float x, float y) = 0;

    // ---- Look ---------------------------------------------------------------
    virtual const BkStyle& Style() const = 0;
    virtual ControlState State() const = 0;
    // new = (old | add) & ~remove; returns the old state.
    virtual ControlState ModifyState(ControlState add, ControlState remove) = 0;
    virtual bool NeedsRepaintOnHover() const = 0;
    virtual bool MeetsRegion(const RECT& clipBox) const = 0;
    virtual void SetObjectCursor() const = 0;

    // ---- Markup -------------------------------------------------------------
    virtual const char* ClassName() const = 0;
    virtual bool IsClass(const char* tag) const = 0;
    virtual bool SetAttribute(const std::string& name, const std::string& value) = 0;
    // Inner text first, then every attribute in document order.
    virtual bool Load(const TiXmlElement* element) = 0;
    virtual int Id() const = 0;
    // Non-zero when the object reports hover, leave and click.
    virtual int NotifyEnabled() const = 0;
    virtual const std::wstring& Text() const = 0;
    virtual void SetText(const std::wstring& text) = 0;

    // ---- Layout and painting -----------------------------------------------
    virtual void Layout(RichTextLayoutPass& pass) = 0;
    // Paints what meets `clipBox` (logical coordinates of `dc`).
    virtual void Paint(HDC dc, const RECT& clipBox) = 0;
};

// The common part of every rich object: rectangle, parent and container.
class CBkRichAtomObj : public IBkRichtextObj {
  public:
    CBkRichAtomObj(IBkRichtextContainerWnd* container, IBkRichtextObj* parent)
        : container_(container), parent_(parent) {}
    CBkRichAtomObj(const CBkRichAtomObj&) = delete;
    CBkRichAtomObj& operator=(const CBkRichAtomObj&) = delete;

    const RichRect& GetRect() const override { return rect_; }
    void SetRect(const RichRect& rect) override { rect_ = rect; }
    IBkRichtextContainerWnd* Container() const override { return container_; }
    IBkRichtextObj* Parent() const { return parent_; }
    void InvalidateSelf() override;
    IBkRichtextObj* HitTest(float x, float y) override;
    // The empty style.
    const BkStyle& Style() const override;
    ControlState State() const override { return ControlState::kNone; }
    ControlState ModifyState(ControlState, ControlState) override { return ControlState::kNone; }
    bool NeedsRepaintOnHover() const override { return false; }
    bool MeetsRegion(const RECT& clipBox) const override { return rect_.Intersects(clipBox); }
    void SetObjectCursor() const override;
    bool SetAttribute(const std::string&, const std::string&) override { return false; }
    bool Load(const TiXmlElement*) override { return false; }
    int Id() const override { return 0; }
    int NotifyEnabled() const override { return 0; }
    const std::wstring& Text() const override;
    void SetText(const std::wstring&) override {}
    void Layout(RichTextLayoutPass&) override {}
    void Paint(HDC, const RECT&) override {}

  protected:
    std::unique_ptr<IRichTextGraphics> CreateGraphics(HDC dc) const;

  private:
    IBkRichtextContainerWnd* container_;
    IBkRichtextObj* parent_;
    RichRect rect_;
};

// The objects made from markup: `id`, `notifymsg`, inner text and state.
class CBkRichtextObjBase : public CBkRichAtomObj {
  public:
    explicit CBkRichtextObjBase(IBkRichtextContainerWnd* container)
        : CBkRichAtomObj(container, nullptr) {}

    ControlState State() const override { return state_; }
    // Repaints the control when the look depends on the change.
    ControlState ModifyState(ControlState add, ControlState remove) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    bool Load(const TiXmlElement* element) override;
    int Id() const override { return id_; }
    int NotifyEnabled() const override { return id_ != 0 ? notifyMsg_ : 0; }
    const std::wstring& Text() const override { return text_; }
    void SetText(const std::wstring& text) override { text_ = text; }

  private:
    int id_ = 0;
    int notifyMsg_ = 0;
    std::wstring text_;
    ControlState state_ = ControlState::kNone;
};

// "offset": moves the pen `length` pixels to the right, wrapping.
class CBkRichOffsetObj : public CBkRichtextObjBase {
  public:
    static constexpr char kTag[] = "offset";
    using CBkRichtextObjBase::CBkRichtextObjBase;

    const char* ClassName() const override { return kTag; }
    bool IsClass(const char* tag) const override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    void Layout(RichTextLayoutPass& pass) override;

  private:
    int length_ = 0;
};

// "break": starts a new line.
class CBkRichBreakObj : public CBkRichtextObjBase {
  public:
    static constexpr char kTag[] = "break";
    using CBkRichtextObjBase::CBkRichtextObjBase;

    const char* ClassName() const override { return kTag; }
    bool IsClass(const char* tag) const override;
    void Layout(RichTextLayoutPass& pass) override;
};

// One laid-out piece of a run ("char"): a rectangle and its characters.
class CBkRichTextSubTextObj : public CBkRichAtomObj {
  public:
    static constexpr char kTag[] = "char";
    CBkRichTextSubTextObj(IBkRichtextContainerWnd* container, IBkRichtextObj* run,
                          const RichRect& rect, std::wstring text);

    const char* ClassName() const override { return kTag; }
    bool IsClass(const char* tag) const override;
    // The run's style and state.
    const BkStyle& Style() const override;
    ControlState State() const override;
    const std::wstring& Text() const override { return text_; }
    // Background, then the characters, with the run's back end.
    void PaintWith(IRichTextGraphics& graphics) const;

  private:
    std::wstring text_;
};

// "text": a run in the style class `class`, cut into pieces at layout.
class CBkRichtextObj : public CBkRichtextObjBase {
  public:
    static constexpr char kTag[] = "text";
    using CBkRichtextObjBase::CBkRichtextObjBase;

    const char* ClassName() const override { return kTag; }
    bool IsClass(const char* tag) const override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    // The run is hit where any of its pieces is.
    IBkRichtextObj* HitTest(float x, float y) override;
    const BkStyle& Style() const override;
    bool NeedsRepaintOnHover() const override;
    // Drops the pieces; the next paint lays out again.
    void SetText(const std::wstring& text) override;
    void Layout(RichTextLayoutPass& pass) override;
    void Paint(HDC dc, const RECT& clipBox) override;

    const std::string& StyleName() const { return className_; }
    const std::vector<std::unique_ptr<CBkRichTextSubTextObj>>& Pieces() const { return pieces_; }

  private:
    std::string className_;
    int adjust_ = 0;
    std::vector<std::unique_ptr<CBkRichTextSubTextObj>> pieces_;
};

// The object for a child element of `richtext2`, or null for other tags.
std::unique_ptr<IBkRichtextObj> CreateRichObject(const char* tag,
                                                 IBkRichtextContainerWnd* container);

}  // namespace velora
