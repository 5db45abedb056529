// The one unit that builds stb_image: PNG and JPEG from memory only, no
// failure texts, no per-thread settings (pictures are decoded on the UI
// thread), no picture larger than a DIB may be.
#include "markup/dib32.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STBI_NO_FAILURE_STRINGS
#define STBI_NO_THREAD_LOCALS
#define STBI_MAX_DIMENSIONS velora::Dib32::kMaxSide
#include <stb_image.h>
