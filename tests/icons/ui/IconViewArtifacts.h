#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QString>

namespace rondelix::testsupport {

// Keeps a picture for people to look at, in the artifacts folder beside the
// test program.
inline bool saveIconArtifact(const QImage& image, const QString& name) {
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/artifacts");
    QDir().mkpath(folder);
    return image.save(folder + QLatin1Char('/') + name);
}

} // namespace rondelix::testsupport
