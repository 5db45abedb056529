#pragma once

#include <windows.h>

namespace velora {

// What a control asks of the window that hosts it (the host window, or a
// list's message window that passes it on). Each request is packed here only.

// Sends a notification record, whose first member is `header`, as WM_NOTIFY
// with `source` as wParam; the host's answer.
LRESULT NotifyHost(HWND host, WPARAM source, NMHDR& header);
// The hovered control's tool tip changed to `text`.
void SetHostToolTipText(HWND host, const wchar_t* text);
// The top-level window the host belongs to; `host` itself when it does not say.
HWND HostTopWindow(HWND host);
// The host presents its content through a layered or composited path.
bool HostIsLayered(HWND host);

}  // namespace velora
