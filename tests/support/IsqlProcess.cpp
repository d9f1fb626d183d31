#include "support/IsqlProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace zav::test {
namespace {

constexpr int kLimitMs = 10 * 60 * 1000;

// Waits for the process within the limit, killing it after; its wait status.
int WaitBounded(pid_t pid) {
    const int pidFd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidFd >= 0) {
        pollfd entry{pidFd, POLLIN, 0};
        int ready = 0;
        while ((ready = poll(&entry, 1, kLimitMs)) < 0 && errno == EINTR) {
        }
        if (ready == 0) {
            kill(pid, SIGKILL);
        }
        close(pidFd);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

}  // namespace

bool RunIsqlFb(const std::vector<std::string>& arguments, const std::string& outputPath) {
    std::vector<std::string> strings = {"isql-fb"};
    strings.insert(strings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& s : strings) {
        argv.push_back(s.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return false;
    }
    const int status = WaitBounded(pid);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace zav::test
