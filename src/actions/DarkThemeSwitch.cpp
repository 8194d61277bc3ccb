#include "actions/DarkThemeSwitch.h"

namespace rondelix {

namespace {

// Where a switch to dark notes what it switched from.
constexpr const char* memoFolder = R"sh(memo="${XDG_STATE_HOME:-$HOME/.local/state}/rondelix"
)sh";

// The light theme a switch to dark came from is kept, so that switching
// back restores it rather than a stock theme, even when it has no folder of
// its own (Xfce's settings name a theme "Xfce" that GTK stands in for).
// Where neither the theme's own dark variant nor a stock dark theme is
// installed, any installed theme named dark serves.
constexpr const char* functions = R"sh(folders() {
    printf '%s\n' "$HOME/.themes" "${XDG_DATA_HOME:-$HOME/.local/share}/themes"
    echo "${XDG_DATA_DIRS:-/usr/local/share:/usr/share}" | tr ':' '\n' | while read -r d; do echo "$d/themes"; done
}
installed() { [ -n "$1" ] && folders | while read -r d; do [ -d "$d/$1/$2" ] && echo yes; done | grep -q yes; }
is_dark() { case "$1" in *[Dd]ark*|BlackMATE|HighContrastInverse) return 0;; esac; return 1; }
any_dark() {
    folders | while read -r d; do
        for f in "$d"/*/"$1"; do t="${f%/*}"; t="${t##*/}"; [ -d "$f" ] && is_dark "$t" && echo "$t"; done
    done | { read -r t && echo "$t"; }
}
counterpart() {
    if is_dark "$1"; then
        m=$(cat "$memo/$5" 2>/dev/null)
        [ -n "$m" ] && [ "$m" != "$1" ] && { echo "$m"; return; }
        for c in "${1%-[Dd]ark}" "${1%[Dd]ark}" $4; do
            [ "$c" != "$1" ] && installed "$c" "$2" && { echo "$c"; return; }
        done
    else
        for c in "$1-dark" "$1-Dark" "${1}Dark" $3 $(any_dark "$2"); do installed "$c" "$2" && { echo "$c"; return; }; done
    fi
}
)sh";

} // namespace

std::string darkThemeSwitchCommand(const ThemeSettings& s) {
    const std::string darks = "'" + s.stockDark + "'";
    const std::string lights = "'" + s.stockLight + "'";
    std::string script = std::string(memoFolder) + functions;
    script += "t=$(" + s.gtkRead + " | tr -d \"'\")\n";
    script += "n=$(counterpart \"$t\" gtk-3.0 " + darks + " " + lights + " gtk)\n";
    script += "if [ -z \"$n\" ]; then\n"
              "    if is_dark \"$t\"; then echo \"no light theme is installed to switch to from $t\" >&2;\n"
              "    else echo \"no dark theme is installed: looked for $t-dark and " +
              s.stockDark +
              "\" >&2; fi\n"
              "    exit 1\n"
              "fi\n"
              "is_dark \"$t\" || { mkdir -p \"$memo\" && echo \"$t\" > \"$memo/gtk\"; }\n";
    script += s.gtkWrite + " \"$n\" || exit 1\n";
    if (!s.windowManagerRead.empty()) {
        // The window manager's theme follows where it does not match yet.
        script += "w=$(" + s.windowManagerRead + " | tr -d \"'\")\n";
        script += "dn=$(is_dark \"$n\" && echo 1); dw=$(is_dark \"$w\" && echo 1)\n";
        script += "if [ -n \"$w\" ] && [ \"$dn\" != \"$dw\" ]; then\n"
                  "    m=$(counterpart \"$w\" " +
                  s.windowManagerFolder + " " + darks + " " + lights +
                  " wm)\n"
                  "    is_dark \"$w\" || { mkdir -p \"$memo\" && echo \"$w\" > \"$memo/wm\"; }\n"
                  "    [ -n \"$m\" ] && " +
                  s.windowManagerWrite +
                  " \"$m\"\n"
                  "fi\n";
    }
    script += "exit 0";
    return script;
}

std::string darkColorSchemeSwitchCommand() {
    // The scheme is read from the list's "(current color scheme)" line,
    // which names it as the command takes it.
    return std::string(memoFolder) +
           R"sh(c=$(plasma-apply-colorscheme --list-schemes | while IFS= read -r l; do
    case "$l" in (*" (current"*) l="${l#*\* }"; echo "${l% (current*}";; esac
done)
if [ "$c" = BreezeDark ]; then
    m=$(cat "$memo/color-scheme" 2>/dev/null)
    [ -n "$m" ] && [ "$m" != BreezeDark ] && plasma-apply-colorscheme "$m" || plasma-apply-colorscheme BreezeLight
else
    [ -z "$c" ] || { mkdir -p "$memo" && echo "$c" > "$memo/color-scheme"; }
    plasma-apply-colorscheme BreezeDark
fi)sh";
}

} // namespace rondelix
