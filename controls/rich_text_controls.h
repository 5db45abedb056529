#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/inline_rich_text.h"
#include "controls/rich_text2_window.h"
#include "controls/rich_text_graphics.h"
#include "ui/bk_window.h"

namespace velora {

// "richtext": the older rich text that reads its own inline markup (b, i, u,
// s, g, c, a, o, br), wraps it by character like `richtext2` and draws each
// piece with TextOutW. Links ("a") take the `linkclass` style, show its hover
// look under the mouse and report a click with the link's `id`.
class CBkRichText : public CBkWindow {
  public:
    static constexpr char kTag[] = "richtext";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }
    // The control's attributes, then its inline markup.
    bool Load(const TiXmlElement* element) override;
    bool SetAttribute(const std::string& name, const std::string& value, bool loading) override;

    int ForceCursor() const { return forceCursor_; }
    int AdjustPosition() const { return adjustPos_; }
    int AutoAdjustYaHei() const { return autoAdjustYaHei_; }

    // ---- Layout ------------------------------------------------------------
    struct Piece {
        std::size_t run = 0;  // index into Document().runs
        RichRect rect;
        std::wstring text;
    };
    const InlineRichDocument& Document() const { return document_; }
    // Lays the runs out on `dc` in the rectangle less the style margins.
    void LayOut(HDC dc);
    const std::vector<Piece>& Pieces() const { return pieces_; }
    float ContentBottom() const { return contentBottom_; }
    // The link under `point`, or -1.
    int LinkAt(const RichPoint& point) const;

    void SetControlCursor() override;
    bool HandleMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

  protected:
    virtual InlineRichDialect Dialect() const { return InlineRichDialect::kRichText; }
    void PaintContent(HDC dc) override;

  private:
    // Colour and font of run `index`, with the link's hover look when asked.
    RichTextLook RunLook(std::size_t index, bool hovered) const;
    void SetHoverLink(int link);
    void NotifyLinkClick(int link) const;

    std::uint32_t defaultFont_ = 0;  // font code of the runs that name none
    std::string linkClass_;
    int forceCursor_ = 0;
    int adjustPos_ = 0;
    int autoAdjustYaHei_ = 0;
    InlineRichDocument document_;
    std::vector<Piece> pieces_;
    bool layoutNeeded_ = true;
    float contentBottom_ = 0;
    int hoverLink_ = -1;
    int pressedLink_ = -1;
};

// "richtextex": the older rich text that also reads "color" (value) and
// "offset" (length in pixels, decimal) elements.
class CBkRichTextEx : public CBkRichText {
  public:
    static constexpr char kTag[] = "richtextex";
    bool IsClass(const char* tag) const override;
    const char* GetObjectClass() const override { return kTag; }

  protected:
    InlineRichDialect Dialect() const override { return InlineRichDialect::kRichTextEx; }
};

}  // namespace velora
