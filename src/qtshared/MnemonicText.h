#pragma once

#include "qtshared/QtText.h"

#include <QString>
#include <QStringList>
#include <string_view>

namespace rondelix {

// Titles of buttons, actions, menus and tabs read "&" as the mark before the
// letter Alt chooses them with ("&Edit": Alt+E). Labels and menu section
// titles read no mark: their text is shown as it is.

// A title shown as it is written: a name from the user or a catalogue keeps
// its "&" ("Power & Lock").
inline QString literalTitle(QString text) {
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

inline QString literalTitle(std::string_view text) {
    return literalTitle(toQString(text));
}

// Titles shown side by side (a message's buttons), each as it is written and
// marked on a letter of its own: the first free letter that starts a word,
// else the first free letter; a title without a free letter goes unmarked.
inline QStringList withMnemonics(const QStringList& titles) {
    QString taken;
    const auto pick = [&taken](const QString& title) -> qsizetype {
        qsizetype any = -1;
        for (qsizetype i = 0; i < title.size(); ++i) {
            const QChar letter = title[i].toLower();
            if (!letter.isLetterOrNumber() || taken.contains(letter)) continue;
            if (i == 0 || !title[i - 1].isLetterOrNumber()) return i;
            if (any < 0) any = i;
        }
        return any;
    };
    QStringList marked;
    for (const QString& title : titles) {
        const qsizetype at = pick(title);
        if (at >= 0) taken += title[at].toLower();
        marked << (at < 0 ? literalTitle(title)
                          : literalTitle(title.left(at)) + QLatin1Char('&') + literalTitle(title.mid(at)));
    }
    return marked;
}

} // namespace rondelix
