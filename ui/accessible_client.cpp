#include "ui/accessible_client.h"

#include <algorithm>
#include <string>

#include "ui/accessible_tree.h"
#include "ui/bk_window.h"
#include "ui/control_registry.h"
#include "ui/host_messages.h"
#include "ui/host_window.h"

namespace velora {
namespace {

// S_FALSE and a null string for an empty text, as MSAA clients expect.
HRESULT ToBstr(const std::wstring& text, BSTR* out) {
    if (text.empty()) {
        return S_FALSE;
    }
    *out = ::SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

RECT ToScreen(HWND window, RECT rect) {
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Direction of spatial navigation: how far `to` lies beyond `from` on that
// side (negative: not beyond it).
LONG DistanceBeyond(long direction, const RECT& from, const RECT& to) {
    switch (direction) {
        case NAVDIR_UP:
            return from.top - to.bottom;
        case NAVDIR_DOWN:
            return to.top - from.bottom;
        case NAVDIR_LEFT:
            return from.left - to.right;
        case NAVDIR_RIGHT:
            return to.left - from.right;
        default:
            return -1;
    }
}

}  // namespace

CBkDialogViewImplEx* AccessibleClient::Host() const {
    return dynamic_cast<CBkDialogViewImplEx*>(CBkWindowImpl::FromHostWindow(window_));
}

RECT AccessibleClient::Client() const {
    RECT client = {};
    ::GetClientRect(window_, &client);
    return client;
}

std::vector<const CBkWindow*> AccessibleClient::Children(const CBkDialogViewImplEx& host) const {
    return CollectAccessibleControls(host.Sections(), Client());
}

HRESULT AccessibleClient::Resolve(const VARIANT& child, const CBkWindow*& control) const {
    control = nullptr;
    if (Host() == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (child.vt != VT_I4) {
        return E_INVALIDARG;
    }
    if (child.lVal == CHILDID_SELF) {
        return S_OK;
    }
    control = BkControlRegistry::Lookup(child.lVal);
    return control != nullptr && control->Host() == window_ ? S_OK : E_INVALIDARG;
}

template <typename Read>
HRESULT AccessibleClient::AnswerText(const VARIANT& child, BSTR* text, Read read) const {
    if (text == nullptr) {
        return E_POINTER;
    }
    *text = nullptr;
    const CBkWindow* control = nullptr;
    const HRESULT found = Resolve(child, control);
    return FAILED(found) ? found : ToBstr(read(control), text);
}

// ---- IAccessible: the tree ----------------------------------------------------------

HRESULT AccessibleClient::get_accChildCount(long* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    const CBkDialogViewImplEx* host = Host();
    if (host == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    *count = static_cast<long>(Children(*host).size());
    return S_OK;
}

HRESULT AccessibleClient::get_accChild(VARIANT child, IDispatch** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    const CBkWindow* control = nullptr;
    const HRESULT found = Resolve(child, control);
    if (FAILED(found)) {
        return found;
    }
    return control != nullptr ? S_FALSE : E_INVALIDARG;  // children are simple elements
}

HRESULT AccessibleClient::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (end == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(end);
    const CBkWindow* from = nullptr;
    const HRESULT found = Resolve(start, from);
    if (FAILED(found)) {
        return found;
    }
    const std::vector<const CBkWindow*> children = Children(*Host());
    const CBkWindow* to = nullptr;
    if (from == nullptr) {
        // From the client itself only into its children.
        if (direction == NAVDIR_FIRSTCHILD && !children.empty()) {
            to = children.front();
        } else if (direction == NAVDIR_LASTCHILD && !children.empty()) {
            to = children.back();
        }
    } else {
        const auto at = std::find(children.begin(), children.end(), from);
        if (direction == NAVDIR_NEXT && at != children.end() && at + 1 != children.end()) {
            to = *(at + 1);
        } else if (direction == NAVDIR_PREVIOUS && at != children.end() && at != children.begin()) {
            to = *(at - 1);
        } else {
            LONG nearest = 0;
            for (const CBkWindow* candidate : children) {
                const LONG distance = DistanceBeyond(direction, from->Rect(), candidate->Rect());
                if (candidate != from && distance >= 0 && (to == nullptr || distance < nearest)) {
                    to = candidate;
                    nearest = distance;
                }
            }
        }
    }
    if (to == nullptr) {
        return S_FALSE;
    }
    SetChildId(end, to->Handle());
    return S_OK;
}

HRESULT AccessibleClient::accHitTest(long x, long y, VARIANT* child) {
    if (child == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(child);
    const CBkDialogViewImplEx* host = Host();
    if (host == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    POINT point = {x, y};
    ::ScreenToClient(window_, &point);
    const RECT client = Client();
    if (!::PtInRect(&client, point)) {
        return S_FALSE;
    }
    // Later controls are painted over earlier ones.
    const std::vector<const CBkWindow*> children = Children(*host);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (::PtInRect(&(*it)->Rect(), point)) {
            SetChildId(child, (*it)->Handle());
            return S_OK;
        }
    }
    SetChildId(child, CHILDID_SELF);
    return S_OK;
}

HRESULT AccessibleClient::accLocation(long* left, long* top, long* width, long* height,
                                      VARIANT child) {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
        return E_POINTER;
    }
    *left = *top = *width = *height = 0;
    const CBkWindow* control = nullptr;
    const HRESULT found = Resolve(child, control);
    if (FAILED(found)) {
        return found;
    }
    const RECT screen = ToScreen(window_, control != nullptr ? control->Rect() : Client());
    *left = screen.left;
    *top = screen.top;
    *width = screen.right - screen.left;
    *height = screen.bottom - screen.top;
    return S_OK;
}

// ---- IAccessible: what a child is ------------------------------------------------------

HRESULT AccessibleClient::get_accName(VARIANT child, BSTR* name) {
    return AnswerText(child, name, [this](const CBkWindow* control) {
        if (control != nullptr) {
            return control->AccessibleName();
        }
        wchar_t title[256] = {};
        ::GetWindowTextW(window_, title, 256);
        return std::wstring(title);
    });
}

HRESULT AccessibleClient::get_accValue(VARIANT child, BSTR* value) {
    return AnswerText(child, value, [](const CBkWindow* control) {
        return control != nullptr ? control->AccessibleValue() : std::wstring();
    });
}

HRESULT AccessibleClient::get_accDescription(VARIANT child, BSTR* text) {
    return AnswerText(child, text, [](const CBkWindow*) { return std::wstring(); });
}

HRESULT AccessibleClient::get_accHelp(VARIANT child, BSTR* help) {
    return AnswerText(child, help, [](const CBkWindow*) { return std::wstring(); });
}

HRESULT AccessibleClient::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return AnswerText(child, shortcut, [](const CBkWindow*) { return std::wstring(); });
}

HRESULT AccessibleClient::get_accDefaultAction(VARIANT child, BSTR* action) {
    return AnswerText(child, action, [](const CBkWindow* control) {
        return control != nullptr ? control->AccessibleDefaultAction() : std::wstring();
    });
}

HRESULT AccessibleClient::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    if (file == nullptr || topic == nullptr) {
        return E_POINTER;
    }
    *file = nullptr;
    *topic = 0;
    const CBkWindow* control = nullptr;
    const HRESULT found = Resolve(child, control);
    return FAILED(found) ? found : S_FALSE;
}

HRESULT AccessibleClient::get_accRole(VARIANT child, VARIANT* role) {
    if (role == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(role);
    const CBkWindow* control = nullptr;
    const HRESULT found = Resolve(child, control);
    if (FAILED(found)) {
        return found;
    }
    DWORD answer = ROLE_SYSTEM_CLIENT;
    if (control != nullptr) {
        // A control kept out of the children (a page, a panel) is a grouping.
        answer = control->AccessibleRole() != 0 ? control->AccessibleRole() : ROLE_SYSTEM_GROUPING;
    }
    SetChildId(role, static_cast<LONG>(answer));
    return S_OK;
}

HRESULT AccessibleClient::get_accState(VARIANT child, VARIANT* state) {
    if (state == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(state);
    const CBkWindow* control = nullptr;
    const HRESULT found = Resolve(child, control);
    if (FAILED(found)) {
        return found;
    }
    const CBkDialogViewImplEx* host = Host();
    LONG answer = 0;
    if (control != nullptr) {
        answer = AccessibleState(*control, host->FocusedControl(), Client());
    } else {
        answer = STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == window_) {
            answer |= STATE_SYSTEM_FOCUSED;
        }
        if (!::IsWindowVisible(window_)) {
            answer |= STATE_SYSTEM_INVISIBLE;
        }
    }
    SetChildId(state, answer);
    return S_OK;
}

HRESULT AccessibleClient::get_accFocus(VARIANT* focus) {
    if (focus == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(focus);
    const CBkDialogViewImplEx* host = Host();
    if (host == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (::GetFocus() != window_) {
        return S_FALSE;  // the focus is elsewhere (a native child, another window)
    }
    SetChildId(focus, host->FocusedControl());  // 0 is the client itself
    return S_OK;
}

HRESULT AccessibleClient::get_accSelection(VARIANT* selection) {
    if (selection == nullptr) {
        return E_POINTER;
    }
    ::VariantInit(selection);
    return Host() != nullptr ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

// ---- IAccessible: acting ------------------------------------------------------------

HRESULT AccessibleClient::accSelect(long flags, VARIANT child) {
    const CBkWindow* control = nullptr;
    const HRESULT found = Resolve(child, control);
    if (FAILED(found)) {
        return found;
    }
    if (flags != SELFLAG_TAKEFOCUS) {
        return E_INVALIDARG;  // nothing here is selectable
    }
    if (control == nullptr) {
        ::SetFocus(window_);
        return S_OK;
    }
    return Host()->FocusControl(control->Handle()) ? S_OK : S_FALSE;
}

HRESULT AccessibleClient::accDoDefaultAction(VARIANT child) {
    const CBkWindow* control = nullptr;
    const HRESULT found = Resolve(child, control);
    if (FAILED(found)) {
        return found;
    }
    if (control == nullptr || control->AccessibleDefaultAction().empty()) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (!control->IsVisible() || control->IsDisabled()) {
        return E_FAIL;
    }
    // Posted: the click may open a modal question, which must not run inside
    // a screen reader's (cross-process) call.
    return ::PostMessageW(window_, kMsgActivateControl, static_cast<WPARAM>(control->Handle()), 0)
               ? S_OK
               : E_FAIL;
}

HRESULT AccessibleClient::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT AccessibleClient::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

}  // namespace velora
