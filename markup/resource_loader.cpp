#include "markup/resource_loader.h"

#include <cwchar>

#include "base/win_handles.h"
#include "markup/value_parsers.h"
#include "base/bounded_format.h"

namespace velora {

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 ||
        size.QuadPart > kMaxFileBytes) {
        return false;
    }
    std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!::ReadFile(file.Get(), &data[0], static_cast<DWORD>(data.size()), &read, nullptr) ||
        read != data.size()) {
        return false;
    }
    bytes.swap(data);
    return true;
}

BkResourceLoader& BkResourceLoader::Instance() {
    static BkResourceLoader instance;
    return instance;
}

bool BkResourceLoader::FromProvider(const char* type, UINT id, std::string& bytes) const {
    return provider_ && provider_->Read(type, id, bytes) && !bytes.empty();
}

bool BkResourceLoader::FromModule(HMODULE module, const char* type, UINT id,
                                  std::string& bytes) const {
    const std::wstring typeName = Utf8ToUtf16(type);
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), typeName.c_str());
    if (info == nullptr) {
        return false;
    }
    const DWORD size = ::SizeofResource(module, info);
    HGLOBAL loaded = size ? ::LoadResource(module, info) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return false;  // missing or empty counts as not found
    }
    bytes.assign(static_cast<const char*>(data), size);
    return true;
}

bool BkResourceLoader::FromDirectory(const char* type, UINT id, std::string& bytes) const {
    if (directory_.empty()) {
        return false;
    }
    const std::wstring path = directory_ + L"\\" + DecimalText(id) + L"." + Utf8ToUtf16(type);
    return ReadWholeFile(path, bytes);
}

bool BkResourceLoader::LoadDocument(UINT id, std::string& text) const {
    const HMODULE own = own_ ? own_ : ::GetModuleHandleW(nullptr);
    return (secondary_ && FromModule(secondary_, kXmlType, id, text)) ||
           FromModule(own, kXmlType, id, text) || FromDirectory(kXmlType, id, text);
}

std::vector<std::string> BkResourceLoader::CollectDocuments(UINT id) const {
    std::vector<std::string> copies;
    std::string text;
    if (FromProvider(kXmlType, id, text)) {
        copies.push_back(std::move(text));
    }
    if (secondary_ && FromModule(secondary_, kXmlType, id, text)) {
        copies.push_back(std::move(text));
    }
    if (FromModule(own_ ? own_ : ::GetModuleHandleW(nullptr), kXmlType, id, text)) {
        copies.push_back(std::move(text));
    }
    if (FromDirectory(kXmlType, id, text)) {
        copies.push_back(std::move(text));
    }
    return copies;
}

bool BkResourceLoader::LoadImageBytes(UINT id, const char* type, std::string& bytes) const {
    const HMODULE own = own_ ? own_ : ::GetModuleHandleW(nullptr);
    return FromProvider(type, id, bytes) ||
           (secondary_ && FromModule(secondary_, type, id, bytes)) ||
           FromModule(own, type, id, bytes) || FromDirectory(type, id, bytes);
}

ScopedBitmap BkResourceLoader::LoadBitmapImage(UINT id) const {
    const auto fromModule = [id](HMODULE module) {
        return static_cast<HBITMAP>(
            ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    };
    HBITMAP bitmap = secondary_ ? fromModule(secondary_) : nullptr;
    if (bitmap == nullptr) {
        bitmap = fromModule(own_ ? own_ : ::GetModuleHandleW(nullptr));
    }
    if (bitmap == nullptr && !directory_.empty()) {
        const std::wstring path = directory_ + L"\\" + DecimalText(id) + L".bmp";
        bitmap = static_cast<HBITMAP>(::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    }
    return ScopedBitmap(bitmap);
}

}  // namespace velora
