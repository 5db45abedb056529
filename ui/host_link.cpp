#include "ui/host_link.h"

#include "ui/host_messages.h"
#include "ui/message_params.h"

namespace velora {

LRESULT NotifyHost(HWND host, WPARAM source, NMHDR& header) {
    return ::SendMessageW(host, WM_NOTIFY, source, AddressParam(header));
}

void SetHostToolTipText(HWND host, const wchar_t* text) {
    ::SendMessageW(host, kMsgSetToolTipText, HandleParam(text), 0);
}

HWND HostTopWindow(HWND host) {
    HWND window = nullptr;
    ::SendMessageW(host, kMsgGetHostWindow, 0, AddressParam(window));
    return window != nullptr ? window : host;
}

bool HostIsLayered(HWND host) {
    return ::SendMessageW(host, kMsgIsLayeredHost, 0, 0) != 0;
}

}  // namespace velora
