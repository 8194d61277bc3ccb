#include "DesktopApplication.h"
#include "icons/FaviconBodySink.h"
#include "platform/linux/network/GetaddrinfoHostResolver.h"
#include "platform/linux/network/ModuleHttpClient.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimMainQueue.h"
#include "support/GzippedZeros.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <map>
#include <mutex>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {
namespace {

// A plain HTTP server on 127.0.0.1 that answers one connection at a time
// from a table of paths, remembers each request's Host header and counts
// what it managed to send.
class LoopbackServer {
  public:
    struct Answer {
        std::string head;       // status line and headers, without the blank line
        std::size_t bodySize{}; // bytes of 'x' after the head
        std::string body = {};  // sent after those
        // Then a byte of 'x' every tenth of a second, for up to half a
        // minute, until the client hangs up.
        bool trickles = false;
    };

    explicit LoopbackServer(std::map<std::string, Answer> answers) : answers_(std::move(answers)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(listener_, 4) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }

    ~LoopbackServer() {
        ::shutdown(listener_, SHUT_RDWR); // wakes the accept
        if (thread_.joinable()) thread_.join();
        ::close(listener_);
    }

    int port() const { return port_; }
    std::string hostSeen(const std::string& path) {
        std::lock_guard guard(lock_);
        return hosts_[path];
    }
    // Waits for the server to be done with that path's connection.
    std::size_t bytesSent(const std::string& path) {
        std::unique_lock guard(lock_);
        answered_.wait(guard, [&] { return sent_.contains(path); });
        return sent_[path];
    }

  private:
    void serve() {
        for (;;) {
            const int connection = ::accept(listener_, nullptr, nullptr);
            if (connection < 0) return;
            answer(connection);
            ::close(connection);
        }
    }

    void answer(int connection) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const auto got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0) return;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        const auto pathStart = request.find(' ') + 1;
        const std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
        const auto hostAt = request.find("\r\nHost: ") + 8;
        const std::string host = request.substr(hostAt, request.find("\r\n", hostAt) - hostAt);
        {
            // Taken before answering, so the client cannot finish ahead of it.
            std::lock_guard guard(lock_);
            hosts_[path] = host;
        }
        const auto found = answers_.find(path);
        const Answer answer = found == answers_.end()
                                  ? Answer{"HTTP/1.1 404 Not Found\r\nContent-Length: 0", 0}
                                  : found->second;
        const std::string head = answer.head + "\r\nConnection: close\r\n\r\n";
        ::send(connection, head.data(), head.size(), MSG_NOSIGNAL);
        const std::string chunk(64 * 1024, 'x');
        std::size_t sent = 0;
        while (sent < answer.bodySize) {
            const auto wrote = ::send(connection, chunk.data(),
                                      std::min(chunk.size(), answer.bodySize - sent), MSG_NOSIGNAL);
            if (wrote <= 0) break; // the client hung up
            sent += static_cast<std::size_t>(wrote);
        }
        if (::send(connection, answer.body.data(), answer.body.size(), MSG_NOSIGNAL) > 0)
            sent += answer.body.size();
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (answer.trickles && std::chrono::steady_clock::now() < until) {
            pollfd hangUp{connection, POLLIN | POLLRDHUP, 0};
            if (::poll(&hangUp, 1, 100) != 0 || ::send(connection, "x", 1, MSG_NOSIGNAL) != 1) break;
            ++sent;
        }
        std::lock_guard guard(lock_);
        sent_[path] = sent;
        answered_.notify_all();
    }

    std::map<std::string, Answer> answers_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::mutex lock_;
    std::condition_variable answered_;
    std::map<std::string, std::string> hosts_;
    std::map<std::string, std::size_t> sent_;
};

// Each IPv4 interface's subnet broadcast address, from its address and mask.
std::vector<std::string> subnetBroadcasts() {
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) return {};
    std::vector<std::string> result;
    for (const ifaddrs* entry = interfaces; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !entry->ifa_netmask ||
            !(entry->ifa_flags & IFF_BROADCAST))
            continue;
        in_addr broadcast{};
        broadcast.s_addr = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr |
                           ~reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr;
        result.emplace_back(inet_ntoa(broadcast));
    }
    freeifaddrs(interfaces);
    return result;
}

