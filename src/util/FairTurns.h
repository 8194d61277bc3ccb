#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace rondelix {

// Turns at a few runners (the drawers) that many callers share, each caller
// working for an account (a website icon search) with a budget of runner
// time. A free runner goes to the waiting turn whose account has used the
// least so far, the earliest asked among equals, so that no account's many
// turns keep another's from running however early they asked. And one runner
// is kept from accounts that have used `lightSeconds` or more: when costly
// accounts' turns fill the others, an account that costs next to nothing,
// such as an ordinary site's search, still finds one free as soon as the
// turns of such accounts before it have ended, rather than after a costly
// one. Waiting is free: only the time a turn runs is charged.
//
// Not safe across threads by itself; its owner locks.
class FairTurns {
  public:
    static constexpr double lightSeconds = 1;

    struct Account {
        double budget = 0;
        double spent = 0;
    };
    using Turn = std::uint64_t;

    explicit FairTurns(std::size_t runners);

    // A turn for the account, running at once when a runner is free to take
    // it, else waiting; none when the account's budget is spent.
    std::optional<Turn> ask(std::shared_ptr<Account> account);
    bool running(Turn turn) const;
    // What the running turn's account may still spend.
    double secondsLeft(Turn turn) const;
    // The turn is over, having run that many seconds (none when it never
    // ran), which its account is charged; free runners go to the turns next
    // in line.
    void end(Turn turn, double seconds);

  private:
    struct Asked {
        Turn turn = 0;
        std::shared_ptr<Account> account;
        bool light = true;
    };

    static bool isLight(const Account& account) { return account.spent < lightSeconds; }
    const Asked* runningTurn(Turn turn) const;
    void dealOut();

    std::size_t runners_;
    Turn next_ = 0;
    std::vector<Asked> waiting_;
    std::vector<Asked> running_;
};

} // namespace rondelix
