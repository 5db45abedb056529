#include "controls/control_factory.h"

#include <cstring>

#include "controls/image_controls.h"
#include "controls/line_controls.h"
#include "controls/list_controls.h"
#include "controls/progress_controls.h"
#include "controls/real_window.h"
#include "controls/rich_text_controls.h"
#include "controls/shape_controls.h"
#include "controls/skin_button_controls.h"
#include "controls/skin_image_controls.h"
#include "controls/source_image_controls.h"
#include "controls/text_controls.h"
#include "controls/toggle_controls.h"
#include "ui/bk_container.h"
#include "ui/bk_tab.h"

namespace velora {
namespace {

template <typename Control>
std::unique_ptr<CBkWindow> Make(CBkControlCreator*) {
    return std::make_unique<Control>();
}

// Containers whose children may use the tags of the creator that made them.
template <typename Container>
std::unique_ptr<CBkWindow> MakeWithCreator(CBkControlCreator* creator) {
    auto container = std::make_unique<Container>();
    container->SetCreator(creator);
    return container;
}

struct TierRow {
    const char* tag;
    std::unique_ptr<CBkWindow> (*make)(CBkControlCreator* creator);
};

// Tested in this order; the first match wins.
const TierRow kStandardTier[] = {
    {CBkDialog::kTag, &Make<CBkDialog>},
    {CBkStatic::kTag, &Make<CBkStatic>},
    {CBkButton::kTag, &Make<CBkButton>},
    {CBkImageWnd::kTag, &Make<CBkImageWnd>},
    {CBkImageBg::kTag, &Make<CBkImageBg>},
    {CBkImageScroll::kTag, &Make<CBkImageScroll>},
    {CBkProgress::kTag, &Make<CBkProgress>},
    {CBkProgressEx::kTag, &Make<CBkProgressEx>},
    {CBkImageBtnWnd::kTag, &Make<CBkImageBtnWnd>},
    {CBkSkinBtnWnd::kTag, &Make<CBkSkinBtnWnd>},
    {CBkRealWnd::kTag, &Make<CBkRealWnd>},
    {CBkLine::kTag, &Make<CBkLine>},
    {CBkCheckBox::kTag, &Make<CBkCheckBox>},
    {CBkIconWnd::kTag, &Make<CBkIconWnd>},
    {CBkTabCtrl::kTag, &Make<CBkTabCtrl>},
    {CBkRadioBox::kTag, &Make<CBkRadioBox>},
    {CBkRichText::kTag, &Make<CBkRichText>},
    {CBkLink::kTag, &Make<CBkLink>},
    {CBkMemoryImage::kTag, &Make<CBkMemoryImage>},
    {CBkStorageImage::kTag, &Make<CBkStorageImage>},
    {CBkImgbtnsized::kTag, &Make<CBkImgbtnsized>},
    {CBkImgGray::kTag, &Make<CBkImgGray>},
    {CBkImageEx::kTag, &Make<CBkImageEx>},
    {CBkImageRotale::kTag, &Make<CBkImageRotale>},
    {BkSlider::kTag, &Make<BkSlider>},
    {CBkDialogButton::kTag, &Make<CBkDialogButton>},
    {CBkHIcon::kTag, &Make<CBkHIcon>},
};

const TierRow kExtendedTier[] = {
    {CBkListWnd::kTag, &MakeWithCreator<CBkListWnd>},
    {CBkListItem::kTag, &MakeWithCreator<CBkListItem>},
    {CBkRoundRect::kTag, &Make<CBkRoundRect>},
    {CBkRoundRectPath::kTag, &Make<CBkRoundRectPath>},
    {CBkExpendImg::kTag, &Make<CBkExpendImg>},
    {CBkRealWndEx::kTag, &Make<CBkRealWndEx>},
    {CBKShadowText::kTag, &Make<CBKShadowText>},
    {CBkRichTextEx::kTag, &Make<CBkRichTextEx>},
    {CBkImageEx2::kTag, &Make<CBkImageEx2>},
    {CBkLineEx::kTag, &Make<CBkLineEx>},
    {CBkWindowScollBar::kTag, &Make<CBkWindowScollBar>},
    {CBkDlgBtnEx2::kTag, &Make<CBkDlgBtnEx2>},
    {CBkRichText2Wnd::kTag, &Make<CBkRichText2Wnd>},
};

template <std::size_t N>
const TierRow* FindRow(const TierRow (&tier)[N], const char* tag) {
    if (tag == nullptr) {
        return nullptr;
    }
    for (const TierRow& row : tier) {
        if (std::strcmp(row.tag, tag) == 0) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

CBkStandardTier& CBkStandardTier::Instance() {
    static CBkStandardTier tier;
    return tier;
}

std::unique_ptr<CBkWindow> CBkStandardTier::CreateControl(const char* tag) {
    const TierRow* row = FindRow(kStandardTier, tag);
    return row != nullptr ? row->make(nullptr) : nullptr;
}

std::unique_ptr<CBkWindow> CBkControlCreator::CreateControl(const char* tag) {
    if (const TierRow* row = FindRow(kExtendedTier, tag)) {
        return row->make(this);
    }
    return next_ != nullptr ? next_->CreateControl(tag) : nullptr;
}

}  // namespace velora
