#pragma once

#include "platform/HostResolver.h"

#include <deque>
#include <map>

namespace rondelix::platform::sim {

// Each host answers from its queue of replies; the last reply repeats once
// the others are used up. Unknown hosts resolve to nothing.
class SimHostResolver final : public HostResolver {
  public:
    std::vector<std::string> addresses(const std::string& host) override {
        lookups.push_back(host);
        auto found = replies.find(host);
        if (found == replies.end() || found->second.empty()) return {};
        auto reply = found->second.front();
        if (found->second.size() > 1) found->second.pop_front();
        return reply;
    }

    std::vector<std::string> ownAddresses() override { return own; }

    std::map<std::string, std::deque<std::vector<std::string>>> replies;
    std::vector<std::string> own;
    std::vector<std::string> lookups;
};

} // namespace rondelix::platform::sim
