#include "controls/skin_image_controls.h"

#include <algorithm>
#include <cmath>

#include "base/gdi_scopes.h"
#include "controls/skin_cells.h"
#include "markup/attribute_reader.h"
#include "markup/dib32.h"
#include "markup/nine_grid.h"

namespace velora {

bool CBkImageBg::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageBg::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Text("skin", skin_) ||
           r.Int("fill", fill_) || r.Int("cx", cx_) || r.Int("cy", cy_);
}

bool CBkImageScroll::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageScroll::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Text("skin", skin_) ||
           r.Int("hscroll", hScroll_) || r.Int("vscroll", vScroll_) || r.Int("cx", cx_) ||
           r.Int("cy", cy_) || r.Int("hpos", hPos_) || r.Int("vpos", vPos_);
}

bool CBkImageEx::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageEx::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Text("skin", skin_) ||
           r.Int("sub", sub_) || r.Int("alpha", alpha_);
}

bool CBkImageEx2::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageEx2::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkImageEx::SetAttribute(name, value, loading) || r.Int("stretch", stretch_) ||
           r.Int("topdraw", topDraw_);
}

bool CBkImageRotale::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImageRotale::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Int("angle", angle_) ||
           r.Int("sub", sub_) || r.Text("skin", skin_);
}

bool CBkImgGray::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkImgGray::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Text("skin", skin_) ||
           r.Int("gray", gray_);
}

bool CBkExpendImg::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkExpendImg::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Int("margin_left", margins_.left) ||
           r.Int("margin_top", margins_.top) || r.Int("margin_right", margins_.right) ||
           r.Int("margin_bottom", margins_.bottom) || r.Text("skin", skin_) ||
           r.Int("skinalpha", skinAlpha_);
}

}  // namespace velora

