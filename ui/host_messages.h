#pragma once

#include <windows.h>

namespace velora {

// Notifications of native children are reflected back to the child with
// this offset added (the OCM_ convention).
inline constexpr UINT kReflectBase = WM_USER + 0x1C00;

// Pre-translation hands keyboard and mouse messages to native children first.
inline constexpr UINT kMsgForwardToChild = 0x37F;

// Engine-internal messages a host window answers for its controls.

// wParam: the address of a UTF-16 tool tip text for the hovered control.
inline constexpr UINT kMsgSetToolTipText = 0x81F5;
// Sent by a list's scroll bar to its list: scroll the content by -wParam
// pixels (wParam is a signed position change).
inline constexpr UINT kMsgListScrollContent = 0x81F6;
// lParam: an HWND* that receives the host window; the result is 1.
inline constexpr UINT kMsgGetHostWindow = 0x81F7;
// Result 1 when the host is presented through a layered or composited path.
inline constexpr UINT kMsgIsLayeredHost = 0x81F8;
// wParam: a control handle. A list answers the index of the item with that
// handle in both 16-bit halves of the result, -1 when it has none.
inline constexpr UINT kMsgListItemIndex = 0x81FA;
// Pre-translation offers a host window (the root of the message's window)
// each key first; lParam: the MSG*. Result 1: the key was used.
inline constexpr UINT kMsgTranslateKey = 0x81FB;
// Posted by a host to itself after controls changed: is the focused control
// still one that can take the focus?
inline constexpr UINT kMsgCheckFocus = 0x81FC;
// Posted by the accessible client object: wParam is the handle of a control
// to activate as a click would (its default action). Posted, so that a
// screen reader's call returns before any modal loop the click may start.
inline constexpr UINT kMsgActivateControl = 0x81FD;

}  // namespace velora
