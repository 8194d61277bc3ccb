#include "icons/FaviconSvgCleaner.h"

#include "icons/Base64.h"
#include "icons/FaviconLinks.h"
#include "icons/SvgDrawingCost.h"
#include "util/Ascii.h"
#include "util/GiveUp.h"
#include "util/XmlReader.h"

#include <algorithm>
#include <vector>

namespace rondelix {

namespace {

using Accepts = std::function<bool(std::string_view)>;

bool startsFolded(std::string_view text, std::size_t at, std::string_view prefix) {
    return at + prefix.size() <= text.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char a, char b) { return asciiLower(a) == asciiLower(b); });
}

// The part of a qualified name after its prefix, lower-cased.
std::string localName(std::string_view name) {
    const auto colon = name.rfind(':');
    return asciiLowercased(colon == std::string_view::npos ? name : name.substr(colon + 1));
}

// Whether the part of a qualified name after its prefix is this one, in
// lower case, ignoring case; asked of every attribute, so it copies nothing.
bool isLocally(std::string_view name, std::string_view local) {
    const auto colon = name.rfind(':');
    return equalIgnoringCase(colon == std::string_view::npos ? name : name.substr(colon + 1), local);
}

bool isLink(std::string_view attribute) {
    return isLocally(attribute, "href") || isLocally(attribute, "src");
}

std::string_view trimmed(std::string_view text, std::string_view characters, GiveUp& giveUp) {
    const auto isTrimmed = [characters](char c) { return characters.find(c) != std::string_view::npos; };
    const auto first = giveUp.skip(text, 0, isTrimmed);
    if (first == text.size()) return {};
    return text.substr(first, giveUp.skipBack(text, text.size(), isTrimmed) - first);
}

// An inline picture, written again as plain base64 so that the renderer
// decodes exactly the bytes that were accepted.
std::optional<std::string> inlinePicture(std::string_view link, const Accepts& acceptsPicture,
                                         GiveUp& giveUp) {
    if (!startsFolded(link, 0, "data:")) return std::nullopt;
    const auto inline_ = dataLinkBytes(link, &giveUp);
    if (!inline_ || inline_->declaredSvg || !acceptsPicture(inline_->bytes)) return std::nullopt;
    auto type = asciiLowercased(link.substr(5, link.find_first_of(";,") - 5));
    if (!std::ranges::all_of(type, [](char c) {
            return isAsciiAlphanumeric(c) || c == '/' || c == '.' || c == '+' || c == '-';
        }))
        type.clear();
    const auto encoded = Base64::encode(inline_->bytes, &giveUp);
    auto kept = "data:" + type + ";base64,";
    kept.reserve(kept.size() + encoded.size());
    giveUp.append(kept, encoded);
    return kept;
}

// Every url() that does not point at an element of the drawing becomes none.
std::string withInsideUrlsOnly(std::string_view text, GiveUp& giveUp) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size() && !giveUp();) {
        const auto candidate = giveUp.skip(text, i, [](char c) { return asciiLower(c) != 'u'; });
        giveUp.append(out, text.substr(i, candidate - i));
        i = candidate;
        if (i == text.size()) break;
        if (!startsFolded(text, i, "url(")) {
            out += text[i++];
            continue;
        }
        const auto close = giveUp.find(text, ")", i);
        const auto end = close == std::string_view::npos ? text.size() : close + 1;
        // One that holds another "(" is not a plain reference, whatever follows.
        const auto inner = text.substr(i + 4, end - i - 4);
        const auto first = giveUp.skip(inner, 0, [](char c) {
            return std::string_view(" \t\n\r\f\"')").find(c) != std::string_view::npos;
        });
        const bool inside =
            first < inner.size() && inner[first] == '#' && giveUp.find(inner, "(") == std::string_view::npos;
        giveUp.append(out, inside ? text.substr(i, end - i) : "none");
        i = end;
    }
    return out;
}

// A style sheet with its comments and @import rules left out and only
// inside url()s. Escapes could spell either in a way this does not see: a
// sheet with any is dropped.
std::optional<std::string> cleanedStyleSheet(std::string_view sheet, GiveUp& giveUp) {
    if (giveUp.find(sheet, "\\") != std::string_view::npos) return std::nullopt;
    std::string uncommented;
    uncommented.reserve(sheet.size());
    for (std::size_t i = 0; i < sheet.size() && !giveUp();) {
        const auto comment = std::min(giveUp.find(sheet, "/*", i), sheet.size());
        giveUp.append(uncommented, sheet.substr(i, comment - i));
        if (comment == sheet.size()) break;
        const auto end = giveUp.find(sheet, "*/", comment + 2);
        i = end == std::string_view::npos ? sheet.size() : end + 2;
    }
    std::string plain;
    plain.reserve(uncommented.size());
    for (std::size_t i = 0; i < uncommented.size() && !giveUp();) {
        const auto at = std::min(giveUp.find(uncommented, "@", i), uncommented.size());
        giveUp.append(plain, std::string_view(uncommented).substr(i, at - i));
        i = at;
        if (i == uncommented.size()) break;
        if (!startsFolded(uncommented, i, "@import")) {
            plain += uncommented[i++];
            continue;
        }
        const auto end = giveUp.find(uncommented, ";", i);
        i = end == std::string::npos ? uncommented.size() : end + 1;
        plain += ' '; // keeps what lay either side apart
    }
    return withInsideUrlsOnly(plain, giveUp);
}

