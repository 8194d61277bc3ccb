// How long a test waits for what it needs to see before it gives up. A wait
// ends as soon as it sees what it waits for, so only a failing test spends
// all of it; a machine busy with other work can take seconds over one step.

#pragma once

namespace rondelix::testing {

constexpr double patience = 30;

} // namespace rondelix::testing
