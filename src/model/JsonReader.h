#pragma once

#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace rondelix {

// What the next value in JSON text is, told by its first character.
enum class JsonKind { null, boolean, number, string, array, object, invalid };

// A number the way the JSON library holds one: a whole number that fits in
// 64 bits stays whole (signed when written with a minus, unsigned otherwise),
// anything else is a double.
struct JsonNumber {
    enum class Type { integer, unsignedInteger, real };
    Type type = Type::integer;
    std::int64_t integer = 0;
    std::uint64_t unsignedInteger = 0;
    double real = 0;

    double toDouble() const;
};

// Reads JSON text front to back without building a document: the caller
// takes each value in the order the text holds it, and skips what it does not
// need. It accepts exactly the text the JSON library accepts (strict JSON,
// well-formed UTF-8, an optional leading byte order mark, a NUL byte ending
// the text early) and refuses text nested deeper than maxDepth containers.
// Once the text turns out not to be such JSON the reader has failed for good:
// kinds read as invalid and loops over members and elements end.
class JsonReader {
  public:
    static constexpr int maxDepth = 256;

    explicit JsonReader(std::string_view bytes);

    // The kind of the value at the cursor; invalid fails the reader.
    JsonKind kind();

    // Each read takes the value at the cursor, which must be of its kind.
    bool readBool();
    JsonNumber readNumber();
    // Valid until the next value is read.
    std::string_view readString();
    // Takes any value, checking it as thoroughly as the reads do.
    void skip();
    // Any value as a document, for what is carried as it stands.
    nlohmann::json readDocument();

    // Enters the object at the cursor, then each nextMember moves to a member's
    // value and gives its key, valid until the next key is read. After the last
    // member it leaves the object and gives nothing. Every member's value must
    // be read or skipped before the next.
    void enterObject();
    std::optional<std::string_view> nextMember();
    // The same for arrays: nextElement moves to the next element, false after
    // the last.
    void enterArray();
    bool nextElement();

    // Whether the text was one value with only whitespace after it.
    bool finish();
    bool failed() const { return failed_; }

  private:
    void fail() { failed_ = true; }
    void skipWhitespace();
    bool expect(char c);
    void enter(char bracket);
    void leave();
    bool literal(std::string_view word);
    std::string_view scanString(std::string& scratch);
    bool appendEscape(std::string& out);
    double readReal(std::string_view token);

    std::string_view text_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    // Whether the innermost container has not given a member or element yet.
    bool first_ = false;
    bool failed_ = false;
    // Strings that held escapes, spelled out; keys apart so that reading a
    // value leaves its key alone.
    std::string valueScratch_;
    std::string keyScratch_;
};

} // namespace rondelix
