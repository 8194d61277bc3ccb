#include "platform/linux/desktop/DesktopEntry.h"

#include "platform/CurrentDesktop.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace rondelix::platform::linux_desktop {

namespace {

// Entries are a few kilobytes; anything far larger is not one.
constexpr off_t largestEntry = 1 << 20;

std::string_view trimmedBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The escapes every string value may carry.
std::string unescapedValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\';
            out += value[i];
        }
    }
    return out;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::parse(std::string_view text) {
    DesktopEntry entry;
    bool inMainGroup = false, sawMainGroup = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = trimmedBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            sawMainGroup = sawMainGroup || inMainGroup;
            continue;
        }
        const auto equals = line.find('=');
        if (!inMainGroup || equals == std::string_view::npos) continue;
        const auto key = trimmedBlanks(line.substr(0, equals));
        const auto value = unescapedValue(trimmedBlanks(line.substr(equals + 1)));
        if (key == "Type")
            entry.type = value;
        else if (key == "Name")
            entry.name = value;
        else if (key == "Exec")
            entry.exec = value;
        else if (key == "StartupWMClass")
            entry.startupWMClass = value;
        else if (key == "Categories")
            entry.categories = value;
        else if (key == "Hidden")
            entry.hidden = value == "true";
        else if (key == "NoDisplay")
            entry.noDisplay = value == "true";
        else if (key == "OnlyShowIn")
            entry.onlyShowIn = value;
        else if (key == "NotShowIn")
            entry.notShowIn = value;
    }
    if (!sawMainGroup) return std::nullopt;
    return entry;
}

namespace {

// Whether a ";"-separated list names one of the current desktops.
bool listsAny(std::string_view list, std::string_view currentDesktop) {
    while (!list.empty()) {
        const auto end = std::min(list.find(';'), list.size());
        if (end > 0 && namesDesktop(currentDesktop, list.substr(0, end))) return true;
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return false;
}

} // namespace

bool DesktopEntry::shownOn(std::string_view currentDesktop) const {
    if (currentDesktop.empty()) return true;
    if (!onlyShowIn.empty() && !listsAny(onlyShowIn, currentDesktop)) return false;
    return !listsAny(notShowIn, currentDesktop);
}

std::optional<DesktopEntry> DesktopEntry::read(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > largestEntry)
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return parse(text.str());
}

std::vector<std::string> DesktopEntry::execArguments() const {
    std::vector<std::string> arguments;
    std::string current;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < exec.size()) {
                current += exec[++i];
            } else {
                current += c;
            }
            continue;
        }
        if (c == ' ' || c == '\t') {
            if (inWord) arguments.push_back(std::move(current));
            current.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '"') {
            quoted = true;
        } else if (c == '%' && i + 1 < exec.size()) {
            // A field code stands for files, links or the entry itself, none
            // of which a plain launch passes; "%%" is a literal percent sign.
            if (exec[++i] == '%') current += '%';
        } else {
            current += c;
        }
    }
    if (inWord) arguments.push_back(std::move(current));
    std::erase_if(arguments, [](const std::string& a) { return a.empty(); });
    return arguments;
}

} // namespace rondelix::platform::linux_desktop
