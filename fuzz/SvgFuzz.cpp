// Any bytes as a website's drawing: what the cleaner keeps must point at
// nothing outside the drawing, and cleaning it again must change nothing.
// The check reads the cleaned text on its own, relying only on the form the
// cleaner writes: every quote it keeps delimits an attribute value, every
// "<" starts a tag and every "&" starts a reference.
#include "icons/Base64.h"
#include "icons/FaviconSvgCleaner.h"
#include "util/Ascii.h"
#include "util/Utf8.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace rondelix;

void require(bool condition) {
    if (!condition) std::abort();
}

std::string lowered(std::string_view text) {
    return asciiLowercased(text);
}

std::string localName(std::string_view name) {
    const auto colon = name.rfind(':');
    return lowered(colon == std::string_view::npos ? name : name.substr(colon + 1));
}

// The text with its references undone; each must be well formed.
std::string decoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const auto end = text.find(';', i);
        require(end != std::string_view::npos);
        const auto name = text.substr(i + 1, end - i - 1);
        i = end;
        if (name == "amp")
            out += '&';
        else if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "quot")
            out += '"';
        else if (name == "apos")
            out += '\'';
        else {
            require(name.size() > 1 && name[0] == '#');
            char32_t value = 0;
            for (const char digit : name.substr(1)) {
                require(isAsciiDigit(digit));
                value = value * 10 + static_cast<char32_t>(digit - '0');
                require(value < 0x110000);
            }
            utf8::append(out, value);
        }
    }
    return out;
}

// Every url() points at an element of the drawing.
void urlsInside(std::string_view text) {
    const auto folded = lowered(text);
    for (auto at = folded.find("url("); at != std::string::npos; at = folded.find("url(", at + 1)) {
        const auto inner = folded.substr(at + 4);
        const auto first = inner.find_first_not_of(" \t\n\r\f\"'");
        require(first != std::string::npos && inner[first] == '#');
    }
}

void styleSheetSafe(std::string_view sheet) {
    urlsInside(sheet);
    const auto folded = lowered(sheet);
    require(folded.find('\\') == std::string::npos && folded.find("@import") == std::string::npos &&
            folded.find("/*") == std::string::npos);
}

void attributeSafe(std::string_view element, std::string_view name, const std::string& value) {
    const auto folded = lowered(name);
    if (folded == "xmlns" || folded.starts_with("xmlns:")) return;
    require(folded != "xml:base");
    const auto local = localName(name);
    if (local == "href" || local == "src") {
        if (localName(element) != "image") {
            require(value.starts_with('#'));
            return;
        }
        // An inline picture whose bytes a renderer reads one way only.
        const auto marker = value.find(";base64,");
        require(value.starts_with("data:") && marker != std::string::npos &&
                value.find("base64,", marker + 8) == std::string::npos &&
                Base64::decode(std::string_view(value).substr(marker + 8)).has_value());
        return;
    }
    if (local == "attributename") require(localName(value) != "href" && localName(value) != "src");
    if (local == "style") styleSheetSafe(value);
    urlsInside(value);
}

void cleanedSafe(std::string_view out) {
    require(out.find("<!") == std::string_view::npos && out.find("<?") == std::string_view::npos &&
            out.find('\'') == std::string_view::npos);
    std::vector<std::string> open;
    for (std::size_t i = 0; i < out.size();) {
        if (out[i] != '<') {
            const auto end = std::min(out.find('<', i), out.size());
            const auto text = decoded(out.substr(i, end - i));
            require(!open.empty());
            if (localName(open.back()) == "style") styleSheetSafe(text);
            i = end;
            continue;
        }
        if (out.substr(i).starts_with("</")) {
            const auto end = out.find('>', i);
            require(end != std::string_view::npos && !open.empty() &&
                    out.substr(i + 2, end - i - 2) == open.back());
            open.pop_back();
            i = end + 1;
            continue;
        }
        const auto nameEnd = out.find_first_of(" />", i);
        require(nameEnd != std::string_view::npos);
        const std::string element(out.substr(i + 1, nameEnd - i - 1));
        const auto folded = localName(element);
        require(folded != "script" && folded != "foreignobject");
        i = nameEnd;
        for (;;) {
            require(i < out.size());
            if (out.substr(i).starts_with("/>")) {
                i += 2;
                break;
            }
            if (out[i] == '>') {
                open.push_back(element);
                ++i;
                break;
            }
            require(out[i] == ' ');
            const auto equals = out.find("=\"", i);
            require(equals != std::string_view::npos);
            const auto close = out.find('"', equals + 2);
            require(close != std::string_view::npos);
            const auto raw = out.substr(equals + 2, close - equals - 2);
            require(raw.find('<') == std::string_view::npos);
            attributeSafe(element, out.substr(i + 1, equals - i - 1), decoded(raw));
            i = close + 1;
        }
    }
    require(open.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view svg(reinterpret_cast<const char*>(data), size);
    // Pictures of an even first byte pass the picture check.
    const auto accepts = [](std::string_view bytes) {
        return !bytes.empty() && static_cast<unsigned char>(bytes[0]) % 2 == 0;
    };
    const auto cleaned = cleanedSvg(svg, accepts);
    if (!cleaned) return 0;
    cleanedSafe(*cleaned);
    require(cleanedSvg(*cleaned, accepts) == cleaned);
    return 0;
}
