#include "controls/image_controls.h"

#include <oleacc.h>

#include <algorithm>
#include <climits>

#include "controls/paint_helpers.h"
#include "markup/attribute_reader.h"
#include "markup/gdiplus_runtime.h"
#include "markup/value_parsers.h"
#include "ui/accessible_actions.h"
#include "ui/text_painter.h"

namespace velora {

ClipParams ClipParams::Parse(const std::string& text) {
    ClipParams params;
    std::size_t start = 0;
    while (start <= text.size() && params.count_ < kMax) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start) {
            params.values_[params.count_++] = ParseDecimal(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return params;
}

bool CBkImageWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageWnd::Load(const TiXmlElement* element) {
    const bool loaded = CBkWindow::Load(element);
    if (loaded) {
        UpdateGroup();
    }
    return loaded;
}

bool CBkImageWnd::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const auto group = [this, loading](const std::string& text) {
        group_ = text;
        if (!loading) {
            UpdateGroup();
        }
        return true;
    };
    const auto clip = [this](const std::string& text) {
        clipParams_ = ClipParams::Parse(text);
        return true;
    };
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Apply("group", group) ||
           r.Apply("clipparam", clip) || r.Text("skin", skin_) || r.Int("sub", sub_) ||
           r.Text("ico", ico_) || r.Int("ico_top", icoTop_) || r.WideText("caption", caption_) ||
           r.Int("caption_top", captionTop_) || r.Text("mask", mask_) ||
           r.Int("cliptype", clipType_) || r.Int("alpha", alpha_);
}

void CBkImageWnd::UpdateGroup() {
    if (group_.empty()) {
        membership_.Leave();
    } else {
        membership_.Join(group_);
    }
}

namespace {

constexpr int kClipNone = 0;
constexpr int kClipPie = 1;
constexpr int kClipRectangle = 2;
constexpr int kClipRotated = 3;
// Smoothing modes: high quality, then anti-alias, as the clip edge wants.
constexpr int kSmoothingHighQuality = 4;
constexpr int kSmoothingAntiAlias = 2;
constexpr UINT kCaptionFormat = DT_CENTER | DT_SINGLELINE;

// The clip figure for `clipType` 1 (pie) or 2 (rectangle); empty for any
// other type, which then draws nothing.
gdip::ScopedPath MakeClipPath(int clipType, const ClipParams& p, const RECT& rect) {
    const gdip::Api* api = gdip::Functions();
    gdip::ScopedPath path;
    if (api == nullptr ||
        api->GdipCreatePath(gdip::kFillModeAlternate, path.Receive()) != gdip::kOk) {
        path.Release();
        return path;
    }
    const INT x = rect.left + p.At(0);
    const INT y = rect.top + p.At(1);
    if (clipType == kClipPie) {
        api->GdipAddPathPieI(path.Get(), x, y, p.At(2), p.At(3), static_cast<float>(p.At(4)),
                             static_cast<float>(p.At(5)));
    } else if (clipType == kClipRectangle) {
        api->GdipAddPathRectangleI(path.Get(), x, y, p.At(2), p.At(3));
    }
    api->GdipClosePathFigure(path.Get());
    return path;
}

// Image attributes that scale alpha by `alpha` percent; empty when negative.
gdip::ScopedImageAttributes MakeOpacity(int alpha) {
    gdip::ScopedImageAttributes attributes;
    if (alpha < 0) {
        return attributes;
    }
    const gdip::Api* api = gdip::Functions();
    if (api->GdipCreateImageAttributes(attributes.Receive()) != gdip::kOk) {
        attributes.Release();
        return attributes;
    }
    gdip::ColorMatrix matrix = {};
    for (int i = 0; i < 5; ++i) {
        matrix.m[i][i] = 1.0f;
    }
    matrix.m[3][3] = static_cast<float>(alpha) / 100.0f;
    api->GdipSetImageAttributesColorMatrix(attributes.Get(), gdip::kColorAdjustTypeDefault, TRUE,
                                           &matrix, nullptr, gdip::kColorMatrixFlagsDefault);
    return attributes;
}

void DrawClipped(HDC dc, CBkSkinBase& skin, const RECT& rect, int clipType, const ClipParams& clip,
                 int alpha) {
    gdip::ScopedGraphics graphics = gdip::GraphicsOnDc(dc);
    if (!graphics) {
        return;
    }
    gdip::ScopedPath path = MakeClipPath(clipType, clip, rect);
    if (!path) {
        return;
    }
    const gdip::Api* api = gdip::Functions();
    api->GdipSetSmoothingMode(graphics.Get(), kSmoothingHighQuality);
    api->GdipSetSmoothingMode(graphics.Get(), kSmoothingAntiAlias);
    api->GdipSetClipPath(graphics.Get(), path.Get(), gdip::kCombineModeReplace);
    const gdip::ScopedImageAttributes opacity = MakeOpacity(alpha);
    const RECT source = {0, 0, RectWidth(rect), RectHeight(rect)};
    skin.DrawPart(graphics.Get(), rect, source, opacity.Get());
}

void DrawTurned(HDC dc, CBkSkinBase& skin, const RECT& rect, const ClipParams& p) {
    const POINT corners[3] = {{rect.left + p.At(0), rect.top + p.At(1)},
                              {rect.left + p.At(2), rect.top + p.At(3)},
                              {rect.left + p.At(4), rect.top + p.At(5)}};
    const RECT source = {0, 0, RectWidth(rect), RectHeight(rect)};
    skin.DrawRotated(dc, corners, source);
}

}  // namespace

SIZE CBkImageWnd::MeasureContent(SIZE available) {
    SIZE size = CBkWindow::MeasureContent(available);
    if (CBkSkinBase* skin = SkinByName(skin_)) {
        const SIZE cell = skin->GetSkinSize();
        if (cell.cx != 0) {
            size.cx = cell.cx;
        }
        if (cell.cy != 0) {
            size.cy = cell.cy;
        }
    }
    return size;
}

void CBkImageWnd::PaintContent(HDC dc) {
    CBkSkinBase* skin = SkinByName(skin_);
    if (dc == nullptr || skin == nullptr) {
        return;
    }
    const RECT& rect = Rect();
    switch (std::max(clipType_, kClipNone)) {
        case kClipNone:
            skin->Draw(dc, rect, sub_);
            break;
        case kClipRotated:
            DrawTurned(dc, *skin, rect, clipParams_);
            break;
        default:
            DrawClipped(dc, *skin, rect, clipType_, clipParams_, alpha_);
            break;
    }
}

std::wstring CBkImageWnd::AccessibleNameFromContent() const {
    return GetToolTipText().empty() ? caption_ : GetToolTipText();
}

DWORD CBkImageBtnWnd::AccessibleRole() const {
    return ROLE_SYSTEM_PUSHBUTTON;
}

std::wstring CBkImageBtnWnd::AccessibleDefaultAction() const {
    return kActionPress;
}

bool CBkImageBtnWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageBtnWnd::HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT& result) {
    if (message != WM_LBUTTONUP) {
        return CBkImageWnd::HandleMessage(host, message, wParam, lParam, result);
    }
    result = 0;
    OnButtonUp();
    SetMessageHandled(true);
    return true;
}

