#pragma once

#include <windows.h>

#include <string>

class TiXmlElement;

namespace velora {

// Root tag of every layout document and the tags of its three sections.
inline constexpr char kLayoutRootTag[] = "layer";
inline constexpr char kHeaderTag[] = "header";
inline constexpr char kBodyTag[] = "body";
inline constexpr char kFooterTag[] = "footer";

// Window styles a layout starts from before its root attributes are read.
inline constexpr DWORD kLayoutDefaultStyle = WS_POPUP | WS_SYSMENU | WS_MAXIMIZEBOX;
inline constexpr DWORD kLayoutDefaultExStyle = WS_EX_CONTROLPARENT;

// What a layout document says about the window itself. The host creates and
// sizes its native window from this.
struct BkWindowDescription {
    std::wstring title;
    std::string frameSkin;  // skin drawn over the whole client area first
    int width = 0;
    int height = 0;
    int minWidth = 0;
    int minHeight = 0;
    DWORD style = kLayoutDefaultStyle;
    DWORD exStyle = kLayoutDefaultExStyle;
    bool resizable = false;
    bool holdSize = false;
    // Survives reloads: a layout can only take movability away.
    bool movable = true;
    bool headerPresent = false;
    bool bodyPresent = false;
    bool footerPresent = false;
    bool loaded = false;
};

// The reset at the start of every load: not loaded, default styles, no
// sections. Everything else (sizes, title, flags) stays until read again.
void ResetForLoad(BkWindowDescription& description);

// Reads the `layer` element's attributes: title, frame, sizes and the style
// words with their flags. Unknown attributes are ignored.
void ReadLayerAttributes(const TiXmlElement* layer, BkWindowDescription& description);

// Generated `pos` of each section, stacking header, body and footer.
std::string HeaderPosition(int height);
std::string FooterPosition(int height);
inline constexpr char kFillPosition[] = "0,0,-0,-0";

// A header `height` of "full" (any case) asks for the whole window when the
// layout has nothing else.
bool IsFullHeight(const char* heightText);

}  // namespace velora
