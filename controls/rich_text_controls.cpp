#include "controls/rich_text_controls.h"

#include <utility>

#include "ui/host_link.h"
#include "base/gdi_scopes.h"
#include "controls/rich_text_gdi_graphics.h"
#include "controls/rich_text_input.h"
#include "controls/rich_text_layout.h"
#include "markup/attribute_reader.h"
#include "markup/font_pool.h"
#include "markup/style_pool.h"
#include "ui/notification.h"
#include "ui/text_painter.h"

namespace velora {
bool CBkRichText::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRichText::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Hex("defaultfont", defaultFont_) ||
           r.Text("linkclass", linkClass_) || r.Int("forcecursor", forceCursor_) ||
           r.Int("adjustpos", adjustPos_) || r.Int("autoadjustyahei", autoAdjustYaHei_);
}

bool CBkRichText::Load(const TiXmlElement* element) {
    if (!CBkWindow::Load(element)) {
        return false;
    }
    document_ = ParseInlineRichText(element, defaultFont_, Dialect());
    pieces_.clear();
    hoverLink_ = -1;
    pressedLink_ = -1;
    layoutNeeded_ = true;
    return true;
}

RichTextLook CBkRichText::RunLook(std::size_t index, bool hovered) const {
    const InlineRichRun& run = document_.runs[index];
    const BkStyle& style = Style();
    RichTextLook look;
    look.font = BkFontPool::Instance().GetFont(run.fontCode);
    COLORREF color = run.color;
    if (run.link >= 0) {
        const BkStyle& link = BkStylePool::Instance().Get(linkClass_);
        if (link.font != nullptr) {
            look.font = link.font;
        }
        if (link.crText != kNoColor) {
            color = link.crText;
        }
        if (hovered) {
            if (link.hoverFont != nullptr) {
                look.font = link.hoverFont;
            }
            if (link.crHover != kNoColor) {
                color = link.crHover;
            }
        }
    }
    if (color == kNoColor) {
        color = OwnTextColor() != kNoColor ? OwnTextColor() : style.crText;
    }
    look.text = color != kNoColor ? color : RGB(0, 0, 0);
    return look;
}

void CBkRichText::LayOut(HDC dc) {
    const BkStyle& style = Style();
    RECT box = Rect();
    ::InflateRect(&box, -style.xMargin, -style.yMargin);
    RichTextFlow flow;
    flow.left = static_cast<float>(box.left);
    flow.top = static_cast<float>(box.top);
    flow.right = static_cast<float>(box.right);
    flow.lineHeight = static_cast<float>(style.lineSpacing);
    flow.x = flow.left;
    flow.y = flow.top;
    pieces_.clear();
    for (std::size_t index = 0; index < document_.runs.size(); ++index) {
        const InlineRichRun& run = document_.runs[index];
        if (run.kind == InlineRichRun::Kind::kBreak) {
            FlowBreak(flow);
            continue;
        }
        if (run.kind == InlineRichRun::Kind::kOffset) {
            FlowOffset(flow, run.offset);
            continue;
        }
        // Measured in the plain look, so hovering a link never reflows the text.
        CRichTextGdiGraphics graphics(dc, run.vAlign | DT_SINGLELINE, RunLook(index, false));
        FlowStartOnWholePixel(flow);
        for (const RichTextPiece& piece : FlowRunPieces(run.text, graphics, flow)) {
            Piece laid;
            laid.run = index;
            laid.rect = piece.rect;
            laid.rect.top += static_cast<float>(adjustPos_);
            laid.rect.bottom += static_cast<float>(adjustPos_);
            laid.text = run.text.substr(piece.start, piece.count);
            pieces_.push_back(std::move(laid));
        }
    }
    contentBottom_ = flow.y + flow.lineHeight;
    layoutNeeded_ = false;
}

void CBkRichText::PaintContent(HDC dc) {
    if (dc == nullptr) {
        return;
    }
    if (layoutNeeded_) {
        LayOut(dc);
    }
    const ScopedClipRect clip(dc, Rect());
    RECT clipBox = {};
    if (::GetClipBox(dc, &clipBox) == NULLREGION) {
        return;
    }
    const BkFontPool& fonts = BkFontPool::Instance();
    for (const Piece& piece : pieces_) {
        if (!piece.rect.Intersects(clipBox)) {
            continue;
        }
        const InlineRichRun& run = document_.runs[piece.run];
        const RichTextLook look = RunLook(piece.run, run.link >= 0 && run.link == hoverLink_);
        const ScopedSelectObject font(dc, look.font);
        const COLORREF oldColor = ::SetTextColor(dc, look.text);
        RECT where = {static_cast<LONG>(piece.rect.left), static_cast<LONG>(piece.rect.top),
                      static_cast<LONG>(piece.rect.right), static_cast<LONG>(piece.rect.bottom)};
        if (autoAdjustYaHei_ != 0) {
            where = CorrectFixedFormatRect(where, run.vAlign, fonts.BaseFace(),
                                           fonts.GetSizeStep(look.font), fonts.BaseHeight());
        }
        ::TextOutW(dc, where.left, where.top, piece.text.c_str(),
                   static_cast<int>(piece.text.size()));
        ::SetTextColor(dc, oldColor);
    }
}

int CBkRichText::LinkAt(const RichPoint& point) const {
    for (const Piece& piece : pieces_) {
        const int link = document_.runs[piece.run].link;
        if (link >= 0 && piece.rect.Contains(point.x, point.y)) {
            return link;
        }
    }
    return -1;
}

void CBkRichText::SetControlCursor() {
    if (hoverLink_ >= 0 || forceCursor_ != 0) {
        ::SetCursor(::LoadCursorW(nullptr, BkStylePool::Instance().Get(linkClass_).cursor));
    } else {
        CBkWindow::SetControlCursor();
    }
}

void CBkRichText::SetHoverLink(int link) {
    if (link != hoverLink_) {
        hoverLink_ = link;
        RequestRepaint();
    }
}

void CBkRichText::NotifyLinkClick(int link) const {
    HWND host = Host();
    if (host == nullptr || link < 0 || link >= static_cast<int>(document_.linkIds.size())) {
        return;
    }
    BkNotify record = {};
    record.hdr.hwndFrom = host;
    record.hdr.idFrom = kHostNotifySource;
    record.hdr.code = kNotifyClick;
    record.controlId = static_cast<UINT>(document_.linkIds[link]);
    record.classTag = "a";
    NotifyHost(host, kHostNotifySource, record.hdr);
}

bool CBkRichText::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT& result) {
    switch (message) {
        case WM_WINDOWPOSCHANGED: {
            bool resized = false;
            const bool handled = TakeNewPlacement(*this, host, wParam, lParam, result, resized);
            layoutNeeded_ = layoutNeeded_ || resized;
            return handled;
        }
        case WM_MOUSEMOVE:
            SetHoverLink(LinkAt(RichPointFromLParam(lParam)));
            break;
        case WM_LBUTTONDOWN:
            pressedLink_ = LinkAt(RichPointFromLParam(lParam));
            break;
        case WM_LBUTTONUP: {
            const int pressed = pressedLink_;
            pressedLink_ = -1;
            if (pressed >= 0 && LinkAt(RichPointFromLParam(lParam)) == pressed) {
                NotifyLinkClick(pressed);
            }
            break;
        }
        case WM_MOUSELEAVE:
            pressedLink_ = -1;
            SetHoverLink(-1);
            break;
        default:
            break;
    }
    return CBkWindow::HandleMessage(host, message, wParam, lParam, result);
}

bool CBkRichTextEx::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

}  // namespace velora
