#include "app/list_height_fit.h"

#include <cstdio>
#include <cstring>

#include "controls/list_controls.h"
#include "controls/rich_text2_window.h"
#include "ui/bk_container.h"
#include "ui/host_window.h"
#include "base/bounded_format.h"

namespace velora {
namespace {

CBkWindow* ChildById(CBkWindow* container, int id) {
    auto* dialog = dynamic_cast<CBkDialog*>(container);
    if (dialog == nullptr) {
        return nullptr;
    }
    for (const auto& child : dialog->Children()) {
        if (child->Id() == id) {
            return child.get();
        }
    }
    return nullptr;
}

}  // namespace

bool FitListItemToRichText(CBkDialogViewImplEx& host, int listId, int richTextId) {
    auto* list = dynamic_cast<CBkListWnd*>(host.GetListWnd(listId));
    if (list == nullptr || std::strcmp(list->GetObjectClass(), CBkListWnd::kTag) != 0 ||
        list->ItemCount() < 1) {
        return false;
    }
    CBkWindow* found = ChildById(list->ItemAt(0), richTextId);
    auto* text = dynamic_cast<CBkRichText2Wnd*>(found);
    if (text == nullptr || std::strcmp(found->GetObjectClass(), CBkRichText2Wnd::kTag) != 0) {
        return false;
    }
    text->LayOutOnScreenDc();
    char height[64];
    FormatBounded(height, sizeof(height), "%f", static_cast<double>(text->ContentBottom()));
    wchar_t wide[64] = {};
    for (size_t i = 0; height[i] != '\0' && i + 1 < sizeof(height); ++i) {
        wide[i] = static_cast<wchar_t>(height[i]);
    }
    if (!host.SetListItemAttribute(list, 0, "height", wide)) {
        return false;
    }
    // The new height changes the content size: the list must take it in
    // for its scroll range, and the item must lay its text out again.
    list->Relayout(true);
    return true;
}

}  // namespace velora