void CBkImageBtnWnd::OnButtonUp() {
    if (Group().empty()) {
        return;
    }
    if (Has(State(), ControlState::kChecked)) {
        ModifyState(ControlState::kNone,
                    ControlState::kChecked);  // a second click clears the selection
    } else {
        ModifyState(ControlState::kChecked, ControlState::kNone);
        UncheckOtherGroupMembers(Group(), Handle());
    }
    RequestRepaint();
}

void CBkImageBtnWnd::PaintContent(HDC dc) {
    if (dc == nullptr) {
        return;
    }
    ScopedTextDc prepared(dc, *this);
    if (CBkSkinBase* skin = SkinByName(Skin())) {
        const bool selection = !Group().empty() && AnyGroupMemberChecked(Group());
        skin->Draw(dc, Rect(), ImageButtonSkinIndex(State(), IsDisabled(), selection));
    }
    DrawIcon(dc);
    DrawCaption(dc);
}

void CBkImageBtnWnd::DrawIcon(HDC dc) const {
    CBkSkinBase* icon = SkinByName(Icon());
    if (icon == nullptr) {
        return;
    }
    const RECT& rect = Rect();
    const SIZE size = icon->GetSkinSize();
    const LONG x = rect.left + (RectWidth(rect) - size.cx) / 2;
    const LONG y =
        IconTop() >= 1 ? rect.top + IconTop() : rect.top + (RectHeight(rect) - size.cy) / 2;
    const RECT target = {x, y, x + size.cx, y + size.cy};
    icon->Draw(dc, target, 0);
    if (!Has(State(), ControlState::kChecked | ControlState::kHover)) {
        if (CBkSkinBase* mask = SkinByName(Mask())) {
            mask->Draw(dc, rect, 0);
        }
    }
}

void CBkImageBtnWnd::DrawCaption(HDC dc) const {
    const std::wstring& caption = Caption();
    if (caption.empty()) {
        return;
    }
    SIZE extent = {};
    const int length = static_cast<int>(std::min<std::size_t>(caption.size(), INT_MAX));
    ::GetTextExtentPoint32W(dc, caption.c_str(), length, &extent);
    const RECT target = ImageButtonCaptionRect(Rect(), CaptionTop(), extent);
    DrawFixedFormatText(dc, caption, target, kCaptionFormat, false, ::GetTextColor(dc), 0);
}

int ImageButtonSkinIndex(ControlState state, bool disabled, bool groupHasSelection) {
    if (groupHasSelection) {
        if (Has(state, ControlState::kChecked | ControlState::kPushed)) {
            return 2;
        }
        return Has(state, ControlState::kHover) ? 1 : 0;
    }
    if (disabled) {
        return 3;
    }
    if (Has(state, ControlState::kPushed)) {
        return 2;
    }
    return Has(state, ControlState::kHover) ? 1 : 0;
}

RECT ImageButtonCaptionRect(const RECT& control, int captionTop, SIZE caption) {
    RECT rect = {control.left, control.top + captionTop, control.right,
                 control.top + captionTop + caption.cy};
    const LONG width = RectWidth(control);
    if (width < caption.cx) {
        // An odd excess goes to the right so the text is never cut by a pixel.
        const LONG excess = caption.cx - width;
        rect.left -= excess / 2;
        rect.right += excess - excess / 2;
    }
    return rect;
}

}  // namespace velora
