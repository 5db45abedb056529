#pragma once

#include <windows.h>

namespace velora {

// Window-module support: the instance that owns the engine's window classes.
// The driver initialises it first and terminates it last.
class BkWindowModule {
  public:
    static void Init(HINSTANCE instance);
    // Unregisters the window classes registered through RegisterClassOnce.
    static void Term();
    static HINSTANCE Instance();
    // Registers `className` once per module life; false when registration failed.
    static bool RegisterClassOnce(const wchar_t* className, UINT classStyle, WNDPROC procedure);
};

// A native window whose messages reach this C++ object. Derived classes
// answer in ProcessWindowMessage; anything they leave goes to DefWindowProcW.
class CBkWindowImpl {
  public:
    CBkWindowImpl() = default;
    CBkWindowImpl(const CBkWindowImpl&) = delete;
    CBkWindowImpl& operator=(const CBkWindowImpl&) = delete;
    virtual ~CBkWindowImpl();

    HWND Handle() const { return window_; }
    // The object behind a live host window of this process (CreateNative),
    // or null for any other window, also one that took a destroyed host's handle.
    static CBkWindowImpl* FromHostWindow(HWND window);

    // The message map. Returns true (with `result`) when the message was handled.
    virtual bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result) = 0;
    // Called after the native window is gone (WM_NCDESTROY).
    virtual void OnFinalMessage(HWND /*window*/) {}

  protected:
    // Creates the native window of the engine's host class.
    HWND CreateNative(HWND owner, const RECT& rect, const wchar_t* title, DWORD style,
                      DWORD exStyle);
    // Creates the native window of a class of its own (registered once);
    // `parentOrOwner` and `id` as for CreateWindowExW.
    HWND CreateNativeOfClass(const wchar_t* className, UINT classStyle, HWND parentOrOwner,
                             const RECT& rect, const wchar_t* title, DWORD style, DWORD exStyle,
                             UINT_PTR id = 0);
    void DestroyNative();

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

}  // namespace velora
