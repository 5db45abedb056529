#include "ui/layout_sections.h"

#include <algorithm>
#include <limits>

#include <tinyxml.h>

#include "markup/resource_loader.h"
#include "markup/xml_document.h"

namespace velora {
namespace {

// Section heights come straight from markup, so the sums below may leave the
// 32-bit range; they are taken in 64 bits and pinned to it.
std::int32_t Pin(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void Place(CBkDialog& section, std::int64_t x, std::int64_t y, std::int64_t width,
           std::int64_t height) {
    WINDOWPOS placement = {};
    placement.x = Pin(x);
    placement.y = Pin(y);
    placement.cx = Pin(width);
    placement.cy = Pin(height);
    section.Place(placement);
}

}  // namespace

CBkLayoutSections::~CBkLayoutSections() {
    DestroyAll();
}

void CBkLayoutSections::SetTiers(IBkControlCreator* standardTier, IBkControlCreator* creator) {
    for (CBkDialog* section : {&header_, &body_, &footer_}) {
        section->SetStandardTier(standardTier);
        section->SetCreator(creator);
    }
}

void CBkLayoutSections::SetHost(HWND host) {
    host_ = host;
    for (CBkDialog* section : {&header_, &body_, &footer_}) {
        section->SetContainer(host);
    }
}

BkLayoutLoad CBkLayoutSections::Load(UINT id) {
    std::string text;
    if (!BkResourceLoader::Instance().LoadDocument(id, text)) {
        return BkLayoutLoad::kMissing;
    }
    return LoadText(text);
}

BkLayoutLoad CBkLayoutSections::LoadText(const std::string& text) {
    ResetForLoad(description_);
    DestroyAll();

    BkXmlDocument document;
    if (!document.Parse(text, kLayoutRootTag)) {
        return BkLayoutLoad::kRejected;
    }
    const TiXmlElement* layer = document.Root();
    ReadLayerAttributes(layer, description_);

    bool headerFull = false;
    const TiXmlElement* header = layer->FirstChildElement(kHeaderTag);
    // A missing element fails the section's own load and leaves it empty.
    description_.headerPresent = header_.Load(header);
    if (description_.headerPresent) {
        header_.SetAttribute("pos", HeaderPosition(AttributeInt(header, "height")), true);
        headerFull = IsFullHeight(AttributeText(header, "height"));
    }

    const TiXmlElement* footer = layer->FirstChildElement(kFooterTag);
    description_.footerPresent = footer_.Load(footer);
    if (description_.footerPresent) {
        footer_.SetAttribute("pos", FooterPosition(AttributeInt(footer, "height")), true);
    }

    description_.bodyPresent = body_.Load(layer->FirstChildElement(kBodyTag));
    if (description_.bodyPresent) {
        body_.SetAttribute("pos", kFillPosition, true);
    }

    // A "full" header fills the window only when it is alone in it.
    if (headerFull && !description_.bodyPresent && !description_.footerPresent) {
        header_.SetAttribute("pos", kFillPosition, true);
    }

    description_.loaded = true;
    if (host_ != nullptr && ::IsWindow(host_)) {
        LayoutToHostClient();
        return BkLayoutLoad::kLoadedIntoWindow;
    }
    return BkLayoutLoad::kLoaded;
}

void CBkLayoutSections::Layout(std::int32_t width, std::int32_t height) {
    std::int64_t headerBottom = 0;
    if (description_.headerPresent) {
        Place(header_, 0, 0, width, height);
        headerBottom = header_.Rect().bottom;
    }

    // The footer's list measures from the bottom of whatever it is given:
    // once to learn its height, then again in a band of exactly that height.
    std::int64_t footerTop = 0;
    std::int64_t footerBottom = 0;
    if (description_.footerPresent) {
        Place(footer_, 0, 0, width, height);
        const RECT first = footer_.Rect();
        Place(footer_, 0, static_cast<std::int64_t>(first.top) + height - first.bottom, width,
              static_cast<std::int64_t>(first.bottom) - first.top);
        footerTop = footer_.Rect().top;
        footerBottom = footer_.Rect().bottom;
    }

    if (description_.bodyPresent) {
        // Without a footer both footer terms are 0 and the body reaches H.
        Place(body_, 0, headerBottom, width, footerTop + height - footerBottom - headerBottom);
    }
}

bool CBkLayoutSections::LayoutToHostClient() {
    RECT client = {};
    if (host_ == nullptr || !::GetClientRect(host_, &client) || client.right - client.left == 0) {
        return false;
    }
    Layout(client.right - client.left, client.bottom - client.top);
    return true;
}

CBkWindow* CBkLayoutSections::FindControlById(std::int32_t id) {
    for (CBkDialog* section : {&header_, &body_, &footer_}) {
        if (CBkWindow* found = section->FindChildById(id)) {
            return found;
        }
    }
    return nullptr;
}

std::int32_t CBkLayoutSections::HitTest(int x, int y, bool headerOnly) {
    if (const std::int32_t hit = header_.HitTest(x, y)) {
        return hit;
    }
    if (headerOnly) {
        return 0;
    }
    if (const std::int32_t hit = body_.HitTest(x, y)) {
        return hit;
    }
    return footer_.HitTest(x, y);
}

void CBkLayoutSections::DestroyAll() {
    for (CBkDialog* section : {&header_, &body_, &footer_}) {
        section->SendControlMessage(WM_DESTROY);
    }
}

}  // namespace velora
