#include "util/FairTurns.h"

#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <string>

namespace rondelix {
namespace {

constexpr double unlimited = std::numeric_limits<double>::infinity();

// Accounts named by a letter, each with at most one turn asked at a time.
struct Turns {
    explicit Turns(std::size_t runners) : turns(runners) {}

    bool ask(char name) {
        auto& account = accounts[name];
        if (!account) account = std::make_shared<FairTurns::Account>(FairTurns::Account{unlimited});
        const auto turn = turns.ask(account);
        if (turn) asked[name] = *turn;
        return turn.has_value();
    }
    void end(char name, double seconds) {
        turns.end(asked.at(name), seconds);
        asked.erase(name);
    }
    // The accounts whose turns run, by name.
    std::string running() const {
        std::string names;
        for (const auto& [name, turn] : asked)
            if (turns.running(turn)) names += name;
        return names;
    }

    FairTurns turns;
    std::map<char, std::shared_ptr<FairTurns::Account>> accounts;
    std::map<char, FairTurns::Turn> asked;
};

TEST(FairTurns, ARunnerGoesToTheLeastUsedAccountAndOneIsKeptFromCostlyOnes) {
    // Four runners; a, b, c and d draw costly drawings (six seconds a turn),
    // e and f are ordinary sites (a twentieth of a second).
    const struct {
        const char* step;
        std::string running;
    } steps[] = {
        {"ask a", "a"},
        {"ask b", "ab"},
        {"ask c", "abc"},
        {"ask d", "abcd"},
        {"ask e", "abcd"},
        // e has used nothing, a six seconds: e goes first, though a asked again first.
        {"end a 6", "bcde"},
        {"ask a", "bcde"},
        {"end b 6", "acde"},
        {"ask b", "acde"},
        {"end c 6", "abde"},
        {"ask c", "abde"},
        {"end d 6", "abce"},
        {"ask d", "abce"},
        // Three costly accounts run: e's runner is kept for a light one.
        {"end e 0.05", "abc"},
        {"ask e", "abce"},
        {"ask f", "abce"},
        {"ask g", "abce"},
        // Of two new accounts, the one that asked first.
        {"end a 6", "bcef"},
        {"end f 0.05", "bceg"},
        // Of the costly ones, the one that used less.
        {"ask a", "bceg"},
        {"end g 0.05", "bcde"},
        {"end b 6", "acde"},
    };
    Turns turns(4);
    for (const auto& step : steps) {
        const std::string text = step.step;
        if (text.starts_with("ask"))
            ASSERT_TRUE(turns.ask(text[4])) << text;
        else
            turns.end(text[4], std::stod(text.substr(6)));
        EXPECT_EQ(turns.running(), step.running) << text;
    }
}

TEST(FairTurns, AnAccountSpendsItsBudgetAndAWaitingTurnEndsUncharged) {
    FairTurns turns(1);
    const auto search = std::make_shared<FairTurns::Account>(FairTurns::Account{12});
    const auto other = std::make_shared<FairTurns::Account>(FairTurns::Account{12});
    const auto first = turns.ask(search);
    ASSERT_TRUE(first);
    EXPECT_EQ(turns.secondsLeft(*first), 12);
    // Waiting costs nothing: given up while it waits, as at a quit, the turn
    // charges its account nothing and holds up no other.
    const auto waiting = turns.ask(other);
    ASSERT_TRUE(waiting);
    EXPECT_FALSE(turns.running(*waiting));
    EXPECT_EQ(turns.secondsLeft(*waiting), 0);
    turns.end(*waiting, 0);
    EXPECT_EQ(other->spent, 0);

    turns.end(*first, 7.5);
    const auto second = turns.ask(search);
    ASSERT_TRUE(second);
    // A costly account still runs where there is one runner alone.
    EXPECT_TRUE(turns.running(*second));
    EXPECT_EQ(turns.secondsLeft(*second), 4.5);
    turns.end(*second, 4.5);
    EXPECT_EQ(turns.ask(search), std::nullopt);
    EXPECT_TRUE(turns.ask(other));
}

} // namespace
} // namespace rondelix
