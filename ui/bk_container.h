#pragma once

#include <memory>
#include <vector>

#include "ui/bk_window.h"

namespace velora {

class IBkControlCreator;

// A control that holds other controls: loads them from its element's
// children, places them whenever it is itself placed, paints them in order,
// hit-tests them and finds them by id.
class CBkContainerWnd : public CBkWindow {
  public:
    bool IsContainer() const override { return true; }
    // The control's own load, then its children.
    bool Load(const TiXmlElement* element) override;

    // First direct child with `id`, else depth-first through child containers.
    virtual CBkWindow* FindChildById(std::int32_t id) = 0;
    virtual void RepositionChildren() = 0;
    // Places one child again inside this container's child area.
    virtual void RepositionChild(CBkWindow* child) = 0;
    virtual bool LoadChildren(const TiXmlElement* first) = 0;
    // Shows or hides the hosted native windows below this container.
    virtual void ShowNativeWindows(bool show) = 0;

    // The rectangle children are placed in: own rectangle less the style margins.
    RECT ChildArea() const;
    // Sends `child` its new placement inside `area` (the anchoring arithmetic).
    static void PlaceChild(CBkWindow* child, const RECT& area);
    // Sends `child` the anchor (x, y) and the available size.
    static void SendPlacement(CBkWindow* child, int x, int y, int width, int height);

    // The standard tag tier reaches every container below this one.
    void SetStandardTier(IBkControlCreator* tier) { standardTier_ = tier; }
    IBkControlCreator* StandardTier() const { return standardTier_; }

  private:
    IBkControlCreator* standardTier_ = nullptr;
};

// Containers whose children are a plain ordered list.
class CBkPanel : public CBkContainerWnd {};

// "dlg": the general container, also the host window's header, body and footer.
class CBkDialog : public CBkPanel {
  public:
    static constexpr char kTag[] = "dlg";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }

    ~CBkDialog() override;

    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;
    void SetContainer(HWND host) override;
    void RelayHostEvent(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::int32_t HitTest(int x, int y) override;
    bool RedrawRegion(HDC dc, HRGN region) override;
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;
    // Itself when it is a tab stop, else its children's in order.
    void AppendTabStops(std::vector<std::int32_t>& stops) const override;

    CBkWindow* FindChildById(std::int32_t id) override;
    void RepositionChildren() override;
    void RepositionChild(CBkWindow* child) override;
    bool LoadChildren(const TiXmlElement* first) override;
    void ShowNativeWindows(bool show) override;

    // A panel is layout: a screen reader meets its children. A container
    // that has a role of its own is met as one control.
    DWORD AccessibleRole() const override { return 0; }
    void CollectAccessible(std::vector<const CBkWindow*>& controls) const override;

    // The extended tag tier; unlike the standard tier it only travels as
    // the tier rules say.
    void SetCreator(IBkControlCreator* creator) { creator_ = creator; }
    IBkControlCreator* Creator() const { return creator_; }
    // Standard tier, then the extended tier when this container has one.
    std::unique_ptr<CBkWindow> CreateChild(const char* tag);

    const std::vector<std::unique_ptr<CBkWindow>>& Children() const { return children_; }
    bool OnlyDrawChild() const { return onlyDrawChild_ != 0; }

  protected:
    void DestroyChildren();
    int onlyDrawChild_ = 0;

  private:
    std::vector<std::unique_ptr<CBkWindow>> children_;
    IBkControlCreator* creator_ = nullptr;
};

// "dlgbtn": a container that is hit and pressed as one button.
class CBkDialogButton : public CBkDialog {
  public:
    static constexpr char kTag[] = "dlgbtn";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool TakesHeaderPress() const override { return true; }
    bool TakesHeaderDoubleClick() const override { return true; }
    bool ActsOnClick() const override { return true; }
    bool Load(const TiXmlElement* element) override;
    DWORD AccessibleRole() const override;
    std::wstring AccessibleDefaultAction() const override;

  protected:
    // The names of its shown children (a caption drawn by a child text).
    std::wstring AccessibleNameFromContent() const override;
};

// "dlgbtnEx2": a container button whose skin is drawn by state index.
class CBkDlgBtnEx2 : public CBkDialogButton {
  public:
    static constexpr char kTag[] = "dlgbtnEx2";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    // A double click in the header maximises the window as on empty header.
    bool TakesHeaderDoubleClick() const override { return false; }
    void DrawBackground(HDC dc) override;
};

// Skin state index for a state word: 3 disabled, 2 pushed, 1 hover, else 0.
int SkinStateIndex(ControlState state);

}  // namespace velora
