#include "controls/inline_rich_text.h"

#include <tinyxml.h>

#include <cstring>

#include "markup/font_pool.h"
#include "markup/string_pool.h"
#include "markup/value_parsers.h"
#include "markup/xml_document.h"

namespace velora {
namespace {

// Nesting deeper than this is not a document anyone writes; it only guards
// the recursion against hostile markup.
constexpr int kMaxDepth = 64;

bool Is(const char* tag, const char* name) {
    return tag != nullptr && std::strcmp(tag, name) == 0;
}

std::string Attribute(const TiXmlElement* element, const char* name) {
    const char* value = AttributeText(element, name);
    return value != nullptr ? value : "";
}

class InlineReader {
  public:
    InlineReader(InlineRichDialect dialect, InlineRichDocument& document)
        : dialect_(dialect), document_(document) {}

    void ReadChildren(const TiXmlNode* parent, const InlineRichRun& format, int depth) {
        if (depth > kMaxDepth) {
            return;
        }
        for (const TiXmlNode* node = parent->FirstChild(); node; node = node->NextSibling()) {
            if (const TiXmlText* text = node->ToText()) {
                InlineRichRun run = format;
                run.text = SubstituteStringReferences(Utf8ToUtf16(text->Value()));
                if (!run.text.empty()) {
                    document_.runs.push_back(run);
                }
            } else if (const TiXmlElement* element = node->ToElement()) {
                ReadElement(element, format, depth);
            }
        }
    }

  private:
    void ReadElement(const TiXmlElement* element, InlineRichRun format, int depth) {
        const char* tag = element->Value();
        if (Is(tag, "br")) {
            Push(InlineRichRun::Kind::kBreak, format, 0);
            return;
        }
        if (Is(tag, "o")) {
            Push(InlineRichRun::Kind::kOffset, format,
                 static_cast<int>(ParseHexCode(Attribute(element, "offset"))));
            return;
        }
        if (dialect_ == InlineRichDialect::kRichTextEx && Is(tag, "offset")) {
            Push(InlineRichRun::Kind::kOffset, format, ParseDecimal(Attribute(element, "length")));
            return;
        }
        if (Is(tag, "b")) {
            format.fontCode |= kFontBold;
        } else if (Is(tag, "i")) {
            format.fontCode |= kFontItalic;
        } else if (Is(tag, "u")) {
            format.fontCode |= kFontUnderline;
        } else if (Is(tag, "s")) {
            const std::uint32_t size = ParseHexCode(Attribute(element, "size")) & 0xFF;
            format.fontCode = (format.fontCode & ~0xFF00u) | (size << kFontSizeShift);
        } else if (Is(tag, "g")) {
            const std::string align = Attribute(element, "align");
            format.vAlign = align == "t" ? 0 : (align == "c" ? DT_VCENTER : DT_BOTTOM);
        } else if (Is(tag, "c")) {
            format.color = ParseColor(Attribute(element, "color"));
        } else if (dialect_ == InlineRichDialect::kRichTextEx && Is(tag, "color")) {
            format.color = ParseColor(Attribute(element, "value"));
        } else if (Is(tag, "a")) {
            format.link = static_cast<int>(document_.linkIds.size());
            document_.linkIds.push_back(AttributeInt(element, "id"));
        }
        ReadChildren(element, format, depth + 1);
    }

    void Push(InlineRichRun::Kind kind, const InlineRichRun& format, int offset) {
        InlineRichRun run = format;
        run.kind = kind;
        run.offset = offset;
        document_.runs.push_back(run);
    }

    InlineRichDialect dialect_;
    InlineRichDocument& document_;
};

}  // namespace

InlineRichDocument ParseInlineRichText(const TiXmlElement* element, std::uint32_t defaultFont,
                                       InlineRichDialect dialect) {
    InlineRichDocument document;
    if (element == nullptr) {
        return document;
    }
    InlineRichRun format;
    format.fontCode = defaultFont;
    InlineReader(dialect, document).ReadChildren(element, format, 0);
    return document;
}

}  // namespace velora
