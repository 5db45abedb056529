#pragma once

#include <windows.h>

#include <map>

#include "base/gdi_scopes.h"

namespace velora {

// Bitmaps by resource id, loaded on first request and deleted at process
// end. An id that cannot be loaded is not remembered: the next request
// tries again.
class BkBmpPool {
  public:
    static BkBmpPool& Instance();

    // The bitmap, or null when it cannot be loaded now.
    HBITMAP Get(UINT id);

  private:
    BkBmpPool() = default;
    std::map<UINT, ScopedBitmap> bitmaps_;
};

}  // namespace velora
