#pragma once

#include <windows.h>

#include <oleacc.h>

#include <atomic>
#include <vector>

namespace velora {

class CBkDialogViewImplEx;
class CBkWindow;

// The IAccessible of a host window's client area (MSAA): its children are the
// controls a screen reader meets, as simple elements whose child ids are the
// controls' handles; it also enumerates them (IEnumVARIANT). It keeps only the
// window handle and finds the host again on every call, so a client that
// holds it after the window is gone gets CO_E_OBJNOTCONNECTED.
class AccessibleClient final : public IAccessible, public IEnumVARIANT {
  public:
    // A new object with one reference, which the caller owns (COM objects end
    // themselves on their last Release).
    static AccessibleClient* Create(HWND host);
    // Objects alive in the process (tests check that none leak).
    static long LiveObjects() { return live_.load(); }

    AccessibleClient(const AccessibleClient&) = delete;
    AccessibleClient& operator=(const AccessibleClient&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: not offered beyond the type-info count.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

    // IEnumVARIANT: the children's ids, from a cursor of this object's own.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

  private:
    AccessibleClient(HWND host, ULONG cursor);
    ~AccessibleClient();

    // The host, or null when its window is gone.
    CBkDialogViewImplEx* Host() const;
    RECT Client() const;
    std::vector<const CBkWindow*> Children(const CBkDialogViewImplEx& host) const;
    // What a VARIANT child id names: S_OK with `control` (null for the
    // client itself), CO_E_OBJNOTCONNECTED without a host, E_INVALIDARG for
    // an id that is no control of this host.
    HRESULT Resolve(const VARIANT& child, const CBkWindow*& control) const;
    // Answers a text property of a child or of the client itself.
    template <typename Read>
    HRESULT AnswerText(const VARIANT& child, BSTR* text, Read read) const;

    static void SetChildId(VARIANT* out, LONG id);

    static std::atomic<long> live_;
    std::atomic<ULONG> references_{1};
    const HWND window_;
    ULONG cursor_;
};

// Answers WM_GETOBJECT for the client area of `host` (LresultFromObject on
// a new AccessibleClient); false for any other object id, or when the
// object could not be handed out, so the default handling runs.
bool AnswerClientObject(HWND host, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace velora