// The value an attribute keeps, or none when it goes.
std::optional<std::string> keptValue(std::string_view element, const XmlReader::Attribute& attribute,
                                     const Accepts& acceptsPicture, GiveUp& giveUp) {
    const std::string_view name = attribute.name;
    if (equalIgnoringCase(name, "xmlns") || startsFolded(name, 0, "xmlns:")) return attribute.value;
    if (equalIgnoringCase(name, "xml:base")) return std::nullopt;
    const auto local = name.substr(name.rfind(':') + 1);
    if (equalIgnoringCase(local, "href") || equalIgnoringCase(local, "src")) {
        // A renderer reads an image's link as a file name unless it is inline.
        const auto link = trimmed(attribute.value, " \t\n\r", giveUp);
        if (isLocally(element, "image")) return inlinePicture(link, acceptsPicture, giveUp);
        if (link.starts_with('#')) return std::string(link);
        return std::nullopt;
    }
    if (equalIgnoringCase(local, "style")) return cleanedStyleSheet(attribute.value, giveUp);
    return withInsideUrlsOnly(attribute.value, giveUp);
}

// Elements whose content could run or load something, and animations that
// would change a link.
bool droppedWhole(const XmlReader& reader) {
    const auto name = localName(reader.name());
    if (name == "script" || name == "foreignobject") return true;
    return std::ranges::any_of(reader.attributes(), [](const XmlReader::Attribute& attribute) {
        return isLocally(attribute.name, "attributename") && isLink(attribute.value);
    });
}

void appendEscaped(std::string& out, std::string_view text, bool inAttribute, GiveUp& giveUp) {
    const auto isSpecial = [](char c) {
        return c == '&' || c == '<' || c == '>' || c == '"' || c == '\'' || c == '\r' || c == '\n' ||
               c == '\t';
    };
    for (std::size_t i = 0; i < text.size() && !giveUp();) {
        const auto special = giveUp.skip(text, i, [&isSpecial](char c) { return !isSpecial(c); });
        giveUp.append(out, text.substr(i, special - i));
        if (special == text.size()) break;
        i = special + 1;
        switch (text[special]) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\r':
            out += "&#13;";
            break;
        case '\n':
            out += inAttribute ? "&#10;" : "\n";
            break;
        default: // a tab
            out += inAttribute ? "&#9;" : "\t";
        }
    }
}

} // namespace

std::optional<std::string> cleanedSvg(std::string_view svg, const Accepts& acceptsPicture,
                                      const std::function<bool()>& givenUp) {
    // One give-up for every loop over the drawing: the reader's, the
    // cleaning's and the measuring's. A loop it stops leaves its piece
    // unfinished, which the next turn here then drops with the drawing.
    GiveUp giveUp(givenUp);
    XmlReader reader(svg, &giveUp);
    std::string out;
    out.reserve(svg.size());
    std::vector<std::string> open;
    bool startPending = false; // "<name ..." written, its ">" or "/>" not yet
    int droppedDepth = 0;
    SvgDrawingCost cost(giveUp);
    std::vector<XmlReader::Attribute> kept;
    for (;;) {
        const auto piece = reader.next();
        if (piece == XmlReader::Piece::error || giveUp()) return std::nullopt;
        // A drawing whose root went draws nothing.
        if (piece == XmlReader::Piece::end)
            return out.empty() || !cost.bearable() ? std::nullopt : std::optional(std::move(out));
        if (droppedDepth > 0) {
            if (piece == XmlReader::Piece::startElement) ++droppedDepth;
            if (piece == XmlReader::Piece::endElement) --droppedDepth;
            continue;
        }
        if (piece == XmlReader::Piece::endElement) {
            out += startPending ? "/>" : "</" + reader.name() + ">";
            startPending = false;
            open.pop_back();
            continue;
        }
        if (piece == XmlReader::Piece::text) {
            const bool sheet = !open.empty() && isLocally(open.back(), "style");
            // Read where it lies: a copy of a long text would be a step of its own.
            const auto cleanedSheet = sheet ? cleanedStyleSheet(reader.text(), giveUp) : std::nullopt;
            const std::string_view text = !sheet         ? std::string_view(reader.text())
                                          : cleanedSheet ? std::string_view(*cleanedSheet)
                                                         : std::string_view();
            if (text.empty()) continue;
            if (sheet) cost.addStyleSheet(text);
            if (startPending) out += '>';
            startPending = false;
            appendEscaped(out, text, false, giveUp);
            continue;
        }
        if (droppedWhole(reader)) {
            droppedDepth = 1;
            continue;
        }
        kept.clear();
        for (const auto& attribute : reader.attributes()) {
            if (giveUp()) break;
            if (auto value = keptValue(reader.name(), attribute, acceptsPicture, giveUp))
                kept.push_back({attribute.name, std::move(*value)});
        }
        // An image or a use without its link draws nothing.
        const auto name = localName(reader.name());
        const bool linked = std::ranges::any_of(kept, [](const auto& a) { return isLink(a.name); });
        if (!linked && (name == "image" || name == "use")) {
            droppedDepth = 1;
            continue;
        }
        cost.addElement(name, kept);
        if (startPending) out += '>';
        out += '<';
        out += reader.name();
        for (const auto& attribute : kept) {
            out += ' ';
            out += attribute.name;
            out += "=\"";
            appendEscaped(out, attribute.value, true, giveUp);
            out += '"';
        }
        open.push_back(reader.name());
        startPending = true;
    }
}

} // namespace rondelix
