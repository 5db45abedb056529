#pragma once

#include <windows.h>

#include <map>

#include "markup/dib32.h"
#include "markup/gdiplus_runtime.h"

namespace velora {

// Prepared 32-bit pictures by id for the file skins ("skinpng", "skinjpg").
// The installer puts nothing here, so those skins draw nothing; `Put` lets a
// future producer (or a test) supply pictures. Runs GDI+ while it exists.
class BkSkinPool {
  public:
    static BkSkinPool& Instance();

    // The picture for `id`, or null.
    const Dib32* Find(UINT id) const;
    // Stores `picture` under `id` unless the id is taken; false then.
    bool Put(UINT id, Dib32 picture);

  private:
    BkSkinPool() = default;
    gdip::Session session_;
    std::map<UINT, Dib32> pictures_;
};

}  // namespace velora
