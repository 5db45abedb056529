#pragma once

namespace velora {

class CBkDialogViewImplEx;

// Grows item 0 of list `listId` to the measured height of its rich text
// `richTextId`, so the list scrolls through the whole text. Nothing happens
// (false) unless the list is a "listwnd" with an item holding that
// "richtext2".
bool FitListItemToRichText(CBkDialogViewImplEx& host, int listId, int richTextId);

}  // namespace velora
