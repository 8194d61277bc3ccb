#include "qtshared/MnemonicText.h"

#include <QKeySequence>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

TEST(MnemonicText, ButtonsSideBySideGetLettersOfTheirOwnAndShowTheirAmpersandsOnce) {
    struct Row {
        QStringList titles, shown;
    };
    for (const Row& row : {
             Row{{"Cancel", "Add Anyway"}, {"&Cancel", "&Add Anyway"}},
             // A taken first letter gives way to the next word's, then to
             // any free letter.
             Row{{"Delete Wheel", "Duplicate"}, {"&Delete Wheel", "D&uplicate"}},
             Row{{"Reduce", "Replace", "Cancel"}, {"&Reduce", "R&eplace", "&Cancel"}},
             Row{{"Keep", "Keep Both"}, {"&Keep", "Keep &Both"}},
             Row{{"Power & Lock", "Cancel"}, {"&Power && Lock", "&Cancel"}},
             Row{{"OK", "ok", "K"}, {"&OK", "o&k", "K"}},
             Row{{"→"}, {"→"}},
         }) {
        const QStringList shown = withMnemonics(row.titles);
        EXPECT_EQ(shown, row.shown) << row.titles.join('|').toStdString();
        for (const QString& title : shown)
            EXPECT_EQ(title.count(QLatin1Char('&')) % 2 == 1, !QKeySequence::mnemonic(title).isEmpty());
    }
    EXPECT_EQ(literalTitle(std::string_view("Sound && Media & more")), "Sound &&&& Media && more");
}

} // namespace
} // namespace rondelix
