#pragma once

#include <array>

namespace rondelix {

// The pages of the main window, in declaration order; a new one joins the list
// below too.
enum class MainTab {
    wheels,
    gallery,
    appearance,
    shortcuts,
    general,
    wheelBehavior,
    soundFeedback,
    about,
    development
};

inline constexpr std::array allMainTabs{MainTab::wheels,        MainTab::gallery, MainTab::appearance,
                                        MainTab::shortcuts,     MainTab::general, MainTab::wheelBehavior,
                                        MainTab::soundFeedback, MainTab::about,   MainTab::development};

} // namespace rondelix
