#pragma once

namespace velora {

// The default actions screen readers announce, in the UI's language.
inline constexpr wchar_t kActionPress[] = L"按下";
inline constexpr wchar_t kActionCheck[] = L"选中";
inline constexpr wchar_t kActionUncheck[] = L"取消选中";
inline constexpr wchar_t kActionSelect[] = L"选择";
inline constexpr wchar_t kActionJump[] = L"跳转";

}  // namespace velora
