#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "store/SharedWheel.h"
#include "store/TopLevelKeys.h"
#include "support/RandomConfigs.h"
#include "support/TreeDecoder.h"
#include "support/TreeEncoder.h"

#include <cctype>
#include <cstdio>
#include <gtest/gtest.h>

using namespace rondelix;
using nlohmann::json;

namespace {

// Turns well-formed files into the texts people and other programs write:
// members missing, repeated or of the wrong type, unknown members and kinds,
// other spellings of the same numbers and strings, and broken bytes.
class Mutator {
  public:
    explicit Mutator(rondelix::testing::RandomConfigs& random) : random_(random) {}

    std::string text(json document) {
        for (int i = random_.count(4); i > 0; --i)
            mutate(document);
        std::string out;
        emit(document, out);
        for (int i = random_.pick({0, 0, 0, 1, 2}); i > 0; --i)
            breakBytes(out);
        return out;
    }

  private:
    json someValue() {
        return random_.pick<json>({nullptr, true, 3, -2, 2.0, 2.5, 1e300, "x",
                                   "6f1c2a3b-4d5e-4f60-8a7b-9c0d1e2f3a4b", json::array(), json::object(),
                                   json::array({1, "2"}), json::array({58, 1.0}), json{{"_0", "a"}},
                                   json{{"text", {{"_0", "a"}}}}, json{{"later", {{"a", 1}}}},
                                   json{{"emoji", json::object()}}, json{{"a.png", "QUJD"}}});
    }
    std::string someKey() {
        return random_.pick<std::string>({"wheels",
                                          "bindings",
                                          "behavior",
                                          "general",
                                          "version",
                                          "lastUsedWheelId",
                                          "exportedIcons",
                                          "slices",
                                          "id",
                                          "name",
                                          "sliceCount",
                                          "appBundleIdentifier",
                                          "keyCodes",
                                          "keyCode",
                                          "kind",
                                          "_0",
                                          "text",
                                          "app",
                                          "keystroke",
                                          "auto",
                                          "sfSymbol",
                                          "later",
                                          "wheelSize",
                                          "stickyAim",
                                          "position",
                                          "wheel",
                                          "icons",
                                          "rondixVersion",
                                          "unknown"});
    }

    // One change somewhere down a random path.
    void mutate(json& document) {
        json* node = &document;
        while ((node->is_object() || node->is_array()) && !node->empty() && random_.count(3) > 0) {
            auto it = node->begin();
            std::advance(it, random_.count(static_cast<int>(node->size()) - 1));
            node = &*it;
        }
        if (node->is_object() && random_.coin()) {
            if (!node->empty() && random_.coin()) {
                node->erase(node->begin());
            } else {
                (*node)[someKey()] = someValue();
            }
        } else {
            *node = someValue();
        }
    }

    // Writes the document with random layout; a member may come twice, once
    // with another value.
    void emit(const json& value, std::string& out) {
        const auto space = [&] { out += random_.pick<const char*>({"", "", " ", "\n  ", "\t\r\n"}); };
        space();
        if (value.is_object()) {
            out += '{';
            bool first = true;
            for (const auto& [key, member] : value.items()) {
                std::vector<json> values{member};
                if (random_.count(8) == 0) values.insert(values.begin() + random_.count(1), someValue());
                for (const json& one : values) {
                    if (!first) out += ',';
                    first = false;
                    emitString(key, out);
                    out += ':';
                    emit(one, out);
                }
            }
            out += '}';
        } else if (value.is_array()) {
            out += '[';
            for (std::size_t i = 0; i < value.size(); ++i) {
                if (i > 0) out += ',';
                emit(value[i], out);
            }
            out += ']';
        } else if (value.is_string()) {
            emitString(value.get<std::string>(), out);
        } else if (value.is_number_integer() && random_.count(4) == 0) {
            out += value.dump() + random_.pick<const char*>({".0", "e0", "E+00", ".000e1"});
        } else {
            out += value.dump();
        }
        space();
    }

