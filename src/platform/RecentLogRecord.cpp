#include "platform/RecentLogRecord.h"

#include "platform/CappedBuffer.h"

namespace rondelix::platform {

void RecentLogRecord::add(double now, std::string line) {
    if (line.size() > maxLineBytes)
        line = std::string(withoutCutUtf8Tail(std::string_view(line).substr(0, maxLineBytes)));
    std::lock_guard guard(lock_);
    entries_.push_back({now, std::move(line)});
    while (entries_.size() > maxLines || (!entries_.empty() && entries_.front().time < now - keptSeconds))
        entries_.pop_front();
}

std::vector<std::string> RecentLogRecord::since(double now, double seconds) const {
    std::lock_guard guard(lock_);
    std::vector<std::string> lines;
    for (const Entry& entry : entries_)
        if (entry.time >= now - seconds) lines.push_back(entry.line);
    return lines;
}

} // namespace rondelix::platform
