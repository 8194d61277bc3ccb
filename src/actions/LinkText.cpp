#include "actions/LinkText.h"

#include "util/Ascii.h"
#include "util/TextTrimming.h"
#include "util/UrlSyntax.h"

#include <array>

namespace rondelix {

namespace {

// Scheme characters count letters and numbers in the Unicode sense. Without a
// character database at hand, every character outside ASCII is taken for a
// letter: scripts are made of letters, and the odd symbol only decides
// whether "https://" is put in front.
bool isLetter(unsigned char c) {
    return isAsciiLetter(static_cast<char>(c)) || c >= 0x80;
}
bool isSchemeCharacter(unsigned char c) {
    return isLetter(c) || isAsciiDigit(static_cast<char>(c)) || c == '+' || c == '-' || c == '.';
}

bool isUnreserved(unsigned char c) {
    return isAsciiAlphanumeric(static_cast<char>(c)) || c == '-' || c == '.' || c == '_' || c == '~';
}
bool isSubDelimiter(unsigned char c) {
    return c == '!' || c == '$' || c == '&' || c == '\'' || c == '(' || c == ')' || c == '*' || c == '+' ||
           c == ',' || c == ';' || c == '=';
}

// Path, query and fragment characters (pchar plus "/" and "?"), with
// percent escapes checked separately; also what a query may hold unescaped.
bool isPartCharacter(unsigned char c) {
    return isUnreserved(c) || isSubDelimiter(c) || c == ':' || c == '@' || c == '/' || c == '?';
}

bool allOf(std::string_view part, bool (*allowed)(unsigned char)) {
    for (const char c : part)
        if (c != '%' && !allowed(static_cast<unsigned char>(c))) return false;
    return hasValidPercentEscapes(part);
}

bool isAuthorityCharacter(unsigned char c) {
    return isUnreserved(c) || isSubDelimiter(c) || c == ':' || c == '@' || c == '[' || c == ']';
}

// A URI reference by RFC 3986: ASCII only, escapes well formed, brackets only
// in the authority, and a relative reference may not start with a segment
// that holds a ":" (it would read as a scheme).
std::optional<LinkText::Parsed> parseReference(std::string_view text) {
    if (text.empty()) return std::nullopt;
    LinkText::Parsed parsed{std::string(text), {}};
    if (const auto scheme = schemeAsWritten(text)) parsed.scheme = std::string(*scheme);
    std::string_view rest = text;
    if (parsed.scheme) rest.remove_prefix(parsed.scheme->size() + 1);

    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const auto end = rest.find_first_of("/?#");
        const auto authority = rest.substr(0, end);
        if (!allOf(authority, isAuthorityCharacter)) return std::nullopt;
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end);
    } else if (!parsed.scheme) {
        const auto firstSegment = rest.substr(0, rest.find_first_of("/?#"));
        if (firstSegment.find(':') != std::string_view::npos) return std::nullopt;
    }

    const auto hash = rest.find('#');
    const auto beforeFragment = rest.substr(0, hash);
    if (!allOf(beforeFragment, isPartCharacter)) return std::nullopt;
    if (hash != std::string_view::npos && !allOf(rest.substr(hash + 1), isPartCharacter)) return std::nullopt;
    return parsed;
}

// Every byte that `keep` refuses, "%" included, becomes a percent escape.
std::string percentEncoded(std::string_view text, bool (*keep)(unsigned char)) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (keep(u)) {
            out += c;
        } else {
            out += '%';
            out += digits[u >> 4];
            out += digits[u & 0xF];
        }
    }
    return out;
}

bool isFilePathCharacter(unsigned char c) {
    return isUnreserved(c) || c == '/';
}

} // namespace

bool LinkText::hasURLScheme(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    const auto scheme = text.substr(0, colon);
    if (!isLetter(static_cast<unsigned char>(scheme.front()))) return false;
    for (const char c : scheme)
        if (!isSchemeCharacter(static_cast<unsigned char>(c))) return false;
    return true;
}

bool LinkText::looksLikeBareWebHost(std::string_view text) {
    if (text.empty() || text.front() == '/' || text.front() == '.') return false;
    const auto host = text.substr(0, text.find('/'));
    return host.find('.') != std::string_view::npos && host.find(' ') == std::string_view::npos &&
           !host.ends_with('.');
}

std::optional<LinkText::Parsed> LinkText::parse(std::string_view text) {
    std::string link(trimmedLink(text));
    if (!hasURLScheme(link) && looksLikeBareWebHost(link)) link = "https://" + link;
    if (auto parsed = parseReference(link)) return parsed;
    return parseReference(percentEncoded(link, isPartCharacter));
}

std::string LinkText::fileLink(std::string_view path) {
    return "file://" + percentEncoded(path, isFilePathCharacter);
}

std::string LinkText::mailtoLink(std::string_view address,
                                 const std::vector<std::pair<std::string, std::string>>& query) {
    const auto addressCharacter = [](unsigned char c) { return isUnreserved(c) || c == '@' || c == '+'; };
    std::string link = "mailto:" + percentEncoded(address, addressCharacter);
    char separator = '?';
    for (const auto& [name, value] : query) {
        link += separator + percentEncoded(name, isUnreserved) + "=" + percentEncoded(value, isUnreserved);
        separator = '&';
    }
    return link;
}

} // namespace rondelix
