#include "util/NumericAddress.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace rondelix {
namespace {

// The system's own reading, which the program's must match byte for byte.
template <typename Bytes> std::optional<Bytes> systemReading(int family, const std::string& text) {
    Bytes bytes{};
    if (inet_pton(family, text.c_str(), bytes.data()) != 1) return std::nullopt;
    return bytes;
}

void expectSameAsSystem(const std::string& text) {
    EXPECT_EQ(ipv4FromText(text), systemReading<IPv4Bytes>(AF_INET, text)) << '"' << text << '"';
    EXPECT_EQ(ipv6FromText(text), systemReading<IPv6Bytes>(AF_INET6, text)) << '"' << text << '"';
}

const std::vector<std::string>& tricky() {
    static const std::vector<std::string> texts{
        "",
        ".",
        "0.0.0.0",
        "255.255.255.255",
        "256.0.0.1",
        "1.2.3",
        "1.2.3.4.5",
        "01.2.3.4",
        "1.2.3.04",
        "1..2.3",
        "1.2.3.4.",
        ".1.2.3.4",
        "0x7f.0.0.1",
        "127.1",
        "2130706433",
        " 1.2.3.4",
        "1.2.3.4 ",
        "1.2.3.-4",
        "1.2.3.4\n",
        "::",
        ":",
        ":::",
        "::1",
        "1::",
        "1:",
        ":1",
        "1:2:3:4:5:6:7:8",
        "1:2:3:4:5:6:7:8:9",
        "1:2:3:4:5:6:7::",
        "::2:3:4:5:6:7:8",
        "::1:2:3:4:5:6:7:8",
        "1:2:3:4:5:6:7:8::",
        "1::2::3",
        "12345::",
        "ffff::",
        "FFFF::AbCd",
        "fe80::1%eth0",
        "::ffff:192.0.2.1",
        "::192.0.2.1",
        "::ffff:01.2.3.4",
        "::ffff:1.2.3",
        "1:2:3:4:5:6:1.2.3.4",
        "1:2:3:4:5:6:7:1.2.3.4",
        "1:2:3:4:5::1.2.3.4",
        "::1.2.3.4:5",
        "1.2.3.4::",
        "::12345.1.1.1",
        "::a.1.1.1",
        "64:ff9b::10.0.0.1",
        "2001:db8::g",
        "[::1]",
        "::ffff:1.2.3.4.5",
        "0:0:0:0:0:0:0:0",
        "00000::",
        "0000::",
        "1:2:3:4:5:6:7::8",
    };
    return texts;
}

TEST(NumericAddress, ReadsExactlyWhatTheSystemReads) {
    for (const auto& text : tricky())
        expectSameAsSystem(text);

    // Small edits of good addresses find the edges a list forgets.
    std::mt19937 random(20261208);
    const std::string alphabet = "0123456789abcdefABCDEF:.x% ";
    const std::vector<std::string> seeds{"192.0.2.1", "::ffff:10.1.2.3", "2001:db8:0:1:2:3:4:5", "fe80::1",
                                         "1::"};
    for (int round = 0; round < 20000; ++round) {
        std::string text = seeds[random() % seeds.size()];
        for (int edits = 1 + static_cast<int>(random() % 3); edits > 0; --edits) {
            const std::size_t at = random() % (text.size() + 1);
            const char c = alphabet[random() % alphabet.size()];
            switch (random() % 3) {
            case 0:
                text.insert(at, 1, c);
                break;
            case 1:
                if (at < text.size()) text.erase(at, 1);
                break;
            default:
                if (at < text.size()) text[at] = c;
                break;
            }
        }
        expectSameAsSystem(text);
    }
}

} // namespace
} // namespace rondelix
