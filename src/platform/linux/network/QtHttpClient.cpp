#include "platform/linux/network/QtHttpClient.h"

#include "platform/linux/network/BodyInflater.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <memory>
#include <optional>

namespace rondelix::platform::linux_desktop {

namespace {

// Bounds what Qt buffers ahead of the reader, so a cap the sink applies as
// bytes arrive also bounds the memory a large body can take.
constexpr qint64 readBufferBytes = 64 * 1024;
constexpr qint64 chunkBytes = 16 * 1024;

QByteArray hostHeader(const QUrl& url) {
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (url.port() != -1) host += ':' + QByteArray::number(url.port());
    return host;
}

// A compressed body's announced length is that of its compressed bytes:
// how long it inflates is not announced.
HttpClient::Head headOf(const QNetworkReply& reply, bool inflated) {
    HttpClient::Head head;
    head.status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray type = reply.rawHeader("Content-Type");
    head.mimeType = type.left(type.indexOf(';')).trimmed().toStdString();
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    head.expectedLength = length.isValid() && !inflated ? length.toLongLong() : -1;
    head.location = reply.rawHeader("Location").toStdString();
    return head;
}

bool hasStatus(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
}

QNetworkRequest outgoingRequest(const QUrl& named, const QHostAddress& address) {
    QUrl target = named;
    target.setHost(address.toString());
    QNetworkRequest request(target);
    request.setRawHeader("Host", hostHeader(named));
    request.setPeerVerifyName(named.host());
    // Compressed bodies are inflated here, as they are read, rather than by
    // Qt ahead of the reader, where a cap could not stop the inflating.
    request.setRawHeader("Accept-Encoding", "gzip, deflate");
    // Every hop goes back to the caller, which checks where it leads before
    // anything connects there.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // HTTP/2 names the server from the connection's address rather than the Host header.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    return request;
}

} // namespace

QtHttpClient::~QtHttpClient() {
    shutDown();
}

void QtHttpClient::shutDown() {
    std::lock_guard guard(lock_);
    closed_ = true;
    // Each reply belongs to the thread waiting on it; its event loop runs the abort.
    for (QNetworkReply* reply : running_)
        QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
}

HttpClient::End QtHttpClient::get(const Request& request, Sink& sink) {
    const QUrl named(QString::fromStdString(request.url), QUrl::StrictMode);
    QHostAddress address;
    if (!named.isValid() || named.host().isEmpty() ||
        !address.setAddress(QString::fromStdString(request.address)))
        return End::Failed;

    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkReply* reply = nullptr;
    {
        std::lock_guard guard(lock_);
        if (closed_) return End::Failed;
        reply = manager.get(outgoingRequest(named, address));
        running_.insert(reply);
    }
    reply->setReadBufferSize(readBufferBytes);

    std::optional<bool> headAccepted;
    bool stopped = false;
    // Given up: past the deadline, or a body that cannot be read.
    bool broken = false;
    std::unique_ptr<BodyInflater> inflater;
    const auto stop = [&] {
        stopped = true;
        reply->abort();
    };
    const auto breakOff = [&] {
        broken = true;
        reply->abort();
    };
    const auto takeHead = [&] {
        if (!headAccepted) {
            const auto coding = BodyInflater::codingOf(reply->rawHeader("Content-Encoding").toStdString());
            if (coding == BodyInflater::Coding::inflated) inflater = std::make_unique<BodyInflater>();
            headAccepted = sink.head(headOf(*reply, coding != BodyInflater::Coding::asSent));
            // A redirect or a refusal is heard whatever its body; a body
            // wanted in a coding this client did not offer cannot be read.
            if (!*headAccepted)
                stop();
            else if (coding == BodyInflater::Coding::unreadable)
                breakOff();
        }
        return *headAccepted && !broken;
    };
    const auto takeBody = [&] {
        if (stopped || broken || !takeHead()) return;
        const auto give = [&sink](std::string_view piece) { return sink.body(piece); };
        while (reply->bytesAvailable() > 0) {
            const QByteArray chunk = reply->read(chunkBytes);
            if (chunk.isEmpty()) return;
            const std::string_view bytes(chunk.constData(), static_cast<std::size_t>(chunk.size()));
            const auto outcome = inflater      ? inflater->inflate(bytes, give)
                                 : give(bytes) ? BodyInflater::Outcome::more
                                               : BodyInflater::Outcome::stopped;
            if (outcome == BodyInflater::Outcome::stopped) return stop();
            if (outcome == BodyInflater::Outcome::damaged) return breakOff();
        }
    };

    QEventLoop loop;
    // The whole transfer's time, however its bytes trickle in.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, breakOff);
    deadline.start(std::chrono::milliseconds(static_cast<std::int64_t>(request.timeoutSeconds * 1000)));
    QObject::connect(reply, &QNetworkReply::metaDataChanged, [&] {
        if (!stopped && !broken && hasStatus(*reply)) takeHead();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, takeBody);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);

    // A transfer that failed before any head never reaches the sink.
    if (!stopped && !broken && hasStatus(*reply)) takeBody();
    // A compressed body that broke off before its end is not whole.
    const bool cutShort = inflater && !inflater->ended();
    const bool failed = broken || cutShort || reply->error() != QNetworkReply::NoError || !headAccepted;
    {
        std::lock_guard guard(lock_);
        running_.erase(reply);
    }
    delete reply;
    if (stopped) return End::Stopped;
    return failed ? End::Failed : End::Complete;
}

} // namespace rondelix::platform::linux_desktop