namespace velora {
namespace {

RECT WholeCell(SIZE cell) {
    return {0, 0, cell.cx, cell.cy};
}

// `value` kept inside 0..limit (0 when the limit is negative).
int KeepWithin(int value, int limit) {
    return std::max(0, std::min(value, limit));
}

// A picture control's natural size from the text size `measured`: a
// two-corner position keeps it; otherwise the skin's size, then `cx` / `cy`
// where they are set.
SIZE SkinSizedControl(const CBkWindow& control, SIZE measured, CBkSkinBase* skin, int cx, int cy) {
    if (control.Position().list.count == 4) {
        return measured;
    }
    SIZE size = ReplaceWithSkinSize(measured, skin);
    if (cx > 0) {
        size.cx = cx;
    }
    if (cy > 0) {
        size.cy = cy;
    }
    return size;
}

}  // namespace

// ---- imgbg --------------------------------------------------------------------

SIZE CBkImageBg::MeasureContent(SIZE available) {
    return SkinSizedControl(*this, CBkWindow::MeasureContent(available), FindSkin(skin_), cx_, cy_);
}

void CBkImageBg::PaintContent(HDC dc) {
    CBkSkinBase* skin = FindSkin(skin_);
    if (skin == nullptr) {
        return;
    }
    const RECT& rect = Rect();
    if (fill_ != 0) {
        skin->DrawTiled(dc, rect);
        return;
    }
    RECT area = rect;
    if (cx_ > 0) {
        area.right = std::min<LONG>(rect.right, rect.left + cx_);
    }
    if (cy_ > 0) {
        area.bottom = std::min<LONG>(rect.bottom, rect.top + cy_);
    }
    skin->Draw(dc, area, kSkinWholePicture);
}

// ---- scrollimg ------------------------------------------------------------------

SIZE CBkImageScroll::MeasureContent(SIZE available) {
    return SkinSizedControl(*this, CBkWindow::MeasureContent(available), FindSkin(skin_), cx_, cy_);
}

void CBkImageScroll::PaintContent(HDC dc) {
    CBkSkinBase* skin = FindSkin(skin_);
    if (skin == nullptr) {
        return;
    }
    const SIZE picture = skin->GetSkinSize();
    const RECT& rect = Rect();
    const int width = std::min(RectWidth(rect), static_cast<int>(picture.cx));
    const int height = std::min(RectHeight(rect), static_cast<int>(picture.cy));
    if (width <= 0 || height <= 0) {
        return;
    }
    // The window never leaves the picture, whatever the positions say.
    const int x = hScroll_ != 0 ? KeepWithin(hPos_, picture.cx - width) : 0;
    const int y = vScroll_ != 0 ? KeepWithin(vPos_, picture.cy - height) : 0;
    const RECT destination = {rect.left, rect.top, rect.left + width, rect.top + height};
    const RECT source = {x, y, x + width, y + height};
    skin->DrawPartAlpha(dc, destination, source, 255);
}

// ---- imgex ------------------------------------------------------------------------

SIZE CBkImageEx::MeasureContent(SIZE available) {
    return ReplaceWithSkinSize(CBkWindow::MeasureContent(available), FindSkin(skin_));
}

bool CBkImageEx::FindCell(CBkSkinBase*& skin, SIZE& cell, RECT& source) const {
    skin = FindSkin(skin_);
    if (skin == nullptr) {
        return false;
    }
    cell = skin->GetSkinSize();
    return CellSource(cell, sub_, source);
}

void CBkImageEx::PaintContent(HDC dc) {
    CBkSkinBase* skin = nullptr;
    SIZE cell = {};
    RECT source = {};
    if (FindCell(skin, cell, source)) {
        skin->DrawPartAlpha(dc, Rect(), source, alpha_);
    }
}

// ---- imgex2 -----------------------------------------------------------------------

SIZE CBkImageEx2::MeasureContent(SIZE available) {
    return SkinNaturalSize(*this, CBkWindow::MeasureContent(available), FindSkin(Skin()));
}

void CBkImageEx2::PaintContent(HDC dc) {
    CBkSkinBase* skin = nullptr;
    SIZE cell = {};
    RECT source = {};
    if (!FindCell(skin, cell, source)) {
        return;
    }
    // Rows above the picture do not exist: a negative start reads as 0.
    source.top = KeepWithin(topDraw_, cell.cy);
    const RECT& rect = Rect();
    if (stretch_ != 0) {
        if (source.bottom > source.top) {
            skin->DrawPartAlpha(dc, rect, source, Alpha());
        }
        return;
    }
    const int width = std::min(RectWidth(rect), static_cast<int>(cell.cx));
    const int height = std::min(RectHeight(rect), static_cast<int>(cell.cy - source.top));
    if (width <= 0 || height <= 0) {
        return;
    }
    const RECT destination = {rect.left, rect.top, rect.left + width, rect.top + height};
    source.right = source.left + width;
    source.bottom = source.top + height;
    skin->DrawPartAlpha(dc, destination, source, Alpha());
}

// ---- imgrotale -----------------------------------------------------------------

SIZE CBkImageRotale::MeasureContent(SIZE available) {
    return SkinNaturalSize(*this, CBkWindow::MeasureContent(available), FindSkin(skin_));
}

void CBkImageRotale::PaintContent(HDC dc) {
    CBkSkinBase* skin = FindSkin(skin_);
    RECT source = {};
    if (skin == nullptr || !CellSource(skin->GetSkinSize(), sub_, source)) {
        return;
    }
    const RECT& rect = Rect();
    if (angle_ % 360 == 0) {
        skin->DrawPartAlpha(dc, rect, source, 255);
        return;
    }
    // The control's corners turned about its centre give the parallelogram.
    const double radians = (angle_ % 360) * 3.14159265358979323846 / 180.0;
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    const double centreX = (static_cast<double>(rect.left) + rect.right) / 2.0;
    const double centreY = (static_cast<double>(rect.top) + rect.bottom) / 2.0;
    const auto turn = [&](LONG x, LONG y) {
        const double dx = x - centreX;
        const double dy = y - centreY;
        return POINT{static_cast<LONG>(std::lround(centreX + dx * cosine - dy * sine)),
                     static_cast<LONG>(std::lround(centreY + dx * sine + dy * cosine))};
    };
    const POINT corners[3] = {turn(rect.left, rect.top), turn(rect.right, rect.top),
                              turn(rect.left, rect.bottom)};
    skin->DrawRotated(dc, corners, source);
}

// ---- imggray ---------------------------------------------------------------------

SIZE CBkImgGray::MeasureContent(SIZE available) {
    return SkinNaturalSize(*this, CBkWindow::MeasureContent(available), FindSkin(skin_));
}

void CBkImgGray::PaintContent(HDC dc) {
    CBkSkinBase* skin = FindSkin(skin_);
    if (skin == nullptr) {
        return;
    }
    const SIZE cell = skin->GetSkinSize();
    if (cell.cx <= 0 || cell.cy <= 0) {
        return;
    }
    if (gray_ != 0) {
        skin->DrawGray(dc, Rect(), WholeCell(cell));
    } else {
        skin->DrawPartScaled(dc, Rect(), WholeCell(cell));
    }
}

// ---- expendimg -----------------------------------------------------------------

SIZE CBkExpendImg::MeasureContent(SIZE available) {
    return CBkWindow::MeasureContent(available);
}

void CBkExpendImg::PaintContent(HDC dc) {
    CBkSkinBase* skin = FindSkin(skin_);
    const RECT& rect = Rect();
    if (skin == nullptr) {
        return;
    }
    const SIZE cell = skin->GetSkinSize();
    // The pieces go into a bitmap of the control's size first, so that the
    // whole picture is blended once with `skinalpha`.
    Dib32 picture = Dib32::Create(RectWidth(rect), RectHeight(rect));
    ScopedMemoryDc memory(::CreateCompatibleDC(dc));
    if (!picture.IsValid() || !memory || cell.cx <= 0 || cell.cy <= 0) {
        return;
    }
    const RECT whole = {0, 0, picture.Width(), picture.Height()};
    {
        ScopedSelectObject selected(memory.Get(), picture.Handle());
        if (!selected.IsSelected()) {
            return;
        }
        DrawNineGrid(memory.Get(), *skin, whole, WholeCell(cell), margins_, NineGridMiddle::kDraw);
    }
    BlendDib(dc, rect, picture, whole, static_cast<BYTE>(std::clamp(skinAlpha_, 0, 255)));
}

}  // namespace velora
