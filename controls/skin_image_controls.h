#pragma once

#include <string>

#include "markup/skin_base.h"
#include "ui/bk_window.h"

namespace velora {

// Passive controls that draw a skin of the skin pool in some way. None of
// them has input of its own.

// "imgbg": a background skin, tiled over the control when `fill` is set,
// else its whole picture stretched over the control's top-left `cx` x `cy`
// (the whole control when 0). Natural size: `cx` x `cy`, else the skin's.
class CBkImageBg : public CBkWindow {
  public:
    static constexpr char kTag[] = "imgbg";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::string& Skin() const { return skin_; }
    bool Fill() const { return fill_ != 0; }
    int CellWidth() const { return cx_; }
    int CellHeight() const { return cy_; }

  protected:
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    std::string skin_;
    int fill_ = 0;
    int cx_ = 0;
    int cy_ = 0;
};

// "scrollimg": a window onto a skin, as large as the control, whose origin
// in the picture is `hpos` with `hscroll` and `vpos` with `vscroll`, kept
// inside the picture. Natural size: `cx` x `cy`, else the skin's.
class CBkImageScroll : public CBkWindow {
  public:
    static constexpr char kTag[] = "scrollimg";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::string& Skin() const { return skin_; }
    int CellWidth() const { return cx_; }
    int CellHeight() const { return cy_; }
    int HorizontalPosition() const { return hPos_; }

  protected:
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    std::string skin_;
    int hScroll_ = 0;
    int vScroll_ = 0;
    int cx_ = 0;
    int cy_ = 0;
    int hPos_ = 0;
    int vPos_ = 0;
};

// "imgex": one cell of a skin (cells are one skin size wide, counted from the
// left) drawn with a constant alpha.
class CBkImageEx : public CBkWindow {
  public:
    static constexpr char kTag[] = "imgex";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::string& Skin() const { return skin_; }
    int Sub() const { return sub_; }
    int Alpha() const { return alpha_; }

  protected:
    // The skin, its cell size and the source of cell `sub`; false when the
    // skin is missing or the cell cannot be drawn.
    bool FindCell(CBkSkinBase*& skin, SIZE& cell, RECT& source) const;
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    std::string skin_;
    int sub_ = 0;
    int alpha_ = 255;
};

// "imgex2": the cell cut to the control from row `topdraw`, or scaled to it
// with `stretch`.
class CBkImageEx2 : public CBkImageEx {
  public:
    static constexpr char kTag[] = "imgex2";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

  protected:
    // Keeps the size of a position that gives both corners.
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    int stretch_ = 0;
    int topDraw_ = 0;
};

// "imgrotale": one skin cell stretched over the control, turned by `angle`
// degrees about the control's centre when non-zero.
class CBkImageRotale : public CBkWindow {
  public:
    static constexpr char kTag[] = "imgrotale";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::string& Skin() const { return skin_; }
    int Sub() const { return sub_; }
    int Angle() const { return angle_; }

  protected:
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    std::string skin_;
    int sub_ = 0;
    int angle_ = 0;
};

// "imggray": the whole skin cell stretched over the control, in grey when
// `gray` is set.
class CBkImgGray : public CBkWindow {
  public:
    static constexpr char kTag[] = "imggray";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::string& Skin() const { return skin_; }
    bool Gray() const { return gray_ != 0; }

  protected:
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    std::string skin_;
    int gray_ = 0;
};

// "expendimg": a skin stretched over the control with fixed, unstretched
// margins, drawn into a bitmap of its own and blended with `skinalpha`.
class CBkExpendImg : public CBkWindow {
  public:
    static constexpr char kTag[] = "expendimg";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    const std::string& Skin() const { return skin_; }

  protected:
    SIZE MeasureContent(SIZE available) override;
    void PaintContent(HDC dc) override;

  private:
    std::string skin_;
    int skinAlpha_ = 255;
    RECT margins_ = {};  // unstretched edges, in `left` .. `bottom`
};

}  // namespace velora
