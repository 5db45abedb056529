#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/bk_window.h"

namespace velora {

// Picture controls whose image does not come from the skin pool.

// "icon": an icon loaded by source (`src`, `oem`, `size`), drawn stretched.
class CBkIconWnd : public CBkWindow {
  public:
    static constexpr char kTag[] = "icon";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::string& Source() const { return src_; }
    int Oem() const { return oem_; }
    int IconSize() const { return size_; }

  private:
    std::string src_;
    int oem_ = 0;
    int size_ = 0;
};

// "hicon": an icon handle given as a number. With `autodel` the control owns
// the handle: it is destroyed with the control, or when another handle
// replaces it.
class CBkHIcon : public CBkWindow {
  public:
    static constexpr char kTag[] = "hicon";
    ~CBkHIcon() override;
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    HICON Icon() const { return icon_; }
    bool AutoDelete() const { return autoDelete_; }

  private:
    void DestroyOwnedIcon();

    HICON icon_ = nullptr;
    bool autoDelete_ = false;
};

// "memimage": a GDI+ image that the program passes by address; not owned.
class CBkMemoryImage : public CBkWindow {
  public:
    static constexpr char kTag[] = "memimage";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    // 0 when none (or when the number could not be an address).
    std::uintptr_t ImageAddress() const { return image_; }

  private:
    std::uintptr_t image_ = 0;
};

// "storageimage": an image file drawn scaled to the control; with `subwidth`
// only the cell `sub` of `subwidth`-wide cells.
class CBkStorageImage : public CBkWindow {
  public:
    static constexpr char kTag[] = "storageimage";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::wstring& FilePath() const { return filePath_; }
    int SubWidth() const { return subWidth_; }
    int Sub() const { return sub_; }

  private:
    std::wstring filePath_;
    int subWidth_ = 0;
    int sub_ = 0;
};

// The cell that `sub` names among `count` cells, wrapped into 0 .. count - 1
// (negative values count back from the end); -1 when there is no whole cell,
// as when the cells are wider than the image.
int WrapCellIndex(int sub, int count);

}  // namespace velora
