#include "ui/view_impl.h"

#include <cstdio>

#include "markup/value_parsers.h"
#include "ui/accessible_events.h"
#include "ui/bk_window.h"
#include "ui/list_impl.h"
#include "base/bounded_format.h"

namespace velora {

void CBkViewImpl::InvalidateIfVisible(const CBkWindow& control) {
    if (control.IsVisible()) {
        InvalidateControlRect(control.Rect());
    }
}

template <typename Change>
bool CBkViewImpl::ChangeItem(int id, bool repaintBefore, Change change) {
    CBkWindow* control = FindControl(id);
    if (control == nullptr) {
        return false;
    }
    if (repaintBefore) {
        InvalidateIfVisible(*control);
    }
    const AccessibleReading before = ReadAccessible(*control);
    change(*control);
    RaiseAccessibleChanges(*control, before);
    InvalidateIfVisible(*control);
    return true;
}

bool CBkViewImpl::SetItemAttribute(int id, const char* name, const std::wstring& value) {
    return name != nullptr && ChangeItem(id, true, [&](CBkWindow& control) {
               control.SetAttribute(name, Utf16ToUtf8(value), false);
           });
}

bool CBkViewImpl::SetItemIntAttribute(int id, const char* name, int value) {
    wchar_t text[16];
    FormatBounded(text, 16, L"%d", value);
    return SetItemAttribute(id, name, text);
}

bool CBkViewImpl::SetItemText(int id, const std::wstring& text) {
    return ChangeItem(id, true, [&](CBkWindow& control) { control.SetText(text); });
}

bool CBkViewImpl::SetItemCheck(int id, bool checked) {
    return ChangeItem(id, false, [&](CBkWindow& control) {
        control.ModifyState(checked ? ControlState::kChecked : ControlState::kNone,
                            checked ? ControlState::kNone : ControlState::kChecked);
    });
}

bool CBkViewImpl::GetItemCheck(int id) const {
    const CBkWindow* control = FindControl(id);
    return control != nullptr && Has(control->State(), ControlState::kChecked);
}

bool CBkViewImpl::EnableItem(int id, bool enabled) {
    return ChangeItem(id, false, [&](CBkWindow& control) {
        // Disabling also takes the hover away.
        control.ModifyState(enabled ? ControlState::kNone : ControlState::kDisabled,
                            enabled ? ControlState::kDisabled : ControlState::kHover);
    });
}

bool CBkViewImpl::ShowItem(int id, bool shown) {
    CBkWindow* control = FindControl(id);
    if (control == nullptr) {
        return false;
    }
    control->SetShown(shown);
    InvalidateControlRect(control->Rect());
    return true;
}

CBkWindow* CBkViewImplForList::GetListWnd(int id) const {
    CBkWindow* control = FindControl(id);
    return dynamic_cast<CBkListImpl*>(control) != nullptr ? control : nullptr;
}

bool CBkViewImplForList::SetListItemAttribute(CBkWindow* list, int index, const char* name,
                                              const std::wstring& value) {
    const auto* items = dynamic_cast<const CBkListImpl*>(list);
    CBkWindow* item = items != nullptr ? items->ItemAt(index) : nullptr;
    if (item == nullptr) {
        return false;
    }
    // Items are placed inside the list, so their rectangles are mapped out of it.
    if (item->IsVisible()) {
        InvalidateControlRect(items->MapToHost(*item, item->Rect()));
    }
    item->SetAttribute(name, Utf16ToUtf8(value), false);
    if (item->IsVisible()) {
        InvalidateControlRect(items->MapToHost(*item, item->Rect()));
    }
    return true;
}

}  // namespace velora
