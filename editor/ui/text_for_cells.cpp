#include "editor/ui/text_for_cells.h"

#include <array>
#include <cstdint>
#include <utility>

#include "editor/model/text_encoding.h"

namespace facetor {
namespace {

// UTF-8 of the typographic characters and their plain stand-ins.
constexpr std::array<std::pair<std::string_view, std::string_view>, 16> kPlainForms = {{
    {"\u00A0", " "},    // no-break space
    {"\u202F", " "},    // narrow no-break space
    {"\u00AB", "\""},   // «
    {"\u00BB", "\""},   // »
    {"\u201E", "\""},   // „
    {"\u201C", "\""},   // “
    {"\u201D", "\""},   // ”
    {"\u2018", "'"},    // ‘
    {"\u2019", "'"},    // ’
    {"\u201A", "'"},    // ‚
    {"\u2010", "-"},    // hyphen
    {"\u2011", "-"},    // non-breaking hyphen
    {"\u2013", "-"},    // en dash
    {"\u2014", "-"},    // em dash
    {"\u2212", "-"},    // minus sign
    {"\u2026", "..."},  // …
}};

std::string withPlainTypography(std::string_view utf8) {
    std::string plain;
    plain.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        bool replaced = false;
        for (const auto& [fancy, simple] : kPlainForms) {
            if (static_cast<unsigned char>(utf8[at]) < 0x80) {
                break;  // every fancy form starts beyond ASCII
            }
            if (utf8.substr(at, fancy.size()) == fancy) {
                plain += simple;
                at += fancy.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            plain += utf8[at++];
        }
    }
    return plain;
}

}  // namespace

std::string textForCells(std::string_view utf8) {
    std::string printable;
    for (const char c : utf8ToCp1251(withPlainTypography(utf8))) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            printable += c;
        }
    }
    return printable;
}

}  // namespace facetor
