#pragma once

#include <functional>

namespace rondelix {

// Whether a long pass over text from outside should stop now, asked on every
// turn of its loops. The caller's own question (a clock, a quit) is put on
// the first turn and once every `turnsPerQuestion` turns after, so that even
// a loop over single characters asks at no measurable cost; once the answer
// is yes, every later turn says yes at once.
class GiveUp {
  public:
    static constexpr unsigned turnsPerQuestion = 1024;

    // Never gives up.
    GiveUp() = default;
    explicit GiveUp(std::function<bool()> question) : question_(std::move(question)) {}

    bool operator()() {
        if (given_ || !question_) return given_;
        if (turns_++ % turnsPerQuestion == 0) given_ = question_();
        return given_;
    }

    bool given() const { return given_; }

  private:
    std::function<bool()> question_;
    unsigned turns_ = 0;
    bool given_ = false;
};

} // namespace rondelix
