#include "ui/accessible_client.h"

#include <vector>

#include "markup/system_library.h"
#include "ui/bk_window.h"
#include "ui/host_window.h"

// The COM side of the client object: its life, the interfaces it offers, the
// enumeration of its children, and handing it out for WM_GETOBJECT.

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

void AccessibleClient::SetChildId(VARIANT* out, LONG id) {
    out->vt = VT_I4;
    out->lVal = id;
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

// ---- IAccessible: the parent ------------------------------------------------------

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
