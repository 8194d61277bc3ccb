#include "util/FairTurns.h"

#include <algorithm>

namespace rondelix {

FairTurns::FairTurns(std::size_t runners) : runners_(std::max<std::size_t>(runners, 1)) {}

std::optional<FairTurns::Turn> FairTurns::ask(std::shared_ptr<Account> account) {
    if (account->spent >= account->budget) return std::nullopt;
    const Turn turn = next_++;
    waiting_.push_back({turn, std::move(account)});
    dealOut();
    return turn;
}

const FairTurns::Asked* FairTurns::runningTurn(Turn turn) const {
    const auto found = std::ranges::find(running_, turn, &Asked::turn);
    return found == running_.end() ? nullptr : &*found;
}

bool FairTurns::running(Turn turn) const {
    return runningTurn(turn) != nullptr;
}

double FairTurns::secondsLeft(Turn turn) const {
    const Asked* asked = runningTurn(turn);
    return asked ? asked->account->budget - asked->account->spent : 0;
}

void FairTurns::end(Turn turn, double seconds) {
    if (const auto found = std::ranges::find(running_, turn, &Asked::turn); found != running_.end()) {
        found->account->spent += seconds;
        running_.erase(found);
    }
    std::erase_if(waiting_, [turn](const Asked& asked) { return asked.turn == turn; });
    dealOut();
}

void FairTurns::dealOut() {
    // With one runner alone nothing can be kept.
    const std::size_t costlyAtMost = runners_ > 1 ? runners_ - 1 : 1;
    while (running_.size() < runners_ && !waiting_.empty()) {
        const auto next = std::ranges::min_element(waiting_, [](const Asked& a, const Asked& b) {
            return a.account->spent != b.account->spent ? a.account->spent < b.account->spent
                                                        : a.turn < b.turn;
        });
        // Every other waiting account has used at least as much.
        const bool light = isLight(*next->account);
        if (!light && std::ranges::count(running_, false, &Asked::light) >= static_cast<long>(costlyAtMost))
            return;
        running_.push_back({next->turn, std::move(next->account), light});
        waiting_.erase(next);
    }
}

} // namespace rondelix
