#pragma once

#include <windows.h>
#include <objidl.h>

#include "base/unique_resource.h"

// GDI+ reached through its flat API, resolved at run time from the System32
// copy of gdiplus.dll: the program carries no import of it, and a gdiplus.dll
// planted beside the program is never loaded. Add a function to the list
// below to make it available to the rest of the program.
namespace velora::gdip {

// Opaque GDI+ objects (a bitmap is an image).
struct GpImage;
struct GpGraphics;
struct GpImageAttributes;
struct GpFont;
struct GpBrush;
struct GpStringFormat;
struct GpPen;
struct GpPath;
using GpBitmap = GpImage;
using GpSolidFill = GpBrush;
using ARGB = DWORD;

using Status = int;
inline constexpr Status kOk = 0;

inline constexpr int kPixelFormat32bppARGB = 0x0026200A;
inline constexpr int kPixelFormat32bppPARGB = 0x000E200B;
inline constexpr int kUnitPixel = 2;
inline constexpr UINT kLockRead = 1;
inline constexpr UINT kLockWrite = 2;
inline constexpr UINT kLockUserInputBuffer = 4;
// RotateFlipType: 4 mirrors left-right.
inline constexpr int kRotateNoneFlipX = 4;
inline constexpr int kFillModeAlternate = 0;
inline constexpr int kCombineModeReplace = 0;
inline constexpr int kColorAdjustTypeDefault = 0;
inline constexpr int kColorMatrixFlagsDefault = 0;
inline constexpr int kSmoothingAntiAlias = 4;
inline constexpr int kLineCapRound = 2;
inline constexpr int kPenAlignmentCenter = 0;

struct StartupInput {
    UINT32 version = 1;
    void* debugEventCallback = nullptr;
    BOOL suppressBackgroundThread = FALSE;
    BOOL suppressExternalCodecs = FALSE;
};

struct BitmapData {
    UINT width;
    UINT height;
    INT stride;
    INT pixelFormat;
    void* scan0;
    UINT_PTR reserved;
};

struct Rect {
    INT x, y, width, height;
};

struct Point {
    INT x, y;
};

struct RectF {
    float x, y, width, height;
};

// StringAlignment, StringTrimming and StringFormatFlags values.
inline constexpr int kStringAlignmentNear = 0;
inline constexpr int kStringAlignmentCenter = 1;
inline constexpr int kStringAlignmentFar = 2;
inline constexpr int kStringTrimmingNone = 0;
inline constexpr int kStringTrimmingEllipsisCharacter = 3;
inline constexpr int kStringTrimmingEllipsisWord = 4;
inline constexpr int kStringTrimmingEllipsisPath = 5;
inline constexpr int kStringFormatFlagsLineLimit = 0x2000;

struct ColorMatrix {
    float m[5][5];
};

// X(name, return type, parameter list)
#define VELORA_GDIPLUS_FUNCTIONS(X)                                                                \
    X(GdiplusStartup, Status, (ULONG_PTR*, const StartupInput*, void*))                            \
    X(GdiplusShutdown, void, (ULONG_PTR))                                                          \
    X(GdipLoadImageFromStream, Status, (IStream*, GpImage**))                                      \
    X(GdipSaveImageToStream, Status, (GpImage*, IStream*, const CLSID*, const void*))              \
    X(GdipDisposeImage, Status, (GpImage*))                                                        \
    X(GdipGetImageWidth, Status, (GpImage*, UINT*))                                                \
    X(GdipGetImageHeight, Status, (GpImage*, UINT*))                                               \
    X(GdipImageRotateFlip, Status, (GpImage*, int))                                                \
    X(GdipCreateBitmapFromScan0, Status, (INT, INT, INT, INT, BYTE*, GpBitmap**))                  \
    X(GdipBitmapLockBits, Status, (GpBitmap*, const Rect*, UINT, INT, BitmapData*))                \
    X(GdipBitmapUnlockBits, Status, (GpBitmap*, BitmapData*))                                      \
    X(GdipCreateFromHDC, Status, (HDC, GpGraphics**))                                              \
    X(GdipGetImageGraphicsContext, Status, (GpImage*, GpGraphics**))                               \
    X(GdipDeleteGraphics, Status, (GpGraphics*))                                                   \
    X(GdipDrawImageRectRectI, Status,                                                              \
      (GpGraphics*, GpImage*, INT, INT, INT, INT, INT, INT, INT, INT, int,                         \
       const GpImageAttributes*, void*, void*))                                                    \
    X(GdipDrawImageRectRect, Status,                                                               \
      (GpGraphics*, GpImage*, float, float, float, float, float, float, float, float, int,         \
       const GpImageAttributes*, void*, void*))                                                    \
    X(GdipDrawImagePointsRectI, Status,                                                            \
      (GpGraphics*, GpImage*, const Point*, INT, INT, INT, INT, INT, int,                          \
       const GpImageAttributes*, void*, void*))                                                    \
    X(GdipCreateImageAttributes, Status, (GpImageAttributes**))                                    \
    X(GdipDisposeImageAttributes, Status, (GpImageAttributes*))                                    \
    X(GdipSetImageAttributesColorMatrix, Status,                                                   \
      (GpImageAttributes*, int, BOOL, const ColorMatrix*, const ColorMatrix*, int))                \
    X(GdipCreateFontFromLogfontW, Status, (HDC, const LOGFONTW*, GpFont**))                        \
    X(GdipDeleteFont, Status, (GpFont*))                                                           \
    X(GdipCreateSolidFill, Status, (ARGB, GpSolidFill**))                                          \
    X(GdipFillRectangleI, Status, (GpGraphics*, GpBrush*, INT, INT, INT, INT))                     \
    X(GdipDeleteBrush, Status, (GpBrush*))                                                         \
    X(GdipCreateStringFormat, Status, (INT, LANGID, GpStringFormat**))                             \
    X(GdipDeleteStringFormat, Status, (GpStringFormat*))                                           \
    X(GdipSetStringFormatAlign, Status, (GpStringFormat*, int))                                    \
    X(GdipSetStringFormatLineAlign, Status, (GpStringFormat*, int))                                \
    X(GdipSetStringFormatFlags, Status, (GpStringFormat*, INT))                                    \
    X(GdipSetStringFormatTrimming, Status, (GpStringFormat*, int))                                 \
    X(GdipSetTextRenderingHint, Status, (GpGraphics*, int))                                        \
    X(GdipDrawString, Status,                                                                      \
      (GpGraphics*, const WCHAR*, INT, const GpFont*, const RectF*, const GpStringFormat*,         \
       const GpBrush*))                                                                            \
    X(GdipSetSmoothingMode, Status, (GpGraphics*, int))                                            \
    X(GdipCreatePen1, Status, (ARGB, float, int, GpPen**))                                         \
    X(GdipDeletePen, Status, (GpPen*))                                                             \
    X(GdipSetPenMode, Status, (GpPen*, int))                                                       \
    X(GdipSetPenStartCap, Status, (GpPen*, int))                                                   \
    X(GdipSetPenEndCap, Status, (GpPen*, int))                                                     \
    X(GdipDrawLine, Status, (GpGraphics*, GpPen*, float, float, float, float))                     \
    X(GdipMeasureString, Status,                                                                   \
      (GpGraphics*, const WCHAR*, INT, const GpFont*, const RectF*, const GpStringFormat*, RectF*, \
       INT*, INT*))                                                                                \
    X(GdipCreatePath, Status, (int, GpPath**))                                                     \
    X(GdipDeletePath, Status, (GpPath*))                                                           \
    X(GdipAddPathPieI, Status, (GpPath*, INT, INT, INT, INT, float, float))                        \
    X(GdipAddPathArcI, Status, (GpPath*, INT, INT, INT, INT, float, float))                        \
    X(GdipAddPathRectangleI, Status, (GpPath*, INT, INT, INT, INT))                                \
    X(GdipClosePathFigure, Status, (GpPath*))                                                      \
    X(GdipSetClipPath, Status, (GpGraphics*, GpPath*, int))                                        \
    X(GdipSetPenDashStyle, Status, (GpPen*, int))                                                  \
    X(GdipDrawLinesI, Status, (GpGraphics*, GpPen*, const Point*, INT))                            \
    X(GdipFillPath, Status, (GpGraphics*, GpBrush*, GpPath*))                                      \
    X(GdipDrawPath, Status, (GpGraphics*, GpPen*, GpPath*))

struct Api {
#define VELORA_GDIPLUS_POINTER(name, result, params) result(WINAPI* name) params = nullptr;
    VELORA_GDIPLUS_FUNCTIONS(VELORA_GDIPLUS_POINTER)
#undef VELORA_GDIPLUS_POINTER
};

// The bound functions, resolved once per process; null when gdiplus.dll or
// any listed function is missing. The library stays loaded until exit.
const Api* Functions();

// Keeps GDI+ started for the object's lifetime (version 1, no debug
// callback, background thread and external codecs allowed).
class Session {
  public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool IsStarted() const { return token_ != 0; }

