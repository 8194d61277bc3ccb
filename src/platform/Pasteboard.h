#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rondelix::platform {

// One item on the clipboard: its data under every type it declares, in the
// order it declares them. Types are MIME types ("text/plain;charset=utf-8").
struct PasteboardItem {
    std::vector<std::pair<std::string, std::string>> representations;

    friend bool operator==(const PasteboardItem&, const PasteboardItem&) = default;
};

// The general clipboard. The change count moves whenever anyone writes to the
// board, the program included, so a caller can tell whether the board still
// holds what it wrote last.
class Pasteboard {
  public:
    static constexpr const char* plainTextType = "text/plain;charset=utf-8";

    virtual ~Pasteboard() = default;

    // Every item with the data of every type it declares; none when the board
    // has no item list at all (nobody owns it), an empty list when it is empty.
    virtual std::optional<std::vector<PasteboardItem>> items() const = 0;

    // Clears the board and puts the text on it as plain text.
    virtual void writeText(const std::string& text) = 0;

    // Clears the board and puts the items back; an empty list leaves it empty.
    virtual void writeItems(const std::vector<PasteboardItem>& items) = 0;

    virtual long changeCount() const = 0;

    // The primary selection (the text last selected), which terminals of the
    // xterm family paste; none when nobody owns it.
    virtual std::optional<std::string> primaryText() const { return std::nullopt; }
    virtual void writePrimaryText(const std::string&) {}
};

} // namespace rondelix::platform
