#include "platform/linux/desktop/AutostartLoginItems.h"

#include "platform/HomeFolder.h"
#include "platform/XdgFolders.h"
#include "platform/linux/process/ProgramExecutables.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <cstdlib>
#include <string_view>
#include <system_error>

namespace rondelix::platform::linux_desktop {

namespace {

// Quotes a program path for the Exec key. Inside quotes the format escapes
// " ` $ and \ with a backslash, and the string rules then double every
// backslash; a literal % is written twice.
std::string execArgument(const std::string& path) {
    std::string quoted;
    bool needsQuotes = false;
    for (const char c : path) {
        if (c == '\\') {
            quoted += "\\\\\\\\";
        } else if (c == '"' || c == '`' || c == '$') {
            quoted += "\\\\";
            quoted += c;
        } else if (c == '%') {
            quoted += "%%";
            continue;
        } else {
            quoted += c;
        }
        if (std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos) needsQuotes = true;
    }
    return needsQuotes ? "\"" + quoted + "\"" : quoted;
}

} // namespace

AutostartLoginItems::AutostartLoginItems(std::filesystem::path autostartFolder, std::filesystem::path program)
    : entry_(std::move(autostartFolder) / "rondelix.desktop"), program_(std::move(program)) {}

std::filesystem::path AutostartLoginItems::defaultFolder(const HomeFolder& home) {
    return userConfigFolder(home.path()) / "autostart";
}

LoginItems::Status AutostartLoginItems::status() const {
    QFile file(QString::fromStdString(entry_.string()));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return Status::notRegistered;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") return Status::notRegistered;
    }
    return Status::enabled;
}

Result<> AutostartLoginItems::setRegistered(bool registered) {
    const QString entry = QString::fromStdString(entry_.string());
    if (!registered) {
        std::error_code ec;
        std::filesystem::remove(entry_, ec);
        if (ec) return Failure{entry_.string() + ": " + ec.message()};
        return {};
    }
    std::error_code ec;
    std::filesystem::create_directories(entry_.parent_path(), ec);
    if (ec) return Failure{entry_.parent_path().string() + ": " + ec.message()};
    QSaveFile file(entry);
    const auto failure = [&] { return Failure{entry_.string() + ": " + file.errorString().toStdString()}; };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return failure();
    const std::string text = "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Rondelix\n"
                             "Icon=" +
                             std::string(ProgramExecutables::applicationId) +
                             "\n"
                             "Exec=" +
                             execArgument(program_.string()) +
                             "\n"
                             "X-GNOME-Autostart-enabled=true\n";
    file.write(text.data(), static_cast<qint64>(text.size()));
    if (!file.commit()) return failure();
    return {};
}

} // namespace rondelix::platform::linux_desktop
