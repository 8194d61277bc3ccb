#include "util/XmlReader.h"

#include "util/Ascii.h"
#include "util/Utf8.h"

#include <algorithm>

namespace rondelix {

namespace {

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Bytes outside ASCII may be part of a name; a reader that disallows one
// fails on it, which sees no less than this reader does.
bool isNameStart(char c) {
    return isAsciiLetter(c) || c == '_' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

bool isNameChar(char c) {
    return isNameStart(c) || isAsciiDigit(c) || c == '-' || c == '.';
}

bool isPlainCharacter(char c) {
    return c >= 0x20 && c < 0x7F && c != '&' && c != '<' && c != '"' && c != '\'' && c != ']';
}

bool isXmlCharacter(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

XmlReader::XmlReader(std::string_view document, GiveUp* giveUp)
    : document_(document), giveUp_(giveUp ? *giveUp : never_) {
    if (document_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
    names_.reserve(maxAttributes);
    // No text is longer than the document: its pieces never grow by copying.
    text_.reserve(document_.size());
}

XmlReader::Piece XmlReader::fail() {
    finished_ = Piece::error;
    return finished_;
}

bool XmlReader::startsWith(std::string_view prefix) const {
    return document_.substr(pos_).starts_with(prefix);
}

bool XmlReader::skipPast(std::string_view terminator) {
    const auto found = giveUp_.find(document_, terminator, pos_);
    if (found == std::string_view::npos) return false;
    pos_ = found + terminator.size();
    return true;
}

void XmlReader::skipSpace() {
    pos_ = giveUp_.skip(document_, pos_, isXmlSpace);
}

bool XmlReader::readName(std::string& out) {
    const auto start = pos_;
    if (pos_ >= document_.size() || !isNameStart(document_[pos_])) return false;
    const auto end = std::min(document_.size(), start + maxNameLength + 1);
    pos_ = giveUp_.skip(document_.substr(0, end), pos_, isNameChar);
    out.assign(document_.substr(start, pos_ - start));
    return pos_ - start <= maxNameLength && !givenUp();
}

// Before the root element only; its external identifier is never read.
bool XmlReader::skipDocumentType() {
    if (rootSeen_ || !open_.empty()) return false;
    char quote = 0;
    for (pos_ += 9; pos_ < document_.size() && !givenUp(); ++pos_) {
        const char c = document_[pos_];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            return false;
        } else if (c == '>') {
            ++pos_;
            return true;
        }
    }
    return false;
}

bool XmlReader::readReference(std::string& out) {
    // No reference this reader takes is longer; a longer one fails unsearched.
    static constexpr std::size_t longest = 12;
    const auto semicolon = document_.substr(pos_, longest + 1).find(';');
    if (semicolon == std::string_view::npos) return false;
    const auto body = document_.substr(pos_ + 1, semicolon - 1);
    pos_ += semicolon + 1;
    static constexpr std::pair<std::string_view, char> predefined[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [entity, character] : predefined)
        if (body == entity) {
            out += character;
            return true;
        }
    if (!body.starts_with('#') || body.size() < 2) return false;
    const bool hex = body[1] == 'x';
    const auto digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return false;
    char32_t value = 0;
    for (const char digit : digits) {
        const int v = hex ? asciiHexValue(digit) : (isAsciiDigit(digit) ? digit - '0' : -1);
        if (v < 0) return false;
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(v);
        if (value > 0x10FFFF) return false;
    }
    if (!isXmlCharacter(value)) return false;
    utf8::append(out, value);
    return true;
}

bool XmlReader::readCharacter(std::string& out, bool inAttribute) {
    const char c = document_[pos_];
    if (c == '\r' || c == '\n' || c == '\t') {
        pos_ += c == '\r' && pos_ + 1 < document_.size() && document_[pos_ + 1] == '\n' ? 2 : 1;
        out += inAttribute ? ' ' : (c == '\t' ? '\t' : '\n');
        return true;
    }
    if (static_cast<unsigned char>(c) < 0x80) {
        if (static_cast<unsigned char>(c) < 0x20) return false;
        // Taken with the plain characters that follow it, which make up most
        // of a document: none of them ends a value, a text or a CDATA section.
        // A long run takes a turn per so many of them.
        const auto run = document_.substr(0, std::min(document_.size(), pos_ + GiveUp::bytesPerTurn));
        auto end = pos_ + 1;
        while (end < run.size() && isPlainCharacter(run[end]))
            ++end;
        out.append(document_.substr(pos_, end - pos_));
        pos_ = end;
        return true;
    }
    const auto length = utf8::wellFormedLength(document_, pos_);
    if (length == 0) return false;
    auto at = pos_;
    if (!isXmlCharacter(utf8::decodeNext(document_, at))) return false;
    out.append(document_.substr(pos_, length));
    pos_ += length;
    return true;
}

XmlReader::Piece XmlReader::readStartElement() {
    ++pos_;
    if (++elements_ > maxElements || !readName(name_)) return fail();
    attributes_.clear();
    for (;;) {
        const auto before = pos_;
        skipSpace();
        if (startsWith("/>")) {
            pos_ += 2;
            closeEmpty_ = true;
            break;
        }
        if (startsWith(">")) {
            ++pos_;
            break;
        }
        Attribute attribute;
        if (pos_ == before || attributes_.size() == maxAttributes || !readName(attribute.name)) return fail();
        skipSpace();
        if (!startsWith("=")) return fail();
        ++pos_;
        skipSpace();
        if (pos_ >= document_.size() || (document_[pos_] != '"' && document_[pos_] != '\'')) return fail();
        const char quote = document_[pos_++];
        // Room for the value at once: growing a long one would copy it in one step.
        attribute.value.reserve(std::min(giveUp_.find(document_, {&quote, 1}, pos_), document_.size()) -
                                pos_);
        while (pos_ < document_.size() && document_[pos_] != quote) {
            if (givenUp()) return fail();
            const bool read = document_[pos_] == '&'   ? readReference(attribute.value)
                              : document_[pos_] == '<' ? false
                                                       : readCharacter(attribute.value, true);
            if (!read) return fail();
        }
        if (pos_ >= document_.size()) return fail();
        ++pos_;
        attributes_.push_back(std::move(attribute));
    }
    // Looked up rather than compared pairwise: an element's attributes are
    // read at a cost that grows with their number, not with its square.
    names_.clear();
    for (const auto& attribute : attributes_)
        if (!names_.insert(attribute.name).second) return fail();
    if (open_.empty() && rootSeen_) return fail();
    rootSeen_ = true;
    if (!closeEmpty_) open_.push_back(name_);
    return Piece::startElement;
}

XmlReader::Piece XmlReader::readEndElement() {
    pos_ += 2;
    if (!readName(name_)) return fail();
    skipSpace();
    if (!startsWith(">") || open_.empty() || open_.back() != name_) return fail();
    ++pos_;
    open_.pop_back();
    attributes_.clear();
    return Piece::endElement;
}

XmlReader::Piece XmlReader::next() {
    if (finished_ != Piece::text) return finished_;
    if (closeEmpty_) {
        closeEmpty_ = false;
        attributes_.clear();
        return Piece::endElement;
    }
    text_.clear();
    while (pos_ < document_.size()) {
        if (givenUp()) return fail();
        const char c = document_[pos_];
        const bool inside = !open_.empty();
        if (c == '<') {
            if (startsWith("<!--")) {
                if (!skipPast("-->")) return fail();
            } else if (startsWith("<![CDATA[")) {
                if (!inside) return fail();
                const auto end = giveUp_.find(document_, "]]>", pos_);
                if (end == std::string_view::npos) return fail();
                for (pos_ += 9; pos_ < end;)
                    if (givenUp() || !readCharacter(text_, false)) return fail();
                pos_ = end + 3;
            } else if (startsWith("<?")) {
                if (!skipPast("?>")) return fail();
            } else if (startsWith("<!DOCTYPE")) {
                if (!skipDocumentType()) return fail();
            } else if (startsWith("<!")) {
                return fail();
            } else if (!text_.empty()) {
                return Piece::text;
            } else {
                return startsWith("</") ? readEndElement() : readStartElement();
            }
        } else if (!inside) {
            // Only white space lies outside the root element.
            if (!isXmlSpace(c)) return fail();
            ++pos_;
        } else if (!(c == '&' ? readReference(text_) : readCharacter(text_, false))) {
            return fail();
        }
    }
    if (!text_.empty()) return Piece::text;
    if (!open_.empty() || !rootSeen_) return fail();
    finished_ = Piece::end;
    return finished_;
}

} // namespace rondelix
