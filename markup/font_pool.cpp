#include "markup/font_pool.h"

#include <cwchar>

namespace velora {
namespace {

struct FaceProbe {
    const wchar_t* value;  // value name under the Fonts key
    const wchar_t* face;
};

// Preferred faces first; the first registered one wins.
const FaceProbe kFaceProbes[] = {
    {L"微软雅黑 (TrueType)", L"微软雅黑"},
    {L"Microsoft YaHei (TrueType)", L"Microsoft YaHei"},
    {L"Microsoft YaHei (TrueType) & Microsoft YaHei UI (TrueType)", L"Microsoft YaHei"},
    {L"宋体 & 新宋体 (TrueType)", L"宋体"},
    {L"SimSun & NSimSun (TrueType)", L"SimSun"},
};
const wchar_t kFallbackFace[] = L"宋体";

// YaHei is drawn with ClearType; other faces with plain anti-aliasing.
BYTE QualityForFace(const std::wstring& face) {
    return (face == L"微软雅黑" || face == L"Microsoft YaHei") ? CLEARTYPE_QUALITY
                                                               : ANTIALIASED_QUALITY;
}

}  // namespace

std::wstring ProbeBaseFace(HKEY fontsRoot) {
    ScopedRegKey key;
    if (::RegOpenKeyExW(fontsRoot, kFontsKeyPath, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) {
        return kFallbackFace;
    }
    for (const FaceProbe& probe : kFaceProbes) {
        if (::RegQueryValueExW(key.Get(), probe.value, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS) {
            return probe.face;
        }
    }
    return kFallbackFace;
}

BkFontPool& BkFontPool::Instance() {
    static BkFontPool pool(ProbeBaseFace(), kDefaultBaseFontHeight);
    return pool;
}

BkFontPool::BkFontPool(const std::wstring& face, int height) : face_(face), height_(height) {
    SetBaseFont(face, height);
}

void BkFontPool::SetBaseFont(const std::wstring& face, int height) {
    face_ = face;
    height_ = height;
    LOGFONTW base = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);
    base.lfHeight = height;
    std::wcsncpy(base.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    base.lfFaceName[LF_FACESIZE - 1] = L'\0';
    base.lfQuality = QualityForFace(face);
    base_ = base;
    // Replacing the entry deletes the previous code-0 font.
    fonts_[0] = ScopedFont(::CreateFontIndirectW(&base_));
}

HFONT BkFontPool::GetFont(std::uint32_t code) {
    // Only the style bits and the size byte make a font; keying the cache by
    // the rest too would let a document with many odd codes exhaust GDI.
    code &= kFontItalic | kFontUnderline | kFontBold | (0xFFu << kFontSizeShift);
    auto found = fonts_.find(code);
    if (found != fonts_.end() && found->second) {
        return found->second.Get();
    }
    LOGFONTW font = base_;
    font.lfWeight = (code & kFontBold) ? FW_BOLD : FW_NORMAL;
    font.lfUnderline = (code & kFontUnderline) ? TRUE : FALSE;
    font.lfItalic = (code & kFontItalic) ? TRUE : FALSE;
    const auto sizeStep = static_cast<signed char>((code >> kFontSizeShift) & 0xFF);
    font.lfHeight -= sizeStep;
    HFONT made = ::CreateFontIndirectW(&font);
    if (made == nullptr) {
        return nullptr;
    }
    fonts_[code] = ScopedFont(made);
    return made;
}

int BkFontPool::GetSizeStep(HFONT font) const {
    LOGFONTW info = {};
    if (font == nullptr || ::GetObjectW(font, sizeof(info), &info) == 0) {
        return 0;
    }
    return height_ - info.lfHeight;
}

}  // namespace velora
