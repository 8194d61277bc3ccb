#pragma once

#include "model/Config.h"

namespace rondelix {

// Upgrades a configuration of an older version, in memory, to
// Config::currentVersion by running the upgrade steps after its version in
// order, then sanitizes it. Returns true when the stored version was older
// (the version changed, whether or not a step found anything); false, with
// nothing touched, for the current version or a newer one. Saves and logs
// nothing; the caller decides whether to save.
bool migrateIfNeeded(Config& config);

// One upgrade step, 2 to Config::currentVersion, as the driver runs it: the
// step that brings a configuration up to that version. Other numbers do
// nothing. It neither changes `version` nor sanitizes.
void applyMigrationStep(int step, Config& config);

} // namespace rondelix
