#include "util/XmlReader.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

// Reads to the end; whether the document read whole.
bool readsWhole(const std::string& document) {
    XmlReader reader(document);
    for (;;) {
        const auto piece = reader.next();
        if (piece == XmlReader::Piece::end) return true;
        if (piece == XmlReader::Piece::error) return false;
    }
}

std::string withAttributes(std::size_t count) {
    std::string element = "<svg";
    for (std::size_t i = 0; i < count; ++i)
        element += " a" + std::to_string(i) + "=''";
    return element + "/>";
}

std::string withElements(std::size_t count) {
    std::string document = "<svg>";
    for (std::size_t i = 1; i < count; ++i)
        document += "<g/>";
    return document + "</svg>";
}

TEST(XmlReader, ReadsUpToItsLimitsAndNoFurther) {
    const struct {
        std::string document;
        bool whole;
    } cases[] = {
        {withAttributes(XmlReader::maxAttributes), true},
        {withAttributes(XmlReader::maxAttributes + 1), false},
        {withElements(XmlReader::maxElements), true},
        {withElements(XmlReader::maxElements + 1), false},
        {"<" + std::string(XmlReader::maxNameLength, 'g') + "/>", true},
        {"<" + std::string(XmlReader::maxNameLength + 1, 'g') + "/>", false},
        {"<svg " + std::string(XmlReader::maxNameLength + 1, 'a') + "=''/>", false},
        // The duplicate check still sees names far apart.
        {withAttributes(XmlReader::maxAttributes - 1).insert(5, "a0='' "), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readsWhole(c.document), c.whole)
            << c.document.substr(0, 60) << "… of " << c.document.size();
}

} // namespace
} // namespace rondelix
