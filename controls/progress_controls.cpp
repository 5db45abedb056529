#include "controls/progress_controls.h"

#include <oleacc.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "base/gdi_scopes.h"
#include "controls/paint_helpers.h"
#include "markup/attribute_reader.h"
#include "markup/style_pool.h"
#include "ui/text_painter.h"
#include "base/bounded_format.h"

namespace velora {
namespace {

constexpr UINT kPercentFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
constexpr int kCorner = 2;
constexpr COLORREF kDefaultLightText = RGB(255, 255, 255);

bool IsEmptyArea(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

// `area` with its right edge at the fraction of its width; never inverted.
RECT CutToFraction(RECT area, double fraction) {
    const LONG width = std::max<LONG>(RectWidth(area), 0);
    area.right = area.left + static_cast<LONG>(width * fraction);
    return area;
}

void DrawText(HDC dc, const std::wstring& text, RECT rect) {
    const int length = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    ::DrawTextW(dc, text.c_str(), length, &rect, kPercentFormat);
}

// Outlined rounded rectangle filled with the plain fill colour.
void DrawPlainBlock(HDC dc, const RECT& rect) {
    if (IsEmptyArea(rect)) {
        return;
    }
    ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, kCorner, kCorner);
    const COLORREF old = ::SetBkColor(dc, CBkProgress::kFillColor);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

}  // namespace

bool CBkProgress::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkProgress::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Text("bgskin", bgSkin_) ||
           r.Text("posskin", posSkin_) || r.Int("skinposx", skinPosX_) || r.Unsigned("min", min_) ||
           r.Unsigned("max", max_) || r.Unsigned("value", value_) ||
           r.Int("showpercent", showPercent_) || r.Int("progressbar", progressBar_);
}

double CBkProgress::Fraction() {
    if (max_ == min_) {
        return 0.0;
    }
    if (max_ < min_) {
        std::swap(min_, max_);
    }
    value_ = std::clamp(value_, min_, max_);
    return static_cast<double>(value_ - min_) / static_cast<double>(max_ - min_);
}

int CBkProgress::Percent() {
    Fraction();  // orders and clamps the stored values
    return PercentOf(min_, max_, value_);
}

int CBkProgress::PercentOf(std::uint32_t min, std::uint32_t max, std::uint32_t value) {
    if (max == min) {
        return 0;
    }
    if (max < min) {
        std::swap(min, max);
    }
    const std::uint64_t done = std::clamp(value, min, max) - min;
    return static_cast<int>(done * 100u / (max - min));
}

DWORD CBkProgress::AccessibleRole() const {
    return ROLE_SYSTEM_PROGRESSBAR;
}

std::wstring CBkProgress::AccessibleValue() const {
    return DecimalText(PercentOf(min_, max_, value_)) + L"%";
}

SIZE CBkProgress::MeasureContent(SIZE available) {
    SIZE size = CBkWindow::MeasureContent(available);
    if (CBkSkinBase* background = SkinByName(bgSkin_)) {
        // A skin without a picture has no height to give.
        const LONG height = background->GetSkinSize().cy;
        if (height != 0) {
            size.cy = height;
        }
    }
    return size;
}

std::wstring CBkProgress::PercentText(int percent) const {
    return DecimalText(percent) + L"%";
}

LONG CBkProgress::FillSkinInset(LONG width) const {
    // Compared unsigned: a negative inset counts as huge and yields half.
    return static_cast<LONG>(
        std::min(static_cast<std::uint32_t>(skinPosX_), static_cast<std::uint32_t>(width / 2)));
}

RECT CBkProgress::PlainFillArea(const RECT& control) const {
    RECT area = control;
    ::InflateRect(&area, -kPlainInset, -kPlainInset);
    return area;
}

void CBkProgress::PaintContent(HDC dc) {
    if (dc == nullptr) {
        return;
    }
    CBkSkinBase* background = SkinByName(bgSkin_);
    CBkSkinBase* position = SkinByName(posSkin_);
    ScopedTextDc prepared(dc, *this);
    const RECT& rect = Rect();
    const std::wstring text = PercentText(Percent());
    const double fraction = Fraction();
    RECT fill = {};
    {
        ScopedPen pen(::CreatePen(PS_SOLID, 1, kOutlineColor));
        ScopedSelectObject selectedPen(dc, pen.Get());
        if (background != nullptr) {
            background->Draw(dc, rect, 0);
        } else {
            ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, kCorner, kCorner);
        }
        if (showPercent_) {
            DrawText(dc, text, rect);
        }
        if (progressBar_) {
            fill = PaintMarqueeStep(dc);
        } else if (position != nullptr) {
            const SIZE cell = position->GetSkinSize();
            const LONG inset = FillSkinInset(RectWidth(rect));
            const LONG trim = (RectHeight(rect) - cell.cy) / 2;
            fill = CutToFraction(
                {rect.left + inset, rect.top + trim, rect.right - inset, rect.bottom - trim},
                fraction);
            if (!IsEmptyArea(fill)) {
                position->Draw(dc, fill, 0);
            }
        } else {
            fill = CutToFraction(PlainFillArea(rect), fraction);
            DrawPlainBlock(dc, fill);
        }
    }
    if (showPercent_ && !IsEmptyArea(fill)) {
        // The part of the text over the fill shows in the light colour.
        const BkStyle& style = Style();
        COLORREF light = OwnBackgroundColor() != kNoColor ? OwnBackgroundColor() : style.crBg;
        if (light == kNoColor) {
            light = kDefaultLightText;
        }
        ScopedClipRect clip(dc, fill);
        const COLORREF old = ::SetTextColor(dc, light);
        DrawText(dc, text, rect);
        ::SetTextColor(dc, old);
    }
}

