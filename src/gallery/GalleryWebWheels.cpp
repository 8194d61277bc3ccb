#include "gallery/GalleryCatalogue.h"

namespace rondelix::GalleryCatalogue {

void addWebWheels(std::vector<GalleryWheel>& out) {
    out.push_back(define({"gallery-ai-assistants",
                          "AI Assistants",
                          Category::web,
                          {},
                          "One-tap to ChatGPT, Claude, Gemini, and the rest of the AI chat tools."},
                         {
                             {"ChatGPT", link("https://chatgpt.com")},
                             {"Claude", link("https://claude.ai")},
                             {"Gemini", link("https://gemini.google.com")},
                             {"Perplexity", link("https://www.perplexity.ai")},
                             {"Copilot", link("https://copilot.microsoft.com")},
                             {"Grok", link("https://grok.com")},
                             {"NotebookLM", link("https://notebooklm.google.com")},
                         }));

    out.push_back(define({"gallery-quick-open",
                          "Quick Open",
                          Category::web,
                          {},
                          "Your everyday sites one tap away: mail, video, code, chat, news, and shopping."},
                         {
                             {"Gmail", link("https://mail.google.com")},
                             {"YouTube", link("https://www.youtube.com")},
                             {"GitHub", link("https://github.com")},
                             {"ChatGPT", link("https://chatgpt.com")},
                             {"Wikipedia", link("https://www.wikipedia.org")},
                             {"Google\nNews", link("https://news.google.com")},
                             {"Weather", link("https://weather.com")},
                             {"Amazon", link("https://www.amazon.com")},
                         }));

    out.push_back(define({"gallery-google-workspace",
                          "Google Workspace",
                          Category::web,
                          {},
                          "Gmail, Drive, Docs, Sheets, Slides, Calendar, Meet, and Keep in one ring."},
                         {
                             {"Gmail", link("https://mail.google.com")},
                             {"Drive", link("https://drive.google.com")},
                             {"Docs", link("https://docs.google.com")},
                             {"Sheets", link("https://sheets.google.com")},
                             {"Slides", link("https://slides.google.com")},
                             {"Calendar", link("https://calendar.google.com")},
                             {"Meet", link("https://meet.google.com")},
                             {"Keep", link("https://keep.google.com")},
                         }));

    out.push_back(define({"gallery-dev-docs",
                          "Dev & Docs",
                          Category::web,
                          {},
                          "Code hosting, answers, package registries, and reference docs for developers."},
                         {
                             {"GitHub", link("https://github.com")},
                             {"Stack\nOverflow", link("https://stackoverflow.com")},
                             {"MDN", link("https://developer.mozilla.org/en-US/")},
                             {"DevDocs", link("https://devdocs.io")},
                             {"npm", link("https://www.npmjs.com")},
                             {"Hacker\nNews", link("https://news.ycombinator.com")},
                             {"GitLab", link("https://gitlab.com")},
                             {"PyPI", link("https://pypi.org")},
                         }));

    out.push_back(define({"gallery-search-reference",
                          "Search & Reference",
                          Category::web,
                          {},
                          "Search engines, maps, translation, and the references you look things up in."},
                         {
                             {"DuckDuckGo", link("https://duckduckgo.com")},
                             {"Wikipedia", link("https://www.wikipedia.org")},
                             {"Google\nMaps", link("https://www.google.com/maps")},
                             {"Translate", link("https://translate.google.com")},
                             {"Wolfram\nAlpha", link("https://www.wolframalpha.com")},
                             {"Dictionary", link("https://www.merriam-webster.com")},
                             {"Internet\nArchive", link("https://archive.org")},
                         }));

    out.push_back(define({"gallery-social",
                          "Social",
                          Category::web,
                          {},
                          "Jump straight into Reddit, X, Bluesky, Threads, Instagram, and friends."},
                         {
                             {"Reddit", link("https://www.reddit.com")},
                             {"X", link("https://x.com")},
                             {"Bluesky", link("https://bsky.app")},
                             {"Threads", link("https://www.threads.net")},
                             {"Instagram", link("https://www.instagram.com")},
                             {"Facebook", link("https://www.facebook.com")},
                             {"LinkedIn", link("https://www.linkedin.com")},
                             {"Mastodon", link("https://mastodon.social")},
                         }));

    out.push_back(define({"gallery-streaming",
                          "Streaming",
                          Category::web,
                          {Category::fun},
                          "Movies, shows, and live streams: YouTube, Netflix, Twitch, and more."},
                         {
                             {"YouTube", link("https://www.youtube.com")},
                             {"Netflix", link("https://www.netflix.com")},
                             {"Twitch", link("https://www.twitch.tv")},
                             {"Disney+", link("https://www.disneyplus.com")},
                             {"Prime\nVideo", link("https://www.primevideo.com")},
                             {"Max", link("https://www.max.com")},
                             {"Hulu", link("https://www.hulu.com")},
                             {"Apple TV+", link("https://tv.apple.com")},
                         }));

    out.push_back(define({"gallery-design-web",
                          "Design Tools",
                          Category::web,
                          {},
                          "Design apps, inspiration, free photos, fonts, and palettes in the browser."},
                         {
                             {"Figma", link("https://www.figma.com")},
                             {"Canva", link("https://www.canva.com")},
                             {"Dribbble", link("https://dribbble.com")},
                             {"Behance", link("https://www.behance.net")},
                             {"Unsplash", link("https://unsplash.com")},
                             {"Google\nFonts", link("https://fonts.google.com")},
                             {"Coolors", link("https://coolors.co")},
                             {"Excalidraw", link("https://excalidraw.com")},
                         }));

    out.push_back(
        define({"gallery-dev-playgrounds",
                "Code Playgrounds",
                Category::web,
                {},
                "Try code in the browser with CodePen, JSFiddle, Replit, and language playgrounds."},
               {
                   {"CodePen", link("https://codepen.io")},
                   {"JSFiddle", link("https://jsfiddle.net")},
                   {"CodeSandbox", link("https://codesandbox.io")},
                   {"Replit", link("https://replit.com")},
                   {"Rust\nPlayground", link("https://play.rust-lang.org")},
                   {"Go\nPlayground", link("https://go.dev/play/")},
                   {"TypeScript\nPlayground", link("https://www.typescriptlang.org/play")},
               }));
}

} // namespace rondelix::GalleryCatalogue
