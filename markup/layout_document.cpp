#include "markup/layout_document.h"

#include <cstdio>

#include <tinyxml.h>

#include "markup/value_parsers.h"
#include "markup/xml_document.h"
#include "base/bounded_format.h"

namespace velora {
namespace {

constexpr DWORD kChildClearedStyle =
    WS_POPUP | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU;
constexpr DWORD kChildStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

bool Flag(const TiXmlElement* element, const char* name) {
    return AttributeInt(element, name) != 0;
}

std::string TextOrEmpty(const TiXmlElement* element, const char* name) {
    const char* text = AttributeText(element, name);
    return text != nullptr ? std::string(text) : std::string();
}

// Room for two prefixes and every 32-bit value.
std::string FormatPosition(const char* format, int value) {
    char buffer[48];
    const int written = FormatBounded(buffer, sizeof buffer, format, value);
    if (written < 0 || static_cast<size_t>(written) >= sizeof buffer) {
        return kFillPosition;  // cannot happen for an int; never hand out a cut text
    }
    return std::string(buffer, static_cast<size_t>(written));
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

void ResetForLoad(BkWindowDescription& description) {
    description.loaded = false;
    description.style = kLayoutDefaultStyle;
    description.exStyle = kLayoutDefaultExStyle;
    description.headerPresent = false;
    description.bodyPresent = false;
    description.footerPresent = false;
}

void ReadLayerAttributes(const TiXmlElement* layer, BkWindowDescription& description) {
    description.frameSkin = TextOrEmpty(layer, "frame");
    description.title = Utf8ToUtf16(TextOrEmpty(layer, "title"));
    description.width = AttributeInt(layer, "width");
    description.height = AttributeInt(layer, "height");
    description.minWidth = AttributeInt(layer, "min_width");
    description.minHeight = AttributeInt(layer, "min_height");

    if (Flag(layer, "appwin")) {
        description.exStyle |= WS_EX_APPWINDOW;
    }
    if (Flag(layer, "layered")) {
        description.exStyle |= WS_EX_LAYERED;
    }

    if (Flag(layer, "child")) {
        // A child window has no frame of its own: the frame flags are not read.
        description.exStyle &= ~static_cast<DWORD>(WS_EX_LAYERED);
        description.style = (description.style & ~kChildClearedStyle) | kChildStyle;
        return;
    }

    description.holdSize = Flag(layer, "holdsize");
    description.resizable = Flag(layer, "resize");
    description.style |=
        description.resizable ? (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) : WS_MINIMIZEBOX;
    description.exStyle |= Flag(layer, "noborder") ? (WS_EX_TOOLWINDOW | WS_EX_TOPMOST)
                                                   : (WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE);
    if (Flag(layer, "nomove")) {
        description.movable = false;
    }
}

std::string HeaderPosition(int height) {
    return FormatPosition("0,0,-0,%d", height);
}

std::string FooterPosition(int height) {
    return FormatPosition("0,-%d,-0,-0", height);
}

bool IsFullHeight(const char* heightText) {
    if (heightText == nullptr) {
        return false;
    }
    static const char kFull[] = "full";
    for (size_t i = 0; i < sizeof kFull; ++i) {
        // Includes the terminator, so a longer text does not match.
        if (LowerAscii(heightText[i]) != kFull[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace velora
