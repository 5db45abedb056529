#pragma once

#include <windows.h>

#include <string>

#include "base/gdi_scopes.h"
#include "base/win_handles.h"
#include "ui/window_impl.h"

namespace velora {

// The inner edit of the path box: a placeholder shown while it is empty and
// unfocused, I-beam and arrow cursors, and Escape swallowed (so it cannot
// reach the dialog). Attached to an "edit" window by subclassing.
class KEditInputNumber {
  public:
    KEditInputNumber();
    ~KEditInputNumber();
    KEditInputNumber(const KEditInputNumber&) = delete;
    KEditInputNumber& operator=(const KEditInputNumber&) = delete;

    bool Attach(HWND edit);
    void Detach();
    HWND Handle() const { return edit_; }

    void SetPlaceholder(const std::wstring& text) { placeholder_ = text; }
    const std::wstring& Placeholder() const { return placeholder_; }
    // Whether focus changes may switch the digits-only style.
    void SetSwitchNumberStyle(bool enabled) { switchNumberStyle_ = enabled; }

  private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void SetNumberStyle(bool on);
    std::wstring Text() const;

    HWND edit_ = nullptr;
    std::wstring placeholder_;
    bool switchNumberStyle_ = true;
    bool contextMenuOpen_ = false;
    HCURSOR beam_;
    HCURSOR arrow_;
};

// The path box of the main window: a white child window holding the inner
// edit, centred vertically, grey while it shows its stored text and dark
// once the text differs.
class KEditInputEx : public CBkWindowImpl {
  public:
    static constexpr UINT kInnerEditId = 1023;
    static constexpr COLORREF kStoredTextColour = 0x929697;
    static constexpr COLORREF kEditedTextColour = 0x323232;

    KEditInputEx() = default;
    ~KEditInputEx() override;

    // Creates the box as a child of `parent` with control id `id`. Edit bits
    // in `style` (ES_*) are accepted but mean nothing to the box itself.
    HWND Create(HWND parent, UINT id, DWORD style);
    void Destroy() { DestroyNative(); }

    // Shows `text` in the edit, or the placeholder when `text` is empty.
    void SetText(const std::wstring& text);
    std::wstring GetText() const;

    // Settings read when the box is created.
    void SetStoredText(const std::wstring& text) { storedText_ = text; }
    void SetDigitsOnly(bool on) { digitsOnly_ = on; }
    void SetMultiLine(bool on) { multiLine_ = on; }
    void SetVerticalScroll(bool on) { verticalScroll_ = on; }
    void SetTextLimit(int characters) { textLimit_ = characters; }

    KEditInputNumber& Inner() { return inner_; }

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

  private:
    void CreateInner();
    void PlaceInner();

    KEditInputNumber inner_;
    std::wstring storedText_;
    bool digitsOnly_ = true;
    bool multiLine_ = false;
    bool verticalScroll_ = false;
    int textLimit_ = 0;
    ScopedBrush whiteBrush_;
};

}  // namespace velora
