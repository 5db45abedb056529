#include "markup/string_pool.h"

#include <climits>

#include <tinyxml.h>

#include "markup/pool_table.h"
#include "markup/value_parsers.h"
#include "markup/xml_document.h"

namespace velora {
namespace {

const wchar_t kReferenceStart[] = L"%str";
constexpr std::size_t kReferenceStartLength = 4;
// Far more references than any text carries; bounds the work on hostile input.
constexpr int kMaxReferences = 4096;

// Decimal digits at `at`, saturating; `end` receives the index after them.
std::int64_t ReadWideDecimal(const std::wstring& text, std::size_t at, std::size_t& end) {
    std::int64_t value = 0;
    end = at;
    while (end < text.size() && text[end] >= L'0' && text[end] <= L'9') {
        if (value <= INT32_MAX) {
            value = value * 10 + (text[end] - L'0');
        }
        ++end;
    }
    return value;
}

}  // namespace

BkString& BkString::Instance() {
    static BkString pool;
    return pool;
}

bool BkString::Load(UINT id) {
    strings_.clear();
    return LoadPoolTable(id, "string", [this](const TiXmlElement& root) {
        for (const TiXmlElement* entry = root.FirstChildElement("s"); entry;
             entry = entry->NextSiblingElement("s")) {
            const char* idText = AttributeText(entry, "id");
            if (idText == nullptr) {
                continue;
            }
            // emplace keeps an existing entry: the first definition wins.
            strings_.emplace(ParseDecimal(idText), Utf8ToUtf16(ElementText(entry)));
        }
    });
}

const std::wstring* BkString::Find(std::int32_t id) const {
    auto found = strings_.find(id);
    return found == strings_.end() ? nullptr : &found->second;
}

std::wstring SubstituteStringReferences(const std::wstring& text, const StringLookup& lookup) {
    std::wstring result = text;
    std::size_t from = 0;
    for (int replaced = 0; replaced < kMaxReferences; ++replaced) {
        const std::size_t start = result.find(kReferenceStart, from);
        if (start == std::wstring::npos) {
            break;
        }
        std::size_t digitsEnd = 0;
        std::int64_t id = ReadWideDecimal(result, start + kReferenceStartLength, digitsEnd);
        if (id <= 0) {
            break;
        }
        if (id > INT32_MAX) {
            id = INT32_MAX;  // saturate like every other decimal value
        }
        const std::size_t close = result.find(L'%', digitsEnd);
        if (close == std::wstring::npos) {
            break;
        }
        const std::wstring* value = lookup ? lookup(static_cast<std::int32_t>(id)) : nullptr;
        const std::wstring replacement = value ? *value : std::wstring();
        result.replace(start, close + 1 - start, replacement);
        from = start + replacement.size();
    }
    return result;
}

std::wstring SubstituteStringReferences(const std::wstring& text) {
    const BkString& pool = BkString::Instance();
    return SubstituteStringReferences(text, [&pool](std::int32_t id) { return pool.Find(id); });
}

}  // namespace velora
