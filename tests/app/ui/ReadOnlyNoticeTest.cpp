#include "app/ui/ReadOnlyNotice.h"

#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "support/StoreRig.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

// The line above a page that edits follows every reason changes stop
// reaching the file, also a save refused while the store stays writable.
TEST(ReadOnlyNotice, SaysWhyChangesStopReachingTheFileAndGoesWhenTheyReachItAgain) {
    testing::StoreRig rig;
    const std::string factoryFile = writeConfigFile(DefaultConfig::factoryConfig());
    testing::writeText(rig.paths.config, factoryFile);
    rig.largestFile = factoryFile.size() + 1000;
    auto store = rig.open();
    QWidget page;
    auto* notice = new ReadOnlyNotice(*store, &page);
    notice->setPageEdits(true);
    EXPECT_FALSE(notice->isVisibleTo(&page));

    store->editWheels("name", [](auto& wheels) { wheels[0].name = std::string(2000, 'x'); });
    ASSERT_TRUE(notice->isVisibleTo(&page));
    EXPECT_EQ(notice->text().toStdString(), store->saveRefusal()->sentence);
    EXPECT_TRUE(notice->text().startsWith("Your wheels have grown too large to save ("));

    store->undo();
    EXPECT_FALSE(notice->isVisibleTo(&page));
}

} // namespace
} // namespace rondelix
