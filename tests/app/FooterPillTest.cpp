#include "app/FooterPill.h"

#include "platform/sim/SimMainQueue.h"

#include <gtest/gtest.h>
#include <vector>

namespace rondelix {
namespace {

constexpr FooterFacts ready{true, true, 0, false};

TEST(FooterStatus, TheMostUrgentMissingThingLeadsAndClicksGoWhereItIsSetUp) {
    struct Row {
        FooterFacts facts;
        FooterStatus status;
        const char* title;
        const char* subtitle;
        bool chevron;
        FooterDestination click;
    };
    const Row rows[] = {
        {{true, false, 2, false},
         FooterStatus::permissionsNeeded,
         "Permissions Needed",
         "Click to grant access",
         true,
         FooterDestination::onboardingPermissions},
        {{false, true, 0, false},
         FooterStatus::permissionsNeeded,
         "Permissions Needed",
         "Click to grant access",
         true,
         FooterDestination::onboardingPermissions},
        {{true, true, 1, false},
         FooterStatus::systemActions,
         "System Actions",
         "1 to set up",
         true,
         FooterDestination::shortcutSetup},
        {{true, true, 12, true},
         FooterStatus::systemActions,
         "System Actions",
         "12 to set up",
         true,
         FooterDestination::shortcutSetup},
        {ready, FooterStatus::ready, "Ready", "All permissions granted", false,
         FooterDestination::onboardingWelcome},
    };
    for (const Row& row : rows) {
        const FooterStatus status = footerStatus(row.facts);
        EXPECT_EQ(status, row.status) << row.title;
        const FooterLook look = footerLook(status, row.facts.missingShortcuts);
        EXPECT_EQ(look.title, row.title);
        EXPECT_EQ(look.subtitle, row.subtitle);
        EXPECT_EQ(look.chevron, row.chevron) << row.title;
        EXPECT_EQ(footerDestination(status), row.click) << row.title;
    }
    EXPECT_GT(footerLook(FooterStatus::ready, 0).colour.green, footerLook(FooterStatus::ready, 0).colour.red);
    EXPECT_GT(footerLook(FooterStatus::systemActions, 1).colour.red,
              footerLook(FooterStatus::systemActions, 1).colour.green);
}

TEST(FooterStatus, DarkeningMovesTowardsBlackKeepingTheHue) {
    const Color orange{1.0, 149 / 255.0, 0.0};
    const Color same = darkenedForPill(orange, 0);
    EXPECT_NEAR(same.red, orange.red, 1e-6);
    EXPECT_NEAR(same.green, orange.green, 1e-6);
    EXPECT_NEAR(same.blue, orange.blue, 1e-6);
    const Color black = darkenedForPill(orange, 1);
    EXPECT_NEAR(black.red + black.green + black.blue, 0, 1e-6);

    Color previous = orange;
    for (const double fraction : {0.12, 0.2, 0.5}) {
        const Color shade = darkenedForPill(orange, fraction);
        EXPECT_LT(shade.red, previous.red) << fraction;
        EXPECT_LT(shade.green, previous.green) << fraction;
        EXPECT_GT(shade.red, shade.green) << fraction; // still orange, not brown-grey
        EXPECT_GE(shade.blue, 0);
        previous = shade;
    }
}

struct FooterPillTest : ::testing::Test {
    FooterPillTest() {
        pill.onFade = [this](FooterPill::Fade fade) { fades.push_back(fade.opacity); };
    }
    platform::sim::SimMainQueue queue;
    FooterPill pill{queue};
    std::vector<double> fades;
};

TEST_F(FooterPillTest, TheReadyPillFadesForFifteenSecondsThenLeaves) {
    pill.shown(ready);
    EXPECT_EQ(fades, std::vector<double>{0.0});
    queue.advance(14.9);
    EXPECT_FALSE(pill.gone());
    queue.advance(0.1);
    EXPECT_TRUE(pill.gone());

    // A permission withdrawn brings it back at full opacity.
    pill.update({true, false, 0, false});
    EXPECT_FALSE(pill.gone());
    EXPECT_EQ(pill.status(), FooterStatus::permissionsNeeded);
    EXPECT_EQ(fades.back(), 1.0);
}

TEST_F(FooterPillTest, OnlyTheLastFadeRemovesThePill) {
    pill.shown(ready);
    queue.advance(10);
    pill.update({true, true, 1, false});
    queue.advance(2);
    pill.update(ready);
    queue.advance(3); // the first fade's time is up, its token is stale
    EXPECT_FALSE(pill.gone());
    queue.advance(12);
    EXPECT_TRUE(pill.gone());
    EXPECT_EQ(fades, (std::vector<double>{0.0, 1.0, 0.0}));
}

TEST_F(FooterPillTest, TheOpenSetupWindowHoldsTheReadyPill) {
    pill.shown(ready);
    queue.advance(5);
    pill.update({true, true, 0, true});
    EXPECT_EQ(fades.back(), 1.0);
    queue.advance(60);
    EXPECT_FALSE(pill.gone());
    EXPECT_EQ(pill.status(), FooterStatus::ready);

    pill.update(ready); // closed: a new fade
    queue.advance(14);
    EXPECT_FALSE(pill.gone());
    queue.advance(1);
    EXPECT_TRUE(pill.gone());
}

TEST_F(FooterPillTest, ALateListOfMissingShortcutsBringsThePillBack) {
    for (const double wait : {5.0, 20.0}) {
        platform::sim::SimMainQueue q;
        FooterPill p(q);
        std::vector<double> seen;
        p.onFade = [&](FooterPill::Fade fade) { seen.push_back(fade.opacity); };
        p.shown(ready);
        q.advance(wait);
        p.update({true, true, 2, false});
        EXPECT_FALSE(p.gone()) << wait;
        EXPECT_EQ(p.status(), FooterStatus::systemActions) << wait;
        EXPECT_EQ(seen.back(), 1.0) << wait;
        q.advance(30);
        EXPECT_FALSE(p.gone()) << wait;
    }
}

TEST_F(FooterPillTest, FactsThatLeaveTheFadeAloneChangeNothing) {
    pill.shown({true, false, 0, false});
    pill.update({false, false, 3, false});
    pill.update({false, false, 3, true});
    EXPECT_EQ(fades, std::vector<double>{1.0});
    EXPECT_EQ(queue.pendingCount(), 0u);
}

} // namespace
} // namespace rondelix