void CBkProgress::RestartMarquee(const RECT& control) {
    marquee_ = control;
    ::InflateRect(&marquee_, -kPlainInset, -kPlainInset);
    marquee_.right = marquee_.left;
}

RECT CBkProgress::PaintMarqueeStep(HDC dc) {
    const RECT& control = Rect();
    if (marqueeFirstPaint_) {
        RestartMarquee(control);
        marqueeStartX_ = marquee_.left;
        marqueeFirstPaint_ = false;
    }
    if (marquee_.right <= marqueeStartX_ + kMarqueeGrowth) {
        marquee_.right += kMarqueeStep;  // growing
    } else if (marquee_.right <= control.right) {
        ::OffsetRect(&marquee_, kMarqueeStep, 0);  // sliding
    } else {
        marquee_.left += kMarqueeStep;  // shrinking into the right end
        marquee_.right = control.right;
        if (marquee_.left >= control.right) {
            const int start = marqueeStartX_;
            RestartMarquee(control);
            marqueeStartX_ = start;
        }
    }
    // The block may run past the bar for a step; it is drawn inside it.
    RECT inner = control;
    ::InflateRect(&inner, -kPlainInset, -kPlainInset);
    RECT shown = {};
    ::IntersectRect(&shown, &marquee_, &inner);
    DrawPlainBlock(dc, shown);
    return control;
}

bool CBkProgressEx::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkProgressEx::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkProgress::SetAttribute(name, value, loading) ||
           r.WideText("extendtext", extendText_) || r.Int("posimg_left", posImgLeft_);
}

std::wstring CBkProgressEx::PercentText(int percent) const {
    return CBkProgress::PercentText(percent) + extendText_;
}

LONG CBkProgressEx::FillSkinInset(LONG /*width*/) const {
    return posImgLeft_;
}

RECT CBkProgressEx::PlainFillArea(const RECT& control) const {
    RECT area = control;
    ::InflateRect(&area, -posImgLeft_, -kPlainInset);
    return area;
}

}  // namespace velora
