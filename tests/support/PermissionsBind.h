#pragma once

#include <functional>

namespace rondelix::testing {

// Runs the body in a child process that cannot bypass file permissions, even
// when the tests run as the superuser; true when it passed.
bool passesWhilePermissionsBind(const std::function<void()>& body);

} // namespace rondelix::testing
