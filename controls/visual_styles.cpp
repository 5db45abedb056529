#include "controls/visual_styles.h"

#include "base/gdi_scopes.h"
#include "markup/system_library.h"
#include "ui/bk_window.h"

namespace velora {
namespace {

// Theme parts of the "BUTTON" class.
constexpr int kPartRadioButton = 2;
constexpr int kPartCheckBox = 3;

}  // namespace

// Binds the theme functions once; the module reference taken here (from
// System32 only) is kept for the process.
class VisualStylesBinding {
  public:
    VisualStylesBinding() {
        if (::GetModuleHandleW(L"uxtheme.dll") == nullptr) {
            return;  // not loaded by anyone: themes stay off
        }
        module_ = LoadSystemLibrary(L"uxtheme.dll");
        if (!module_) {
            return;
        }
        table_.open_ = Resolve<VisualStyles::OpenFn>("OpenThemeData");
        table_.close_ = Resolve<VisualStyles::CloseFn>("CloseThemeData");
        table_.drawBackground_ = Resolve<VisualStyles::DrawBackgroundFn>("DrawThemeBackground");
        table_.setWindowTheme_ = Resolve<VisualStyles::SetWindowThemeFn>("SetWindowTheme");
        if (table_.open_ != nullptr && table_.close_ != nullptr &&
            table_.drawBackground_ != nullptr) {
            api_ = &table_;
        }
    }
    const VisualStyles* Api() const { return api_; }

  private:
    template <typename Fn>
    Fn Resolve(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module_.Get(), name)));
    }

    ScopedModule module_;
    VisualStyles table_;
    const VisualStyles* api_ = nullptr;
};

const VisualStyles* VisualStyles::Get() {
    static VisualStylesBinding binding;
    return binding.Api();
}

HTHEME VisualStyles::Open(const wchar_t* classList) const {
    return open_(nullptr, classList);
}

void VisualStyles::Close(HTHEME theme) const {
    close_(theme);
}

bool VisualStyles::DrawBackground(HTHEME theme, HDC dc, int part, int state,
                                  const RECT& rect) const {
    return SUCCEEDED(drawBackground_(theme, dc, part, state, &rect, nullptr));
}

ButtonTheme::~ButtonTheme() {
    if (theme_ != nullptr) {
        VisualStyles::Get()->Close(theme_);
    }
}

HTHEME ButtonTheme::Acquire() {
    if (theme_ == nullptr) {
        if (const VisualStyles* styles = VisualStyles::Get()) {
            theme_ = styles->Open(L"BUTTON");
        }
    }
    return theme_;
}

int ToggleThemeState(ControlState state, bool disabled) {
    int index = 1;  // normal
    if (disabled) {
        index = 4;
    } else if (Has(state, ControlState::kPushed)) {
        index = 3;
    } else if (Has(state, ControlState::kHover)) {
        index = 2;
    }
    return Has(state, ControlState::kChecked) ? index + 4 : index;
}

UINT ToggleFrameFlags(ToggleGlyph glyph, ControlState state, bool disabled) {
    UINT flags = DFCS_TRANSPARENT;
    if (glyph == ToggleGlyph::kRadioButton) {
        flags |= DFCS_BUTTONRADIO;
    }
    if (disabled) {
        flags |= DFCS_INACTIVE;
    }
    if (Has(state, ControlState::kHover)) {
        flags |= DFCS_HOT;
    }
    if (Has(state, ControlState::kPushed)) {
        flags |= DFCS_PUSHED;
    }
    if (Has(state, ControlState::kChecked)) {
        flags |= DFCS_CHECKED;
    }
    return flags;
}

void DrawToggleGlyph(HDC dc, const RECT& box, ToggleGlyph glyph, ControlState state, bool disabled,
                     ButtonTheme& theme) {
    if (HTHEME open = theme.Acquire()) {
        const int part = glyph == ToggleGlyph::kRadioButton ? kPartRadioButton : kPartCheckBox;
        VisualStyles::Get()->DrawBackground(open, dc, part, ToggleThemeState(state, disabled), box);
        return;
    }
    RECT target = box;
    ::DrawFrameControl(dc, &target, DFC_BUTTON, ToggleFrameFlags(glyph, state, disabled));
}

}  // namespace velora
