#include "ui/accessible_client.h"

#include <algorithm>
#include <string>

#include "markup/system_library.h"
#include "ui/accessible_tree.h"
#include "ui/bk_window.h"
#include "ui/control_registry.h"
#include "ui/host_messages.h"
#include "ui/host_window.h"

namespace velora {
namespace {

using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using AccessibleObjectFromWindowFunction = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);

// oleacc is not a DLL the loader always takes from System32, so it is bound
// at run time, once, and kept for the process.
struct Oleacc {
    Oleacc() : module(LoadSystemLibrary(L"oleacc.dll")) {
        if (module) {
            lresultFromObject = reinterpret_cast<LresultFromObjectFunction>(
                reinterpret_cast<void*>(::GetProcAddress(module.Get(), "LresultFromObject")));
            objectFromWindow =
                reinterpret_cast<AccessibleObjectFromWindowFunction>(reinterpret_cast<void*>(
                    ::GetProcAddress(module.Get(), "AccessibleObjectFromWindow")));
        }
    }
    ScopedModule module;
    LresultFromObjectFunction lresultFromObject = nullptr;
    AccessibleObjectFromWindowFunction objectFromWindow = nullptr;
};

const Oleacc& OleaccFunctions() {
    static const Oleacc functions;
    return functions;
}

// S_FALSE and a null string for an empty text, as MSAA clients expect.
HRESULT ToBstr(const std::wstring& text, BSTR* out) {
    if (text.empty()) {
        return S_FALSE;
    }
    *out = ::SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void SetChildId(VARIANT* out, LONG id) {
    out->vt = VT_I4;
    out->lVal = id;
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

std::atomic<long> AccessibleClient::live_{0};

AccessibleClient* AccessibleClient::Create(HWND host) {
    return new AccessibleClient(host, 0);
}

AccessibleClient::AccessibleClient(HWND host, ULONG cursor) : window_(host), cursor_(cursor) {
    ++live_;
}

AccessibleClient::~AccessibleClient() {
    --live_;
}

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

// ---- IUnknown ---------------------------------------------------------------------

HRESULT AccessibleClient::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
    } else if (riid == __uuidof(IEnumVARIANT)) {
        *object = static_cast<IEnumVARIANT*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG AccessibleClient::AddRef() {
    return ++references_;
}

ULONG AccessibleClient::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

// ---- IDispatch ---------------------------------------------------------------------

HRESULT AccessibleClient::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT AccessibleClient::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT AccessibleClient::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT AccessibleClient::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                 UINT*) {
    return E_NOTIMPL;
}

// ---- IAccessible: the tree ----------------------------------------------------------

HRESULT AccessibleClient::get_accParent(IDispatch** parent) {
    if (parent == nullptr) {
        return E_POINTER;
    }
    *parent = nullptr;
    if (Host() == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const Oleacc& oleacc = OleaccFunctions();
    return oleacc.objectFromWindow != nullptr
               ? oleacc.objectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW),
                                         __uuidof(IDispatch), reinterpret_cast<void**>(parent))
               : S_FALSE;
}

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

// ---- IEnumVARIANT ------------------------------------------------------------------

HRESULT AccessibleClient::Next(ULONG count, VARIANT* items, ULONG* fetched) {
    if (fetched != nullptr) {
        *fetched = 0;
    }
    if (items == nullptr) {
        return E_POINTER;
    }
    const CBkDialogViewImplEx* host = Host();
    if (host == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const std::vector<const CBkWindow*> children = Children(*host);
    ULONG given = 0;
    for (; given < count && cursor_ < children.size(); ++given, ++cursor_) {
        ::VariantInit(&items[given]);
        SetChildId(&items[given], children[cursor_]->Handle());
    }
    if (fetched != nullptr) {
        *fetched = given;
    }
    return given == count ? S_OK : S_FALSE;
}

HRESULT AccessibleClient::Skip(ULONG count) {
    const CBkDialogViewImplEx* host = Host();
    if (host == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const ULONG size = static_cast<ULONG>(Children(*host).size());
    const bool enough = cursor_ <= size && count <= size - cursor_;
    cursor_ = enough ? cursor_ + count : size;
    return enough ? S_OK : S_FALSE;
}

HRESULT AccessibleClient::Reset() {
    cursor_ = 0;
    return S_OK;
}

HRESULT AccessibleClient::Clone(IEnumVARIANT** copy) {
    if (copy == nullptr) {
        return E_POINTER;
    }
    *copy = new AccessibleClient(window_, cursor_);
    return S_OK;
}

// ---- WM_GETOBJECT -------------------------------------------------------------------

bool AnswerClientObject(HWND host, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The object id is a 32-bit value, whatever the width of lParam.
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) {
        return false;
    }
    const Oleacc& oleacc = OleaccFunctions();
    if (oleacc.lresultFromObject == nullptr) {
        return false;
    }
    AccessibleClient* client = AccessibleClient::Create(host);
    result =
        oleacc.lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(client));
    client->Release();  // the marshalled reference, if any, keeps it alive
    return result > 0;
}

}  // namespace velora
