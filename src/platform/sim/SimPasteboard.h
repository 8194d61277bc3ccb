#pragma once

#include "platform/Pasteboard.h"

namespace rondelix::platform::sim {

// A clipboard in memory. copyFromElsewhere stands for another program writing
// to the board.
class SimPasteboard final : public Pasteboard {
  public:
    std::optional<std::vector<PasteboardItem>> items() const override { return board; }
    void writeText(const std::string& text) override {
        board = std::vector<PasteboardItem>{PasteboardItem{{{plainTextType, text}}}};
        ++count;
        ++writes;
    }
    void writeItems(const std::vector<PasteboardItem>& items) override {
        board = items;
        ++count;
        ++writes;
    }
    long changeCount() const override { return count; }
    std::optional<std::string> primaryText() const override { return primary; }
    void writePrimaryText(const std::string& text) override { primary = text; }

    void copyFromElsewhere(const std::string& text) {
        board = std::vector<PasteboardItem>{PasteboardItem{{{plainTextType, text}}}};
        ++count;
    }
    // The plain text of the first item, or none.
    std::optional<std::string> text() const {
        if (!board || board->empty()) return std::nullopt;
        for (const auto& [type, data] : board->front().representations)
            if (type == plainTextType) return data;
        return std::nullopt;
    }

    std::optional<std::vector<PasteboardItem>> board = std::vector<PasteboardItem>{};
    long count = 0;
    std::optional<std::string> primary;
    // Writes made through the interface, that is by the program.
    int writes = 0;
};

} // namespace rondelix::platform::sim
