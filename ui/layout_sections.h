#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "markup/layout_document.h"
#include "ui/bk_container.h"

namespace velora {

class IBkControlCreator;

// How a layout load ended, with what the host still has to do itself.
enum class BkLayoutLoad {
    kMissing,   // no such document; nothing changed
    kRejected,  // parse error or wrong root: sections emptied; repaint everything
    kLoaded,    // loaded; the host lays the sections out when it has a window
    // Loaded into an existing window and already laid out at its client size:
    // drop the hovered and pressed controls and repaint everything.
    kLoadedIntoWindow,
};

inline bool Succeeded(BkLayoutLoad result) {
    return result == BkLayoutLoad::kLoaded || result == BkLayoutLoad::kLoadedIntoWindow;
}

// The header, body and footer containers of a host window and the window
// description they were loaded with. Owns the whole control tree of a layout.
class CBkLayoutSections {
  public:
    CBkLayoutSections() = default;
    ~CBkLayoutSections();
    CBkLayoutSections(const CBkLayoutSections&) = delete;
    CBkLayoutSections& operator=(const CBkLayoutSections&) = delete;

    // Tag tiers every section creates its children with.
    void SetTiers(IBkControlCreator* standardTier, IBkControlCreator* creator);
    // The native window the controls belong to (may be null before creation).
    void SetHost(HWND host);
    HWND Host() const { return host_; }

    // Finds layout document `id` and loads it.
    BkLayoutLoad Load(UINT id);
    // Loads from document text already at hand.
    BkLayoutLoad LoadText(const std::string& text);

    // Places the sections in a client area of width x height: header, then
    // footer, then body in what is left between them.
    void Layout(std::int32_t width, std::int32_t height);
    // Layout at the host window's client size; false (nothing done) without a
    // window or while its client width is 0.
    bool LayoutToHostClient();

    // Header first, then body, then footer.
    CBkWindow* FindControlById(std::int32_t id);
    // The handle of the control under (x, y): header first, then body, then
    // footer (or the header only); 0 over none.
    std::int32_t HitTest(int x, int y, bool headerOnly = false);
    // The layout describes a child window (WS_CHILD): no shadow, no border,
    // no dragging.
    bool IsChildWindow() const { return (description_.style & WS_CHILD) != 0; }
    // Empties the three sections (every control is destroyed).
    void DestroyAll();

    const BkWindowDescription& Description() const { return description_; }
    CBkDialog& Header() { return header_; }
    CBkDialog& Body() { return body_; }
    CBkDialog& Footer() { return footer_; }
    const CBkDialog& Header() const { return header_; }
    const CBkDialog& Body() const { return body_; }
    const CBkDialog& Footer() const { return footer_; }

  private:
    BkWindowDescription description_;
    CBkDialog header_;
    CBkDialog body_;
    CBkDialog footer_;
    HWND host_ = nullptr;
};

}  // namespace velora
