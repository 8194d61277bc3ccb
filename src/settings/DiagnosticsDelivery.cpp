#include "settings/DiagnosticsDelivery.h"

#include "actions/LinkText.h"
#include "files/FileAccess.h"
#include "platform/Background.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"
#include "platform/Pasteboard.h"
#include "platform/Processes.h"
#include "platform/Workspace.h"
#include "settings/AboutInfo.h"
#include "settings/DiagnosticsReport.h"

#include <memory>
#include <utility>

namespace rondelix {

namespace {

constexpr const char* composeBody =
    "Diagnostics attached. Add anything else below: what you did, what happened, what you expected.\n";
// What the plain mail asks of the user, after what the file manager showed.
std::string fallbackBody(platform::Revealed revealed, const std::filesystem::path& file) {
    switch (revealed) {
    case platform::Revealed::selected:
        return "The diagnostics file has been revealed in your file manager. Please attach it before "
               "sending.";
    case platform::Revealed::folderOpened:
        return "The folder holding the diagnostics file has been opened in your file manager. Please "
               "attach " +
               file.filename().string() + " from it before sending.";
    case platform::Revealed::nothing:
        break;
    }
    return "The diagnostics file is at " + file.string() + ". Please attach it before sending.";
}

// Without a known desktop the mail helper runs the mail program in the
// foreground and returns only once the user closes it: a helper still
// running this long after its start has opened the message.
constexpr double composerOpenedAfter = 3;

} // namespace

DiagnosticsDelivery::DiagnosticsDelivery(Services services, Sources sources)
    : services_(services), sources_(std::move(sources)) {}

DiagnosticsDelivery::~DiagnosticsDelivery() {
    lifetime_.end();
}

std::optional<std::filesystem::path> DiagnosticsDelivery::file() const {
    if (!sources_.folder) return std::nullopt;
    return *sources_.folder / ("Rondelix-Diagnostics-" + fileSafeVersion(sources_.version) + ".txt");
}

std::string DiagnosticsDelivery::subject() const {
    return "Rondelix " + AboutInfo::versionText(sources_.version) + " diagnostics";
}

void DiagnosticsDelivery::gather(std::function<void(DiagnosticsDelivery&, std::string)> deliver) {
    std::string report = sources_.snapshot();
    services_.background.run([report = std::move(report), recentLog = sources_.recentLog,
                              shortcuts = sources_.shortcuts, &queue = services_.queue, this,
                              alive = lifetime_.watch(), deliver = std::move(deliver)] {
        std::string text = fullDiagnosticsText(report, shortcuts(), recentLog());
        queue.post([this, alive, deliver, text = std::move(text)] {
            if (alive) deliver(*this, text);
        });
    });
}

void DiagnosticsDelivery::copy() {
    if (busy()) return;
    setCopy(CopyState::gathering);
    gather([](DiagnosticsDelivery& d, std::string text) {
        d.services_.pasteboard.writeText(text);
        d.setCopy(CopyState::copied);
        d.services_.queue.after(resetDelay, [&d, alive = d.lifetime_.watch()] {
            if (alive && d.copyState_ == CopyState::copied) d.setCopy(CopyState::idle);
        });
    });
}

void DiagnosticsDelivery::email() {
    if (busy()) return;
    unsentReport_.reset();
    setEmail(EmailState::gathering);
    gather([](DiagnosticsDelivery& d, std::string text) { d.compose(text); });
}

void DiagnosticsDelivery::compose(const std::string& text) {
    const auto target = file();
    const auto written = target ? writePrivateFileAtomically(*target, text)
                                : Result<>(Failure{"there is no folder only you can reach for it"});
    if (!written.ok()) {
        services_.log.write("diagnostics file write failed: " + written.error());
        services_.pasteboard.writeText(text);
        showEmailResult(EmailState::copied);
        return;
    }
    platform::ProcessRequest request{
        "xdg-email",
        {"--subject", subject(), "--body", composeBody, "--attach", target->string(),
         std::string(AboutInfo::supportAddress)},
    };
    // The helper may be running the user's mail program as its own child: it
    // runs in a session of its own, and nothing here ever ends it.
    request.ownSession = true;
    // Whichever comes first tells: the helper's exit, or its still running.
    // How a mail program the user closes later exits says nothing of the mail.
    auto told = std::make_shared<bool>(false);
    services_.queue.after(composerOpenedAfter, [this, alive = lifetime_.watch(), told] {
        if (alive && !std::exchange(*told, true)) showEmailResult(EmailState::opened);
    });
    services_.processes.run(std::move(request),
                            [this, alive = lifetime_.watch(), told](const platform::ProcessResult& result) {
                                if (!alive || std::exchange(*told, true)) return;
                                if (result.launched && result.status == 0)
                                    showEmailResult(EmailState::opened);
                                else
                                    fallBack();
                            });
}

// No composer took the message: the file is shown where it lies and a plain
// mail asks for it to be attached, in the words of what the file manager
// showed. When no mail program takes that either, the user is told where the
// report is instead.
void DiagnosticsDelivery::fallBack() {
    services_.workspace.revealFile(file()->string(),
                                   [this, alive = lifetime_.watch()](platform::Revealed revealed) {
                                       if (alive) askForTheFileByMail(revealed);
                                   });
}

void DiagnosticsDelivery::askForTheFileByMail(platform::Revealed revealed) {
    services_.workspace.openLink(
        LinkText::mailtoLink(AboutInfo::supportAddress,
                             {{"subject", subject()}, {"body", fallbackBody(revealed, *file())}}),
        [this, alive = lifetime_.watch()](bool opened) {
            if (!alive) return;
            if (opened) {
                showEmailResult(EmailState::opened);
                return;
            }
            unsentReport_ = file();
            services_.log.write("no mail program opened the diagnostics; the report is in " +
                                file()->string());
            showEmailResult(EmailState::notOpened);
        });
}

// The button shows the result for a while, then offers the e-mail again.
void DiagnosticsDelivery::showEmailResult(EmailState state) {
    setEmail(state);
    services_.queue.after(resetDelay, [this, alive = lifetime_.watch()] {
        if (alive && emailState_ != EmailState::idle && emailState_ != EmailState::gathering)
            setEmail(EmailState::idle);
    });
}

void DiagnosticsDelivery::setCopy(CopyState state) {
    if (copyState_ == state) return;
    copyState_ = state;
    changed.emit();
}

void DiagnosticsDelivery::setEmail(EmailState state) {
    if (emailState_ == state) return;
    emailState_ = state;
    changed.emit();
}

} // namespace rondelix