// The only test that talks to a real server: the name cannot be resolved, so
// the page can only come from the address handed over with it.
TEST(FaviconLoopback, FetchesFromTheHandedOverAddressAndAppliesTheCapsAsBytesArrive) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    constexpr std::size_t imageCap = 2097152, pageCap = 524288, endless = 64u << 20;
    LoopbackServer server({
        {"/favicon.ico", {"HTTP/1.1 200 OK\r\nContent-Type: image/png; q=1\r\nContent-Length: 1000", 1000}},
        {"/endless", {"HTTP/1.1 200 OK\r\nContent-Type: image/png", endless}},
        {"/announced", {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(imageCap + 1), imageCap + 1}},
        {"/page", {"HTTP/1.1 200 OK\r\nContent-Type: text/html", pageCap + 100000}},
        {"/moved", {"HTTP/1.1 302 Found\r\nLocation: http://elsewhere.invalid/x\r\nContent-Length: 0", 0}},
    });
    ASSERT_NE(server.port(), 0);
    const std::string name = "icons.rondelix.invalid";
    GetaddrinfoHostResolver resolver;
    EXPECT_TRUE(resolver.addresses(name).empty());
    EXPECT_FALSE(resolver.addresses("localhost").empty());
    // The machine's own addresses come from its interfaces, loopback among
    // them, and so do the broadcast addresses of their subnets.
    const auto own = resolver.ownAddresses();
    EXPECT_NE(std::ranges::find(own, "127.0.0.1"), own.end());
    for (const auto& broadcast : subnetBroadcasts())
        EXPECT_NE(std::ranges::find(own, broadcast), own.end()) << broadcast;

    sim::SimLog log;
    sim::SimMainQueue queue;
    ModuleHttpClient client(log, queue, RONDELIX_HTTP_MODULE);
    const std::string base = "http://" + name + ":" + std::to_string(server.port());
    const struct {
        const char* path;
        std::size_t cap;
        bool truncate;
        std::optional<std::size_t> kept;
    } cases[] = {
        {"/favicon.ico", imageCap, false, 1000},       {"/endless", imageCap, false, std::nullopt},
        {"/announced", imageCap, false, std::nullopt}, {"/page", pageCap, true, pageCap},
        {"/moved", imageCap, false, std::nullopt},
    };
    // Off the main thread, as the program's searches run.
    std::thread([&] {
        for (const auto& c : cases) {
            FaviconBodySink sink(c.cap, c.truncate);
            const auto end = client.get({base + c.path, "127.0.0.1", 60}, sink);
            const auto body = sink.result(end);
            EXPECT_EQ(body ? std::optional(body->data.size()) : std::nullopt, c.kept) << c.path;
            EXPECT_EQ(server.hostSeen(c.path), name + ":" + std::to_string(server.port())) << c.path;
            if (std::string(c.path) == "/favicon.ico") {
                EXPECT_EQ(body->mimeType, "image/png");
            }
            if (std::string(c.path) == "/moved") {
                EXPECT_EQ(sink.redirect(), "http://elsewhere.invalid/x");
            }
        }
    }).join();
    // Reading stopped at the cap: the rest was never taken off the wire.
    EXPECT_LT(server.bytesSent("/endless"), endless / 4);

    resolver.shutDown();
    EXPECT_TRUE(resolver.addresses("localhost").empty());
    client.shutDown();
    FaviconBodySink late(imageCap, false);
    EXPECT_EQ(client.get({base + "/favicon.ico", "127.0.0.1", 60}, late), HttpClient::End::Failed);
}

