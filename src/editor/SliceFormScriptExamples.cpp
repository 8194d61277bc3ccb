#include "editor/SliceFormScriptExamples.h"

#include <array>

namespace rondelix::SliceFormScriptExamples {

namespace {

using Kind = Item::Kind;

// Media players answer the desktop's media-player interface on the session
// bus; the first one found is asked.
constexpr std::array mediaAndSound{
    Item{
        Kind::example, "Play / Pause Music",
        R"sh(busctl --user call "$(busctl --user list --no-legend | awk '/^org\.mpris\.MediaPlayer2\./ {print $1; exit}')" /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Player PlayPause)sh"},
    Item{
        Kind::example, "Next Track",
        R"sh(busctl --user call "$(busctl --user list --no-legend | awk '/^org\.mpris\.MediaPlayer2\./ {print $1; exit}')" /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Player Next)sh"},
    Item{Kind::example, "Set Volume to 30%", "wpctl set-volume @DEFAULT_AUDIO_SINK@ 30%"},
};

constexpr std::array appsAndWindows{
    Item{Kind::example, "Open an App", "gtk-launch firefox-esr"},
    Item{Kind::example, "Quit an App", "pkill -x firefox-esr"},
};

constexpr std::array filesAndFolders{
    Item{Kind::example, "Open Downloads", "xdg-open ~/Downloads"},
    Item{Kind::example, "New Dated Folder on Desktop", R"sh(mkdir -p ~/Desktop/"$(date +%F)")sh"},
};

// A default desktop ships no command-line clipboard tool, so the text
// examples keep a notes file instead; zenity and gdbus come with the desktop.
constexpr std::array clipboardAndText{
    Item{Kind::example, "Add Today's Date to Notes", R"sh(date "+%A, %B %e, %Y" >> ~/Notes.txt)sh"},
    Item{Kind::example, "Jot Down a Note",
         R"sh(zenity --entry --title=Rondelix --text="Add to Notes:" >> ~/Notes.txt)sh"},
    Item{Kind::example, "Open Notes", "touch ~/Notes.txt && xdg-open ~/Notes.txt"},
};

constexpr std::array web{
    Item{Kind::example, "Open a Website", "xdg-open https://tovarel.com"},
    Item{
        Kind::example, "Google a Phrase",
        R"sh(xdg-open "https://www.google.com/search?q=$(zenity --entry --title=Rondelix --text="Search the web for:" | sed 's/ /+/g')")sh"},
};

constexpr std::array notificationsAndVoice{
    Item{
        Kind::example, "Show a Notification",
        R"sh(gdbus call --session --dest org.freedesktop.Notifications --object-path /org/freedesktop/Notifications --method org.freedesktop.Notifications.Notify Rondelix 0 "" Rondelix "Hi!" "[]" "{}" 5000)sh"},
    Item{Kind::example, "Speak the Time", R"sh(spd-say "It is $(date '+%I:%M %p')")sh"},
    Item{Kind::example, "Say Something", R"sh(spd-say "hello")sh"},
};

constexpr std::array learnMore{
    Item{Kind::link, "Command & Bash reference: www.gnu.org",
         "https://www.gnu.org/software/bash/manual/bash.html"},
    Item{Kind::link, "Desktop commands (xdg-utils) documentation",
         "https://www.freedesktop.org/wiki/Software/xdg-utils/"},
};

constexpr std::array<Section, 7> all{{
    {"Media & Sound", mediaAndSound},
    {"Apps & Windows", appsAndWindows},
    {"Files & Folders", filesAndFolders},
    {"Clipboard & Text", clipboardAndText},
    {"Web", web},
    {"Notifications & Voice", notificationsAndVoice},
    {"Learn more (opens in your browser)", learnMore},
}};

} // namespace

std::span<const Section> sections() {
    return all;
}

} // namespace rondelix::SliceFormScriptExamples
