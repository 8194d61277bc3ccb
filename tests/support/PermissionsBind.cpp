#include "support/PermissionsBind.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rondelix::testing {

bool passesWhilePermissionsBind(const std::function<void()>& body) {
    const pid_t child = fork();
    if (child < 0) {
        ADD_FAILURE() << "no process to drop the permissions in: " << std::strerror(errno);
        return false;
    }
    if (child != 0) {
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2]{};
    syscall(SYS_capget, &header, caps);
    for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        caps[cap / 32].effective &= ~(1u << (cap % 32));
    syscall(SYS_capset, &header, caps);
    body();
    _exit(::testing::Test::HasFailure() ? 1 : 0);
}

} // namespace rondelix::testing