  private:
    ULONG_PTR token_ = 0;
};

struct ImageTraits {
    using Type = GpImage*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type image) { return image != nullptr; }
    static void Close(Type image);
};

struct GraphicsTraits {
    using Type = GpGraphics*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type graphics) { return graphics != nullptr; }
    static void Close(Type graphics);
};

struct ImageAttributesTraits {
    using Type = GpImageAttributes*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type attributes) { return attributes != nullptr; }
    static void Close(Type attributes);
};

struct FontTraits {
    using Type = GpFont*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type font) { return font != nullptr; }
    static void Close(Type font);
};

struct BrushTraits {
    using Type = GpBrush*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type brush) { return brush != nullptr; }
    static void Close(Type brush);
};

struct StringFormatTraits {
    using Type = GpStringFormat*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type format) { return format != nullptr; }
    static void Close(Type format);
};

struct PenTraits {
    using Type = GpPen*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type pen) { return pen != nullptr; }
    static void Close(Type pen);
};

struct PathTraits {
    using Type = GpPath*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type path) { return path != nullptr; }
    static void Close(Type path);
};

using ScopedImage = UniqueResource<ImageTraits>;
using ScopedPen = UniqueResource<PenTraits>;
using ScopedPath = UniqueResource<PathTraits>;
using ScopedFont = UniqueResource<FontTraits>;
using ScopedBrush = UniqueResource<BrushTraits>;
using ScopedStringFormat = UniqueResource<StringFormatTraits>;
using ScopedGraphics = UniqueResource<GraphicsTraits>;
using ScopedImageAttributes = UniqueResource<ImageAttributesTraits>;

// A graphics object drawing on `dc`; empty when GDI+ is unavailable.
ScopedGraphics GraphicsOnDc(HDC dc);

// Locks a whole bitmap's pixels for the object's lifetime.
class ScopedBitmapLock {
  public:
    // `userBuffer` (optional) receives the pixels in `format` directly.
    ScopedBitmapLock(GpBitmap* bitmap, UINT width, UINT height, UINT mode, INT format,
                     BitmapData* userBuffer = nullptr);
    ~ScopedBitmapLock();
    ScopedBitmapLock(const ScopedBitmapLock&) = delete;
    ScopedBitmapLock& operator=(const ScopedBitmapLock&) = delete;

    bool IsLocked() const { return locked_; }
    const BitmapData& Data() const { return data_; }

  private:
    GpBitmap* bitmap_;
    BitmapData data_ = {};
    bool locked_ = false;
};

}  // namespace velora::gdip
