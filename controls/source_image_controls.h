#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/win_handles.h"
#include "markup/image_pools.h"
#include "ui/bk_window.h"

namespace velora {

// An address or handle written as unsigned decimal digits. Reads 0 (none) for
// anything that is not a plain digit run or that does not fit a pointer, so a
// value is never silently cut down to a different address.
std::uintptr_t ParseAddress(const std::string& text);

// Picture controls whose image does not come from the skin pool.

// "icon": an icon loaded by source, drawn stretched over the control: the
// system icon `oem` when non-zero, else `src` as a resource id of the
// program or as an icon file path, `size` pixels square (0: the system's
// size). Loaded at the first paint after a change; the control owns it.
// Natural size: `size` square when set.
class CBkIconWnd : public CBkWindow {
  public:
    static constexpr char kTag[] = "icon";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::string& Source() const { return src_; }
    int Oem() const { return oem_; }
    int IconSize() const { return size_; }
    // The icon drawn, loading it when needed; null when none loads.
    HICON LoadedIcon();

  protected:
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    std::string src_;
    int oem_ = 0;
    int size_ = 0;
    bool loadTried_ = false;
    HICON shared_ = nullptr;  // system icons are never destroyed
    ScopedIcon owned_;
};

// "hicon": an icon handle given as a number. With `autodel` the control owns
// the handle: it is destroyed with the control, or when another handle
// replaces it.
class CBkHIcon : public CBkWindow {
  public:
    static constexpr char kTag[] = "hicon";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    HICON Icon() const { return owned_ ? owned_.Get() : borrowed_; }

  protected:
    void PaintContent(HDC dc) override;

  private:
    void SetIcon(HICON icon);
    void SetAutoDelete(bool autoDelete);

    HICON borrowed_ = nullptr;
    ScopedIcon owned_;  // holds the handle while `autodel` is set
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

  protected:
    void PaintContent(HDC dc) override;

  private:
    std::uintptr_t image_ = 0;
};

// "storageimage": an image file drawn scaled to the control; with `subwidth`
// only the cell `sub` (modulo the cell count) of `subwidth`-wide cells. The
// file is read once after each change of `filepath`; a path that does not
// fit a path buffer, a missing, oversized or undecodable file draws nothing.
class CBkStorageImage : public CBkWindow {
  public:
    static constexpr char kTag[] = "storageimage";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::wstring& FilePath() const { return filePath_; }
    int SubWidth() const { return subWidth_; }
    int Sub() const { return sub_; }
    // The decoded picture, reading the file when needed; null when none.
    gdip::GpImage* Picture();

  protected:
    void PaintContent(HDC dc) override;

  private:
    std::wstring filePath_;
    int subWidth_ = 0;
    int sub_ = 0;
    bool loadTried_ = false;
    BkImage picture_;
};

// The cell that `sub` names among `count` cells, wrapped into 0 .. count - 1
// (negative values count back from the end); -1 when there is no whole cell,
// as when the cells are wider than the image.
int WrapCellIndex(int sub, int count);

}  // namespace velora