// Compressed bodies inflate as they arrive, so a cap stops the inflating
// and the transfer with it, however far the body would inflate; a body that
// keeps coming a byte at a time ends at the request's time-out. The server
// keeps each of those connections open until the client hangs up, which the
// client does at once.
TEST(FaviconLoopback, InflatesBodiesUnderTheCapAndEndsATrickleAtTheTimeOut) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    constexpr std::size_t imageCap = 2097152, pageCap = 524288;
    const std::string icon = testing::gzippedZeros(1000), endless = testing::gzippedZeros(64u << 20);
    // The endless body is announced longer than it is: the connection stays open after it.
    const auto gzip = [](std::size_t announced) {
        return "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: " + std::to_string(announced);
    };
    LoopbackServer server({
        {"/favicon.ico", {gzip(icon.size()), 0, icon}},
        {"/endless", {gzip(endless.size() + 100), 0, endless, true}},
        {"/page", {gzip(endless.size() + 100), 0, endless, true}},
        {"/damaged", {"HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: 10", 0, "not a gzip"}},
        {"/brotli", {"HTTP/1.1 200 OK\r\nContent-Encoding: br\r\nContent-Length: 4", 0, "abcd"}},
        {"/trickle", {"HTTP/1.1 200 OK\r\nContent-Length: 1000000", 0, "", true}},
    });
    ASSERT_NE(server.port(), 0);
    sim::SimLog log;
    sim::SimMainQueue queue;
    ModuleHttpClient client(log, queue, RONDELIX_HTTP_MODULE);
    const std::string base = "http://icons.rondelix.invalid:" + std::to_string(server.port());
    const struct {
        const char* path;
        std::size_t cap;
        bool truncate;
        std::optional<std::size_t> zerosKept;
        double timeout = 60;
    } cases[] = {
        {"/favicon.ico", imageCap, false, 1000},    {"/endless", imageCap, false, std::nullopt},
        {"/page", pageCap, true, pageCap},          {"/damaged", imageCap, false, std::nullopt},
        {"/brotli", imageCap, false, std::nullopt}, {"/trickle", imageCap, false, std::nullopt, 1},
    };
    std::thread([&] {
        for (const auto& c : cases) {
            const auto start = std::chrono::steady_clock::now();
            FaviconBodySink sink(c.cap, c.truncate);
            const auto body = sink.result(client.get({base + c.path, "127.0.0.1", c.timeout}, sink));
            const double took =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const bool zeros = body && body->data.find_first_not_of('\0') == std::string::npos;
            EXPECT_EQ(zeros ? std::optional(body->data.size()) : std::nullopt, c.zerosKept) << c.path;
            // The time is what is tested: a transfer that waits for the
            // server to end it takes half a minute.
            EXPECT_LT(took, 15) << c.path;
        }
    }).join();
}

// Addresses added without a broadcast address recorded, in a network of its
// own on a thread of its own: the broadcast addresses of their subnets still
// count as this machine's.
TEST(FaviconLoopback, CountsTheBroadcastOfASubnetWhoseAddressHasNoneRecorded) {
    const struct {
        const char* added;
        const char* broadcast;
    } cases[] = {
        {"10.20.30.1/24 dev rdx0", "10.20.30.255"},
        {"172.20.0.1/16 dev rdx0", "172.20.255.255"},
        {"93.184.216.34/24 dev lo", "93.184.216.255"},
    };
    std::string unavailable;
    std::vector<std::string> own;
    std::thread([&] {
        if (::unshare(CLONE_NEWNET) != 0) {
            unavailable = std::strerror(errno);
            return;
        }
        std::string commands = "ip link set lo up && ip link add rdx0 type veth peer name rdx1";
        for (const auto& c : cases)
            commands += std::string(" && ip addr add ") + c.added;
        if (std::system(commands.c_str()) != 0) {
            unavailable = "ip could not add the addresses";
            return;
        }
        own = GetaddrinfoHostResolver().ownAddresses();
    }).join();
    if (!unavailable.empty()) GTEST_SKIP() << "no network of its own: " << unavailable;
    for (const auto& c : cases)
        EXPECT_NE(std::ranges::find(own, c.broadcast), own.end()) << c.added;
}

TEST(FaviconLoopback, WithoutItsNetworkModuleEachRequestFailsAndTheLogSaysSoOnce) {
    sim::SimLog log;
    sim::SimMainQueue queue;
    ModuleHttpClient client(log, queue, "/nonexistent/librondelix-http.so");
    for (int request = 0; request < 2; ++request) {
        FaviconBodySink sink(1000, false);
        EXPECT_EQ(client.get({"http://icons.rondelix.invalid/favicon.ico", "127.0.0.1", 1}, sink),
                  HttpClient::End::Failed);
    }
    queue.runPending();
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("website icons can't be fetched — the program's network module "
                                  "/nonexistent/librondelix-http.so can't be loaded ("),
              std::string::npos)
        << log.lines()[0];
}

} // namespace
} // namespace rondelix::platform::linux_desktop
