#pragma once

#include <windows.h>

#include <string>

namespace velora {

// A native "edit" child window owned by this object (destroyed with it).
class CBkEdit {
  public:
    CBkEdit() = default;
    ~CBkEdit() { Destroy(); }
    CBkEdit(const CBkEdit&) = delete;
    CBkEdit& operator=(const CBkEdit&) = delete;

    // Creates the edit as a child of `parent` with control id `id`.
    HWND Create(HWND parent, int id, DWORD style, const RECT& rect = RECT{0, 0, 0, 0});
    void Destroy();

    HWND Handle() const { return window_; }
    void SetText(const std::wstring& text);
    std::wstring GetText() const;
    void SetFont(HFONT font, bool redraw = true);
    // The maximum number of characters (0: the edit's own default).
    void SetLimit(int characters);

  private:
    HWND window_ = nullptr;
};

}  // namespace velora
