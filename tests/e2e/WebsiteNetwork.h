// Websites of the test's own for the running program to fetch icons from,
// over HTTPS, at a public address, on a network no other machine sees.

#pragma once

#include "EndToEndRig.h"

#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <sched.h>

namespace rondelix::e2e {

// Makes the default wheel's slices links to the hosts' home pages, one a
// slice in order, each with the site's own icon.
inline void giveTheDefaultWheelLinksTo(const TestHome& home, const std::vector<std::string>& hosts) {
    Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    for (Wheel& wheel : config.wheels) {
        if (wheel.id != "default") continue;
        wheel.slices.clear();
        for (int i = 0; i < static_cast<int>(hosts.size()); ++i)
            wheel.slices.push_back(
                Slice{Uuid::generate(), i, hosts[static_cast<std::size_t>(i)], Icon{Icon::Auto{}},
                      MacroAction::Url{"https://" + hosts[static_cast<std::size_t>(i)] + "/"}});
    }
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
}

// The program runs in a network of its own, the websites' server in
// another, linked by a pair of virtual interfaces: the program's address
// gate sees a public address that is not the machine's, as on the internet.
// In the program's view of the file system a hosts file names the sites, a
// name server that answers nothing stands in for the real one, and the
// certificate the sites prove themselves with is the only one trusted.
// Making the networks needs the right to (root); without it `unavailable`
// says why.
class WebsiteNetwork {
  public:
    struct Answer {
        std::string mimeType;
        std::string body;
        // Sent as the body's Content-Encoding when not empty.
        std::string encoding = {};
        // The body announced whole, then sent a byte a second.
        bool trickles = false;
    };
    // By host, then by path; anything else is not found.
    using Sites = std::map<std::string, std::map<std::string, Answer>>;

    static constexpr const char* programAddress = "93.184.216.1/24";
    static constexpr const char* siteAddress = "93.184.216.34";

    WebsiteNetwork(Sites sites, const fs::path& folder) : sites_(std::move(sites)), folder_(folder) {
        fs::create_directories(folder_ / "certs");
        if (!makeCertificate()) return;
        writeFile(folder_ / "resolv.conf", "nameserver 127.0.0.1\n");
        std::string hosts = "127.0.0.1 localhost\n::1 localhost\n" + std::string(siteAddress);
        for (const auto& [host, paths] : sites_)
            hosts += " " + host;
        writeFile(folder_ / "hosts", hosts + "\n");

        program_ = std::make_unique<NetworkThread>(nullptr);
        server_ = std::make_unique<NetworkThread>([this](std::string& failure) { return serve(failure); });
        if (!program_->unavailable.empty() || !server_->unavailable.empty()) {
            unavailable = "no network of its own: " + program_->unavailable + server_->unavailable;
            return;
        }
        const std::string link = "ip link set lo up && ip link add rdx0 type veth peer name rdx1 netns " +
                                 std::to_string(server_->tid) + " && ip addr add " + programAddress +
                                 " dev rdx0 && ip link set rdx0 up";
        const std::string site = "ip link set lo up && ip addr add " + std::string(siteAddress) +
                                 "/24 dev rdx1 && ip link set rdx1 up";
        if (std::system(inside(*program_, link).c_str()) != 0 ||
            std::system(inside(*server_, site).c_str()) != 0)
            unavailable = "ip could not link the networks";
    }

    // Runs the command that follows it in the program's network, with the
    // hosts file, name server and certificates above.
    QStringList launcher() const {
        return {"nsenter",
                QString::fromStdString("--net=" + program_->namespacePath()),
                "unshare",
                "--mount",
                "sh",
                "-c",
                "mount --bind \"$1\" /etc/hosts && mount --bind \"$2\" /etc/resolv.conf && "
                "mount --bind \"$3\" /etc/ssl/certs && shift 3 && exec \"$@\"",
                "sh",
                QString::fromStdString((folder_ / "hosts").string()),
                QString::fromStdString((folder_ / "resolv.conf").string()),
                QString::fromStdString((folder_ / "certs").string())};
    }

    // How many requests the sites have had for that path of that host.
    int requests(const std::string& host, const std::string& path) const {
        const std::lock_guard guard(askedLock_);
        const auto found = asked_.find(host + path);
        return found == asked_.end() ? 0 : found->second;
    }

    std::string unavailable;

  private:
    // A thread in a network namespace of its own, running an event loop
    // there, with what `start` made in it, until it is destroyed.
    struct NetworkThread {
        using Start = std::function<std::unique_ptr<QObject>(std::string& failure)>;

        explicit NetworkThread(Start start) {
            std::promise<std::string> ready;
            auto started = ready.get_future();
            thread = std::thread([this, &ready, start] {
                if (::unshare(CLONE_NEWNET) != 0) return ready.set_value(std::strerror(errno));
                tid = ::gettid();
                QEventLoop running;
                loop = &running;
                std::string failure;
                const std::unique_ptr<QObject> made = start ? start(failure) : nullptr;
                ready.set_value(failure);
                if (failure.empty()) running.exec();
            });
            unavailable = started.get();
            if (!unavailable.empty()) thread.join();
        }
        ~NetworkThread() {
            if (!thread.joinable()) return;
            QMetaObject::invokeMethod(loop, &QEventLoop::quit, Qt::QueuedConnection);
            thread.join();
        }
        std::string namespacePath() const {
            return "/proc/" + std::to_string(::getpid()) + "/task/" + std::to_string(tid) + "/ns/net";
        }

