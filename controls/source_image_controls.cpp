#include "controls/source_image_controls.h"

#include <algorithm>
#include <limits>

#include "base/path_buffer.h"
#include "markup/attribute_reader.h"
#include "markup/gdiplus_draw.h"
#include "markup/resource_loader.h"
#include "markup/value_parsers.h"

namespace velora {
namespace {

// A resource id written as 1 to 5 decimal digits.
bool IsResourceNumber(const std::string& text) {
    if (text.empty() || text.size() > 5) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    const int id = ParseDecimal(text);
    return id > 0 && id <= 0xFFFF;
}

void DrawIconOver(HDC dc, HICON icon, const RECT& rect) {
    if (icon != nullptr && rect.right > rect.left && rect.bottom > rect.top) {
        ::DrawIconEx(dc, rect.left, rect.top, icon, rect.right - rect.left, rect.bottom - rect.top,
                     0, nullptr, DI_NORMAL);
    }
}

}  // namespace
}  // namespace velora

namespace velora {

std::uintptr_t ParseAddress(const std::string& text) {
    constexpr std::uintptr_t kMax = std::numeric_limits<std::uintptr_t>::max();
    std::uintptr_t value = 0;
    if (text.empty()) {
        return 0;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
        const auto digit = static_cast<std::uintptr_t>(c - '0');
        if (value > (kMax - digit) / 10) {
            return 0;
        }
        value = value * 10 + digit;
    }
    return value;
}

bool CBkIconWnd::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkIconWnd::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const auto forgetIcon = [this] {
        loadTried_ = false;  // the next paint loads the new icon
        shared_ = nullptr;
        owned_.Reset();
        return true;
    };
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) ||
           ((r.Text("src", src_) || r.Int("oem", oem_) || r.Int("size", size_)) && forgetIcon());
}

HICON CBkIconWnd::LoadedIcon() {
    if (!loadTried_) {
        loadTried_ = true;
        const int side = std::max(0, size_);
        if (oem_ != 0) {
            shared_ = ::LoadIconW(nullptr, MAKEINTRESOURCEW(oem_));
        } else if (IsResourceNumber(src_)) {
            owned_.Reset(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                         MAKEINTRESOURCEW(ParseDecimal(src_)),
                                                         IMAGE_ICON, side, side, 0)));
        } else if (!src_.empty()) {
            PathBuffer path = {};
            if (CopyBounded(path, Utf8ToUtf16(src_).c_str())) {
                owned_.Reset(static_cast<HICON>(
                    ::LoadImageW(nullptr, path, IMAGE_ICON, side, side, LR_LOADFROMFILE)));
            }
        }
    }
    return owned_ ? owned_.Get() : shared_;
}

SIZE CBkIconWnd::MeasureContent(SIZE available) {
    if (size_ > 0 && Position().list.count != 4) {
        return {size_, size_};
    }
    return CBkWindow::MeasureContent(available);
}

void CBkIconWnd::PaintContent(HDC dc) {
    DrawIconOver(dc, LoadedIcon(), Rect());
}

bool CBkHIcon::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkHIcon::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const auto handle = [this](const std::string& text) {
        SetIcon(reinterpret_cast<HICON>(ParseAddress(text)));
        return true;
    };
    const auto autoDelete = [this](const std::string& text) {
        SetAutoDelete(ParseFlag(text));
        return true;
    };
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) || r.Apply("handle", handle) ||
           r.Apply("autodel", autoDelete);
}

void CBkHIcon::SetIcon(HICON icon) {
    if (icon == Icon()) {
        return;
    }
    owned_.Reset();  // an owned handle is destroyed when replaced
    borrowed_ = nullptr;
    if (autoDelete_) {
        owned_.Reset(icon);
    } else {
        borrowed_ = icon;
    }
}

void CBkHIcon::SetAutoDelete(bool autoDelete) {
    autoDelete_ = autoDelete;
    if (autoDelete && borrowed_ != nullptr) {
        owned_.Reset(borrowed_);
        borrowed_ = nullptr;
    } else if (!autoDelete && owned_) {
        borrowed_ = owned_.Release();
    }
}

void CBkHIcon::PaintContent(HDC dc) {
    DrawIconOver(dc, Icon(), Rect());
}

bool CBkMemoryImage::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkMemoryImage::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    const auto address = [this](const std::string& text) {
        image_ = ParseAddress(text);
        return true;
    };
    return CBkWindow::SetAttribute(name, value, loading) ||
           AttributeReader(name, value).Apply("mempointer", address);
}

void CBkMemoryImage::PaintContent(HDC dc) {
    // The program that passed the address keeps the image alive.
    auto* image = reinterpret_cast<gdip::GpImage*>(image_);
    if (image == nullptr || gdip::Functions() == nullptr) {
        return;
    }
    const SIZE size = ImageSize(image);
    if (size.cx > 0 && size.cy > 0) {
        DrawImageOnDc(dc, image, Rect(), RECT{0, 0, size.cx, size.cy});
    }
}

bool CBkStorageImage::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkStorageImage::SetAttribute(const std::string& name, const std::string& value,
                                   bool loading) {
    const auto forgetPicture = [this] {
        loadTried_ = false;  // read the new file at the next paint
        picture_ = BkImage();
        return true;
    };
    const AttributeReader r(name, value);
    return CBkWindow::SetAttribute(name, value, loading) ||
           (r.WideText("filepath", filePath_) && forgetPicture()) || r.Int("subwidth", subWidth_) ||
           r.Int("sub", sub_);
}

gdip::GpImage* CBkStorageImage::Picture() {
    if (!loadTried_) {
        loadTried_ = true;
        // Only a path that fits a path buffer whole is opened: a cut one
        // could name another file.
        PathBuffer path = {};
        std::string bytes;
        if (!filePath_.empty() && filePath_.find(L'\0') == std::wstring::npos &&
            CopyBounded(path, filePath_.c_str()) && ReadWholeFile(path, bytes)) {
            BkPngPool::Instance();  // GDI+ running
            picture_ = DecodeImage(bytes);
        }
    }
    return picture_.image.Get();
}

void CBkStorageImage::PaintContent(HDC dc) {
    gdip::GpImage* picture = Picture();
    if (picture == nullptr) {
        return;
    }
    const int width = static_cast<int>(picture_.width);
    const int height = static_cast<int>(picture_.height);
    RECT source = {0, 0, width, height};
    if (subWidth_ > 0) {
        const int cell = WrapCellIndex(sub_, width / subWidth_);
        if (cell < 0) {
            return;
        }
        source.left = cell * subWidth_;
        source.right = source.left + subWidth_;
    }
    DrawImageOnDc(dc, picture, Rect(), source);
}

int WrapCellIndex(int sub, int count) {
    if (count <= 0) {
        return -1;
    }
    const int cell = sub % count;
    return cell < 0 ? cell + count : cell;
}

}  // namespace velora
