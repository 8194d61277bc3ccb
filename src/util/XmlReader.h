#pragma once

#include "util/GiveUp.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace rondelix {

// Reads the content of an XML document in UTF-8 one piece at a time, as an XML
// processor reports it: elements with their attributes, and text. References
// to characters and to XML's five predefined entities are replaced by what
// they stand for, CDATA sections read as text, line ends read as "\n", and
// white space characters written in an attribute value read as spaces.
// Comments, processing instructions, the XML declaration and a document type
// that declares nothing are passed over. A document type that declares
// anything, a reference to any other entity, a character XML does not allow
// and anything malformed end the reading with an error: another reader could
// not be sure to see such a document the same way. So does a document past
// the limits below: each piece then costs at most a bounded amount of work,
// and a reading whose give-up says yes, asked on every turn of its loops
// (see GiveUp), a run of text taking a turn per so many bytes.
class XmlReader {
  public:
    static constexpr std::size_t maxAttributes = 256;
    static constexpr std::size_t maxElements = 20000;
    // Bytes of an element's or an attribute's name.
    static constexpr std::size_t maxNameLength = 1024;

    enum class Piece { startElement, endElement, text, end, error };

    struct Attribute {
        std::string name;
        std::string value;
    };

    // A byte order mark at the start is passed over.
    explicit XmlReader(std::string_view document, GiveUp* giveUp = nullptr);
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    // The next piece; once reached, end and error repeat. An element written
    // empty (<a/>) reads as its start and its end.
    Piece next();

    // The element's name, at its start or end.
    const std::string& name() const { return name_; }
    // At an element's start, its attributes in the order written.
    const std::vector<Attribute>& attributes() const { return attributes_; }
    // Of a text piece: all the text, CDATA sections and references up to the
    // next element's start or end, comments and instructions left out.
    const std::string& text() const { return text_; }

  private:
    Piece fail();
    bool givenUp() { return giveUp_(); }
    bool startsWith(std::string_view prefix) const;
    bool skipPast(std::string_view terminator);
    bool skipDocumentType();
    bool readName(std::string& out);
    void skipSpace();
    bool readReference(std::string& out);
    bool readCharacter(std::string& out, bool inAttribute);
    Piece readStartElement();
    Piece readEndElement();

    std::string_view document_;
    GiveUp never_;
    GiveUp& giveUp_;
    std::size_t pos_ = 0;
    std::vector<std::string> open_;
    std::size_t elements_ = 0;
    bool rootSeen_ = false;
    bool closeEmpty_ = false;
    Piece finished_ = Piece::text; // text: not finished
    std::string name_;
    std::vector<Attribute> attributes_;
    std::unordered_set<std::string_view> names_; // of attributes_, for finding a repeated one
    std::string text_;
};

} // namespace rondelix