        std::thread thread;
        pid_t tid = 0;
        QEventLoop* loop = nullptr;
        std::string unavailable;
    };

    static std::string inside(const NetworkThread& network, const std::string& commands) {
        return "nsenter --net=" + network.namespacePath() + " sh -c '" + commands + "' >/dev/null 2>&1";
    }

    // One self-signed certificate for every site, trusted under its hash.
    bool makeCertificate() {
        std::string names;
        for (const auto& [host, paths] : sites_)
            names += (names.empty() ? "DNS:" : ",DNS:") + host;
        const std::string pem = (folder_ / "site.pem").string();
        const std::string make =
            "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
            "-subj '/CN=Rondelix test sites' -addext 'subjectAltName=" +
            names + "' -keyout '" + (folder_ / "site.key").string() + "' -out '" + pem + "' >/dev/null 2>&1";
        const std::string hash =
            std::system(make.c_str()) == 0 ? output("openssl x509 -hash -noout -in '" + pem + "'") : "";
        if (hash.size() < 2) {
            unavailable = "openssl could not make a certificate";
            return false;
        }
        fs::copy_file(pem, folder_ / "certs" / (hash.substr(0, hash.find('\n')) + ".0"));
        return true;
    }

    // The server, on the sites' network: each request answered on its own
    // connection, which then closes.
    std::unique_ptr<QObject> serve(std::string& failure) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(
            QSslCertificate::fromPath(QString::fromStdString((folder_ / "site.pem").string())).value(0));
        QFile key(QString::fromStdString((folder_ / "site.key").string()));
        key.open(QIODevice::ReadOnly);
        tls.setPrivateKey(QSslKey(&key, QSsl::Ec));
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        auto server = std::make_unique<QSslServer>();
        server->setSslConfiguration(tls);
        if (!server->listen(QHostAddress::AnyIPv4, 443)) {
            failure = "the sites cannot listen: " + server->errorString().toStdString();
            return nullptr;
        }
        QObject::connect(server.get(), &QTcpServer::pendingConnectionAvailable, server.get(),
                         [this, listening = server.get()] {
                             while (QTcpSocket* connection = listening->nextPendingConnection())
                                 answerOn(connection);
                         });
        return server;
    }

    void answerOn(QTcpSocket* connection) {
        QObject::connect(connection, &QAbstractSocket::disconnected, connection, &QObject::deleteLater);
        const auto request = std::make_shared<QByteArray>();
        const auto read = [this, connection, request] {
            request->append(connection->readAll());
            const auto headEnd = request->indexOf("\r\n\r\n");
            if (headEnd < 0) return;
            const QList<QByteArray> lines = request->left(headEnd).split('\n');
            const QByteArray path = lines.value(0).split(' ').value(1);
            QByteArray host;
            for (const QByteArray& line : lines)
                if (line.toLower().startsWith("host:")) host = line.mid(5).trimmed();
            {
                const std::lock_guard guard(askedLock_);
                ++asked_[host.toStdString() + path.toStdString()];
            }
            const Answer* answer = nullptr;
            if (const auto site = sites_.find(host.toStdString()); site != sites_.end())
                if (const auto found = site->second.find(path.toStdString()); found != site->second.end())
                    answer = &found->second;
            std::string head = answer ? "HTTP/1.1 200 OK\r\nContent-Type: " + answer->mimeType +
                                            "\r\nContent-Length: " + std::to_string(answer->body.size())
                                      : "HTTP/1.1 404 Not Found\r\nContent-Length: 0";
            if (answer && !answer->encoding.empty()) head += "\r\nContent-Encoding: " + answer->encoding;
            connection->write(QByteArray::fromStdString(head + "\r\nConnection: close\r\n\r\n"));
            request->clear();
            if (answer && answer->trickles) return trickle(connection, answer->body);
            if (answer) connection->write(QByteArray::fromStdString(answer->body));
            connection->disconnectFromHost();
        };
        QObject::connect(connection, &QIODevice::readyRead, connection, read);
        // What came with the handshake has been announced already.
        if (connection->bytesAvailable() > 0) read();
    }

    // A byte of the body a second, for as long as the connection lasts.
    static void trickle(QTcpSocket* connection, const std::string& body) {
        auto* next = new QTimer(connection);
        QObject::connect(next, &QTimer::timeout, connection,
                         [connection, &body, sent = std::size_t{0}]() mutable {
                             if (sent < body.size()) connection->write(&body[sent++], 1);
                         });
        next->start(1000);
    }

    Sites sites_;
    fs::path folder_;
    mutable std::mutex askedLock_;
    std::map<std::string, int> asked_;
    std::unique_ptr<NetworkThread> program_;
    std::unique_ptr<NetworkThread> server_;
};

} // namespace rondelix::e2e
