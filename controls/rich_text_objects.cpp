#include "controls/rich_text_objects.h"

#include <tinyxml.h>

#include <utility>

#include "markup/attribute_reader.h"
#include "markup/style_pool.h"
#include "markup/value_parsers.h"
#include "markup/xml_document.h"
#include "ui/bk_window.h"

namespace velora {
namespace {

bool BothSetAndDifferent(COLORREF a, COLORREF b) {
    return a != kNoColor && b != kNoColor && a != b;
}

}  // namespace

// ---- CBkRichAtomObj ---------------------------------------------------------

void CBkRichAtomObj::InvalidateSelf() {
    if (container_ != nullptr) {
        container_->InvalidateRichRect(rect_);
    }
}

IBkRichtextObj* CBkRichAtomObj::HitTest(float x, float y) {
    return rect_.Contains(x, y) ? this : nullptr;
}

const BkStyle& CBkRichAtomObj::Style() const {
    return BkStylePool::Instance().Get(std::string());
}

void CBkRichAtomObj::SetObjectCursor() const {
    ::SetCursor(::LoadCursorW(nullptr, Style().cursor));
}

const std::wstring& CBkRichAtomObj::Text() const {
    static const std::wstring empty;
    return empty;
}

std::unique_ptr<IRichTextGraphics> CBkRichAtomObj::CreateGraphics(HDC dc) const {
    return container_ != nullptr ? container_->CreateGraphics(dc, Style(), State()) : nullptr;
}

// ---- CBkRichtextObjBase -----------------------------------------------------

ControlState CBkRichtextObjBase::ModifyState(ControlState add, ControlState remove) {
    const ControlState old = state_;
    state_ = (old | add) & ~remove;
    if (state_ != old && NeedsRepaintOnHover() && Container() != nullptr) {
        Container()->InvalidateControl();
    }
    return old;
}

bool CBkRichtextObjBase::SetAttribute(const std::string& name, const std::string& value) {
    const AttributeReader r(name, value);
    return r.Int("id", id_) || r.Int("notifymsg", notifyMsg_);
}

bool CBkRichtextObjBase::Load(const TiXmlElement* element) {
    if (element == nullptr) {
        return false;
    }
    SetText(Utf8ToUtf16(ElementText(element)));
    for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) {
        SetAttribute(a->Name() ? a->Name() : "", a->Value() ? a->Value() : "");
    }
    return true;
}

// ---- CBkRichOffsetObj / CBkRichBreakObj ----------------------------------

bool CBkRichOffsetObj::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRichOffsetObj::SetAttribute(const std::string& name, const std::string& value) {
    return CBkRichtextObjBase::SetAttribute(name, value) ||
           AttributeReader(name, value).Int("length", length_);
}

void CBkRichOffsetObj::Layout(RichTextLayoutPass& pass) {
    FlowOffset(pass.flow, length_);
}

bool CBkRichBreakObj::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

void CBkRichBreakObj::Layout(RichTextLayoutPass& pass) {
    FlowBreak(pass.flow);
}

// ---- CBkRichTextSubTextObj ------------------------------------------------

CBkRichTextSubTextObj::CBkRichTextSubTextObj(IBkRichtextContainerWnd* container,
                                             IBkRichtextObj* run, const RichRect& rect,
                                             std::wstring text)
    : CBkRichAtomObj(container, run), text_(std::move(text)) {
    SetRect(rect);
}

bool CBkRichTextSubTextObj::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

const BkStyle& CBkRichTextSubTextObj::Style() const {
    return Parent() != nullptr ? Parent()->Style() : CBkRichAtomObj::Style();
}

ControlState CBkRichTextSubTextObj::State() const {
    return Parent() != nullptr ? Parent()->State() : ControlState::kNone;
}

void CBkRichTextSubTextObj::PaintWith(IRichTextGraphics& graphics) const {
    graphics.FillBackground(GetRect());
    graphics.DrawString(text_.c_str(), static_cast<int>(text_.size()), GetRect());
}

// ---- CBkRichtextObj ---------------------------------------------------------

bool CBkRichtextObj::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRichtextObj::SetAttribute(const std::string& name, const std::string& value) {
    const AttributeReader r(name, value);
    return CBkRichtextObjBase::SetAttribute(name, value) || r.Text("class", className_) ||
           r.Int("adjust", adjust_);
}

IBkRichtextObj* CBkRichtextObj::HitTest(float x, float y) {
    for (const auto& piece : pieces_) {
        if (piece->GetRect().Contains(x, y)) {
            return this;
        }
    }
    return nullptr;
}

const BkStyle& CBkRichtextObj::Style() const {
    return BkStylePool::Instance().Get(className_);
}

bool CBkRichtextObj::NeedsRepaintOnHover() const {
    const BkStyle& style = Style();
    return BothSetAndDifferent(style.crHover, style.crText) ||
           (style.hoverFont != nullptr && style.font != nullptr && style.hoverFont != style.font) ||
           BothSetAndDifferent(style.crBgHover, style.crBg);
}

void CBkRichtextObj::SetText(const std::wstring& text) {
    CBkRichtextObjBase::SetText(text);
    pieces_.clear();
    if (Container() != nullptr) {
        Container()->RequestLayout();
    }
}

void CBkRichtextObj::Layout(RichTextLayoutPass& pass) {
    pieces_.clear();
    std::unique_ptr<IRichTextGraphics> graphics = CreateGraphics(pass.dc);
    if (!graphics) {
        return;
    }
    if (graphics->WholePixels()) {
        FlowStartOnWholePixel(pass.flow);
    }
    const std::wstring& text = Text();
    const float shift = static_cast<float>(adjust_);
    for (const RichTextPiece& piece : FlowRunPieces(text, *graphics, pass.flow, pass.fit)) {
        RichRect rect = piece.rect;
        rect.top += shift;
        rect.bottom += shift;
        pieces_.push_back(std::make_unique<CBkRichTextSubTextObj>(
            Container(), this, rect, text.substr(piece.start, piece.count)));
    }
}

void CBkRichtextObj::Paint(HDC dc, const RECT& clipBox) {
    std::unique_ptr<IRichTextGraphics> graphics;
    for (const auto& piece : pieces_) {
        if (!piece->MeetsRegion(clipBox)) {
            continue;
        }
        if (!graphics) {
            graphics = CreateGraphics(dc);  // only when something shows
            if (!graphics) {
                return;
            }
        }
        piece->PaintWith(*graphics);
    }
}

std::unique_ptr<IBkRichtextObj> CreateRichObject(const char* tag,
                                                 IBkRichtextContainerWnd* container) {
    if (MatchesTag(tag, CBkRichtextObj::kTag)) {
        return std::make_unique<CBkRichtextObj>(container);
    }
    if (MatchesTag(tag, CBkRichBreakObj::kTag)) {
        return std::make_unique<CBkRichBreakObj>(container);
    }
    if (MatchesTag(tag, CBkRichOffsetObj::kTag)) {
        return std::make_unique<CBkRichOffsetObj>(container);
    }
    return nullptr;
}

}  // namespace velora
