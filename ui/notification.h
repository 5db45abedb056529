#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace velora {

// Codes of the WM_NOTIFY records the engine sends to a host window's dialog.
enum BkNotifyCode : UINT {
    kNotifyClick = 1,
    kNotifyRealWndMoved = 2,
    kNotifyHover = 3,
    kNotifyLeave = 4,
    kNotifyPageChange = 5,
    kNotifySelf = 6,
    kNotifyLButtonDown = 7,
    kNotifyDoubleClick = 8,
    kNotifyRButtonDown = 9,
    kNotifyRightClick = 13,
    kNotifyList = 14,
    kNotifySliderPos = 15,
    kNotifyRepaint = 1000,
};

// Sub-codes of kNotifySelf.
inline constexpr int kSelfNotifyMove = 3;
inline constexpr int kSelfNotifyLeave = 4;
// Bits of a control's `notify` mask.
inline constexpr int kNotifyMaskMove = 0x1;
inline constexpr int kNotifyMaskLeave = 0x2;

// Source id of records the host window sends about its controls.
inline constexpr UINT_PTR kHostNotifySource = static_cast<UINT_PTR>(-1);

// Codes 1, 3, 4, 6, 7, 8, 9, 13, 15. hdr.hwndFrom is the host window.
struct BkNotify {
    NMHDR hdr;
    UINT controlId;
    const char* classTag;  // codes 1 and 8: the control's tag; "wnd" for code 6
    std::int32_t subCode;  // code 6: kSelfNotifyMove or kSelfNotifyLeave; 15: slider position
};

// Code 2: a hosted native window moved.
struct BkNotifyRealWnd {
    NMHDR hdr;
    UINT controlId;
    RECT rect;
};

// Code 5: a tab control is about to change pages; set `cancel` to refuse.
struct BkNotifyPageChange {
    NMHDR hdr;
    UINT controlId;
    std::int32_t newIndex;
    std::int32_t oldIndex;
    std::int32_t cancel;
};

// Code 1000: a control asks its host to repaint `rect` (hdr.hwndFrom is null,
// hdr.idFrom the control id; wParam of the message is the control id too).
struct BkNotifyRepaint {
    NMHDR hdr;
    std::int32_t controlHandle;
    RECT rect;
};

// Code 14: mouse events inside a list window (hdr.hwndFrom is the host window).
struct BkNotifyList {
    NMHDR hdr;
    std::int32_t listId;
    std::int32_t event;      // list-level or item-level event code
    std::int32_t itemIndex;  // -1 when no item is concerned (the scroll bar)
    const char* listClass;   // "listwnd"
    std::int32_t controlId;  // the item or bar concerned
    const char* controlClass;
    std::int32_t childId;  // item-level events: the item's child concerned
    const char* childClass;
};

// Records are sent by the address of their header (NotifyHost) and read
// back from it, so the header comes first in each.
static_assert(offsetof(BkNotify, hdr) == 0 && offsetof(BkNotifyRealWnd, hdr) == 0 &&
              offsetof(BkNotifyPageChange, hdr) == 0 && offsetof(BkNotifyRepaint, hdr) == 0 &&
              offsetof(BkNotifyList, hdr) == 0);

}  // namespace velora
