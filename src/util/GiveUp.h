#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace rondelix {

// Whether a long pass over text from outside should stop now, asked on every
// turn of its loops. The caller's own question (a clock, a quit) is put on
// the first turn and once every `turnsPerQuestion` turns after, so that even
// a loop over single characters asks at no measurable cost; once the answer
// is yes, every later turn says yes at once. A turn takes at most
// `bytesPerTurn` bytes of text, so no run of text, however long, is taken in
// one step past the answer.
class GiveUp {
  public:
    static constexpr unsigned turnsPerQuestion = 1024;
    static constexpr std::size_t bytesPerTurn = 256;

    // Never gives up.
    GiveUp() = default;
    explicit GiveUp(std::function<bool()> question) : question_(std::move(question)) {}

    bool operator()() {
        if (given_ || !question_) return given_;
        if (turns_++ % turnsPerQuestion == 0) given_ = question_();
        return given_;
    }

    bool given() const { return given_; }

    // Where the run of characters that `within` holds for, from `from` on,
    // ends, read `bytesPerTurn` characters a turn. Once given up, where it
    // stopped.
    template <typename Within> std::size_t skip(std::string_view text, std::size_t from, Within within) {
        while (from < text.size() && !(*this)()) {
            const auto turnEnd = std::min(text.size(), from + bytesPerTurn);
            while (from < turnEnd && within(text[from]))
                ++from;
            if (from < turnEnd) break;
        }
        return from;
    }

    // Where the run of characters that `within` holds for, ending just
    // before `to`, begins, read as `skip` reads. Once given up, where it
    // stopped.
    template <typename Within> std::size_t skipBack(std::string_view text, std::size_t to, Within within) {
        while (to > 0 && !(*this)()) {
            const auto turnEnd = to - std::min(to, bytesPerTurn);
            while (to > turnEnd && within(text[to - 1]))
                --to;
            if (to > turnEnd) break;
        }
        return to;
    }

    // Appends the text to `out`, `bytesPerTurn` bytes a turn; once given up,
    // what was appended so far.
    void append(std::string& out, std::string_view text) {
        for (std::size_t at = 0; at < text.size() && !(*this)(); at += bytesPerTurn)
            out.append(text.substr(at, bytesPerTurn));
    }

    // The first place at or after `from` where `needle` begins, searched
    // `bytesPerTurn` bytes a turn; npos when there is none, or once given up.
    std::size_t find(std::string_view text, std::string_view needle, std::size_t from = 0) {
        for (; from < text.size() && !(*this)(); from += bytesPerTurn) {
            const auto found = text.substr(from, bytesPerTurn + needle.size() - 1).find(needle);
            if (found != std::string_view::npos) return from + found;
        }
        return std::string_view::npos;
    }

  private:
    std::function<bool()> question_;
    unsigned turns_ = 0;
    bool given_ = false;
};

} // namespace rondelix