    // Plain letters are sometimes written as escapes.
    void emitString(const std::string& text, std::string& out) {
        const std::string quoted = json(text).dump(-1, ' ', false, json::error_handler_t::replace);
        for (std::size_t i = 0; i < quoted.size(); ++i) {
            const char c = quoted[i];
            if (c == '\\') {
                out += quoted.substr(i, 2);
                ++i;
            } else if (std::isalpha(static_cast<unsigned char>(c)) && random_.count(5) == 0) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }

    void breakBytes(std::string& out) {
        const std::size_t at = random_.count(static_cast<int>(out.size()));
        const std::string piece =
            random_.pick<std::string>({"{",       "}",       "[",     "]",    "\"",
                                       ":",       ",",       "\\",    "0",    "-",
                                       ".",       "e",       "n",     "t",    std::string(1, '\0'),
                                       "\xEF",    "\xC3",    "\xFF",  "\x01", "\\ud800",
                                       "\\udc00", "\\u00e9", "1e400", "-0",   " "});
        switch (random_.count(2)) {
        case 0:
            out.insert(at, piece);
            break;
        case 1:
            out.erase(at, 1);
            break;
        default:
            out.resize(at);
        }
    }

    rondelix::testing::RandomConfigs& random_;
};

// Whether the reader takes the text as one valid value.
bool readsAsJson(std::string_view text) {
    JsonReader reader(text);
    reader.skip();
    return reader.finish();
}

} // namespace

// The streaming decoder against the documents it replaced: the same records,
// the same failures, for the factory file, texts at the edges of what JSON
// allows and thousands of mangled files and shared wheels.
TEST(ConfigDecoder, ReadsEveryTextAsTheDocumentTreeDid) {
    const std::string deep256 = std::string(255, '[') + std::string(255, ']');
    const std::string deep257 = std::string(256, '[') + std::string(256, ']');
    std::vector<std::string> texts{
        writeConfigFile(DefaultConfig::factoryConfig()),
        R"({"unknown":)" + deep256 + "}",
        R"({"unknown":)" + deep257 + "}",
        "\xEF\xBB\xBF{}",
        "\xEF\xBB{}",
        " \xEF\xBB\xBF{}",
        std::string("{}\0 trailing", 12),
        std::string("{\"version\":\0}", 13),
        "{} {}",
        "{\"version\":        !1}",
        "{\"version\":\t\r\n       \x01 1}",
        R"({"version":1e400})",
        R"({"unknown":1e-400,"version":-0})",
        R"({"version":-0.0,"wheels":[{"sliceCount":12.0}]})",
        R"({"version":99999999999999999999999})",
        R"({"version":-9223372036854775809})",
        R"({"version":18446744073709551615})",
        R"({"lastUsedWheelId":"\ud83d\ude80\u0000\/"})",
        R"({"lastUsedWheelId":"\ud83d"})",
        R"({"lastUsedWheelId":"\ude80"})",
        R"({"lastUsedWheelId":"\u12G4"})",
        "{\"lastUsedWheelId\":\"\xED\xA0\x80\"}",
        "{\"lastUsedWheelId\":\"tab\there\"}",
        R"({"version":2,"version":null,"wheels":[],"wheels":{}})",
        R"({"exportedIcons":{"a":3,"a":"x"},"general":{"launchAtLogin":1,"launchAtLogin":true}})",
        R"({"wheels":[{"slices":[{"action":{"later":{"b":1},"later":{"a":[2.50,{}]}}}]}]})",
        R"({"wheels":[{"slices":[{"action":{"later":{"b":1},"text":{"_0":"t"}}}]}]})",
        R"({"wheels":[{"slices":[{"action":{"later":{"b":1},"later":3}}]}]})",
        R"({"wheels":[{"slices":[{"action":{"text":{"_0":"a"},"text":3},"icon":{"auto":1,"auto":{}}}]}]})",
        R"({"bindings":[{"keyCodes":[1,"2"],"keyCode":4,"kind":"capsLock","keyCodes":null}]})",
        R"({"rondixVersion":1,"wheel":{"id":"w"},"icons":{},"rondixVersion":2.0})",
        R"({"rondixVersion":9223372036854775808,"wheel":{},"icons":{}})",
        "[1,]",
        R"({"a":1,})",
        "01",
        "1.",
        "tru",
        "",
    };
    rondelix::testing::RandomConfigs random(20261208);
    Mutator mutator(random);
    for (int i = 0; i < 3000; ++i) {
        if (i % 2 == 0) {
            texts.push_back(mutator.text(rondelix::testing::encode(random.config())));
        } else {
            texts.push_back(mutator.text({{"rondixVersion", 1},
                                          {"wheel", rondelix::testing::encode(random.wheel())},
                                          {"icons", {{"a", "b"}}}}));
        }
    }

    int decoded = 0;
    for (const std::string& text : texts) {
        const auto config = decodeConfigBytes(text);
        ASSERT_EQ(config, rondelix::testing::treeDecodeConfig(text)) << text;
        ASSERT_EQ(SharedWheel::decode(text), rondelix::testing::treeDecodeSharedWheel(text)) << text;
        const auto keys = TopLevelKeys::read(text);
        ASSERT_EQ(keys ? std::optional(keys->keys) : std::nullopt, rondelix::testing::treeTopLevelKeys(text))
            << text;
        ASSERT_EQ(readsAsJson(text), parseJson(text).has_value()) << text;
        decoded += config.has_value();
    }
    // Both kinds of outcome are well represented.
    EXPECT_GT(decoded, 300);
    EXPECT_LT(decoded, 1700);
}
