#include "gallery/GalleryCatalogue.h"

namespace rondelix::GalleryCatalogue {

void addFunWheels(std::vector<GalleryWheel>& out) {
    out.push_back(define({"gallery-emoji",
                          "Emoji & Symbols",
                          Category::fun,
                          {},
                          "The emoji picker plus instant symbols and a table flip."},
                         {
                             {"Emoji Picker", emoji("😀"), key("⌃⌘Space")},
                             {"Shrug", emoji("🤷"), text("¯\\_(ツ)_/¯")},
                             {"Check", "checkmark", text("✓")},
                             {"Arrow", "arrow.right", text("→")},
                             {"Em Dash", "minus", text("—")},
                             {"Bullet", "smallcircle.filled.circle", text("•")},
                             {"Table Flip", emoji("😤"), text("(╯°□°)╯︵ ┻━┻")},
                             {"Sparkles", emoji("✨"), text("✨")},
                         }));

    // The combining marks of the first face are written out so that no
    // editor folds them into their neighbours.
    out.push_back(define({"gallery-kaomoji",
                          "Kaomoji",
                          Category::fun,
                          {},
                          "One-tap Japanese emoticons and ASCII faces, pasted as plain text."},
                         {
                             {"Lenny", "eye", text("( \u0361° \u035Cʖ \u0361°)")},
                             {"Happy", emoji("😊"), text("(◕‿◕)")},
                             {"Bear", emoji("🐻"), text("ʕ•ᴥ•ʔ")},
                             {"Deal\nWith It", "sunglasses", text("(•_•) ( •_•)>⌐■-■ (⌐■_■)")},
                             {"Excited", emoji("🙌"), text("＼(^o^)／")},
                             {"Crying", emoji("😭"), text("(╥﹏╥)")},
                             {"Cat", emoji("🐱"), text("(=^･ω･^=)")},
                             {"Put Back", emoji("🙆"), text("┬─┬ノ( º _ ºノ)")},
                         }));

    out.push_back(define({"gallery-fancy-text",
                          "Fancy Text",
                          Category::fun,
                          {},
                          "Typographic marks and decorative symbols that keyboards rarely offer."},
                         {
                             {"Heart", "heart.fill", text("♥")},
                             {"Star", "star.fill", text("★")},
                             {"Degree", "thermometer.medium", text("°")},
                             {"Copyright", "c.circle", text("©")},
                             {"Trademark", "t.circle", text("™")},
                             {"Ellipsis", "ellipsis", text("…")},
                             {"Curly\nQuotes", "quote.opening", text("“”")},
                             {"Sparkle\nDivider", "sparkles", text("✦ ✦ ✦")},
                         }));

    out.push_back(define({"gallery-meme-machine",
                          "Meme Machine",
                          Category::fun,
                          {Category::web},
                          "Cute animals, feel-good posts, GIFs, and meme makers for a quick laugh."},
                         {
                             {"Aww", link("https://www.reddit.com/r/aww/")},
                             {"Made Me\nSmile", link("https://www.reddit.com/r/MadeMeSmile/")},
                             {"Know Your\nMeme", link("https://knowyourmeme.com")},
                             {"Imgflip", link("https://imgflip.com")},
                             {"GIPHY", link("https://giphy.com")},
                             {"9GAG", link("https://9gag.com")},
                             {"Tenor", link("https://tenor.com")},
                         }));

    out.push_back(define({"gallery-time-killers",
                          "Time Killers",
                          Category::fun,
                          {Category::web},
                          "Quick browser games for a five-minute break: Wordle, 2048, chess, and more."},
                         {
                             {"Wordle", link("https://www.nytimes.com/games/wordle/index.html")},
                             {"2048", link("https://play2048.co")},
                             {"Chess", link("https://www.chess.com")},
                             {"Solitaire", link("https://www.google.com/search?q=solitaire")},
                             {"Mine-\nsweeper", link("https://www.google.com/search?q=minesweeper")},
                             {"Snake", link("https://www.google.com/search?q=snake+game")},
                             {"GeoGuessr", link("https://www.geoguessr.com")},
                             {"More\nGames", link("https://poki.com")},
                         }));
}

} // namespace rondelix::GalleryCatalogue
