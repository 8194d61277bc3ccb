#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "store/SharedWheel.h"
#include "support/RandomConfigs.h"
#include "support/TreeEncoder.h"

#include <gtest/gtest.h>

using namespace rondelix;
using nlohmann::json;

namespace {

std::string referenceSharedWheelBytes(const SharedWheel& shared) {
    const json document{{"rondixVersion", shared.rondixVersion},
                        {"wheel", rondelix::testing::encode(shared.wheel)},
                        {"icons", shared.icons}};
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

} // namespace

TEST(ConfigWriter, WritesTheSameBytesAsTheDocumentTreeDid) {
    const Config factory = DefaultConfig::factoryConfig();
    ASSERT_EQ(writeConfigFile(factory), rondelix::testing::referenceFileBytes(factory));
    ASSERT_EQ(writeConfigFile(Config{}), rondelix::testing::referenceFileBytes(Config{}));

    rondelix::testing::RandomConfigs generate(20261207);
    for (int i = 0; i < 3000; ++i) {
        const Config config = generate.config();
        const std::string written = writeConfigFile(config);
        ASSERT_EQ(written, rondelix::testing::referenceFileBytes(config)) << "configuration " << i;

        SharedWheel shared;
        shared.wheel = generate.wheel();
        shared.icons = {{"a.png", "QUJD"}};
        ASSERT_EQ(shared.fileBytes(), referenceSharedWheelBytes(shared)) << "shared wheel " << i;
    }
}
