#include "platform/linux/network/QtHttpClient.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
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

HttpClient::Head headOf(const QNetworkReply& reply) {
    HttpClient::Head head;
    head.status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray type = reply.rawHeader("Content-Type");
    head.mimeType = type.left(type.indexOf(';')).trimmed().toStdString();
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    head.expectedLength = length.isValid() ? length.toLongLong() : -1;
    head.location = reply.rawHeader("Location").toStdString();
    return head;
}

bool hasStatus(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
}

QNetworkRequest outgoingRequest(const QUrl& named, const QHostAddress& address, double timeoutSeconds) {
    QUrl target = named;
    target.setHost(address.toString());
    QNetworkRequest request(target);
    request.setRawHeader("Host", hostHeader(named));
    request.setPeerVerifyName(named.host());
    request.setTransferTimeout(static_cast<int>(timeoutSeconds * 1000));
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
        reply = manager.get(outgoingRequest(named, address, request.timeoutSeconds));
        running_.insert(reply);
    }
    reply->setReadBufferSize(readBufferBytes);

    std::optional<bool> headAccepted;
    bool stopped = false;
    const auto stop = [&] {
        stopped = true;
        reply->abort();
    };
    const auto takeHead = [&] {
        if (!headAccepted) {
            headAccepted = sink.head(headOf(*reply));
            if (!*headAccepted) stop();
        }
        return *headAccepted;
    };
    const auto takeBody = [&] {
        if (stopped || !takeHead()) return;
        while (reply->bytesAvailable() > 0) {
            const QByteArray chunk = reply->read(chunkBytes);
            if (chunk.isEmpty()) return;
            if (!sink.body({chunk.constData(), static_cast<std::size_t>(chunk.size())})) return stop();
        }
    };

    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::metaDataChanged, [&] {
        if (!stopped && hasStatus(*reply)) takeHead();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, takeBody);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);

    // A transfer that failed before any head never reaches the sink.
    if (!stopped && hasStatus(*reply)) takeBody();
    const bool failed = reply->error() != QNetworkReply::NoError || !headAccepted;
    {
        std::lock_guard guard(lock_);
        running_.erase(reply);
    }
    delete reply;
    if (stopped) return End::Stopped;
    return failed ? End::Failed : End::Complete;
}

} // namespace rondelix::platform::linux_desktop
