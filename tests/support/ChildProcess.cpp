#include "support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace zav::test {
namespace {

// Strings for execve, built before fork: the child may only make async-signal-safe calls.
std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

std::vector<std::string> Environment(const std::vector<std::string>& additions) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string current = *entry;
        const std::string name = current.substr(0, current.find('='));
        bool replaced = false;
        for (const std::string& addition : additions) {
            replaced = replaced || addition.substr(0, addition.find('=')) == name;
        }
        if (!replaced) {
            entries.push_back(current);
        }
    }
    entries.insert(entries.end(), additions.begin(), additions.end());
    return entries;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const Options& options)
    : quietLimitMs_(options.quietLimitMs) {
    // A child that is gone must fail the write, not end the test program.
    signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> argumentStrings = {program};
    argumentStrings.insert(argumentStrings.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environmentStrings = Environment(options.environment);
    const std::vector<char*> argv = Pointers(argumentStrings);
    const std::vector<char*> envp = Pointers(environmentStrings);

    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        dup2(fromChild[1], STDERR_FILENO);
        if (options.group && setgid(*options.group) != 0) {
            _exit(126);
        }
        if (options.user && setuid(*options.user) != 0) {
            _exit(126);
        }
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    inputPipe_ = toChild[1];
    outputPipe_ = fromChild[0];
}

ChildProcess::~ChildProcess() {
    if (!status_) {
        kill(pid_, SIGKILL);
        int ignored = 0;
        while (waitpid(pid_, &ignored, 0) < 0 && errno == EINTR) {
        }
    }
    CloseInput();
    if (outputPipe_ >= 0) {
        close(outputPipe_);
    }
}

bool ChildProcess::ReadSome() {
    if (outputPipe_ < 0) {
        return false;
    }
    pollfd entry{outputPipe_, POLLIN, 0};
    int ready = 0;
    while ((ready = poll(&entry, 1, quietLimitMs_)) < 0 && errno == EINTR) {
    }
    if (ready <= 0) {
        return false;
    }
    char buffer[4096];
    ssize_t count = 0;
    while ((count = read(outputPipe_, buffer, sizeof buffer)) < 0 && errno == EINTR) {
    }
    if (count <= 0) {
        close(outputPipe_);
        outputPipe_ = -1;
        return false;
    }
    output_.append(buffer, static_cast<std::size_t>(count));
    return true;
}

bool ChildProcess::WaitForOutput(const std::string& text) {
    while (output_.find(text) == std::string::npos) {
        if (!ReadSome()) {
            return false;
        }
    }
    return true;
}

void ChildProcess::Write(const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = write(inputPipe_, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            throw std::runtime_error("cannot write to the child process");
        }
        written += static_cast<std::size_t>(count);
    }
}

void ChildProcess::CloseInput() {
    if (inputPipe_ >= 0) {
        close(inputPipe_);
        inputPipe_ = -1;
    }
}

void ChildProcess::Kill(int signal) {
    kill(pid_, signal);
}

int ChildProcess::Wait() {
    if (status_) {
        return *status_;
    }
    while (ReadSome()) {
    }
    if (outputPipe_ >= 0) {
        // Silent for the quiet limit with its output still open: it hangs.
        kill(pid_, SIGKILL);
    }
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error(std::string("waitpid failed: ") + std::strerror(errno));
        }
    }
    status_ = status;
    return status;
}

std::string DescribeStatus(int status) {
    if (WIFEXITED(status)) {
        return "exit " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return "signal " + std::to_string(WTERMSIG(status));
    }
    return "status " + std::to_string(status);
}

void RunToCompletion(const std::string& program, const std::vector<std::string>& arguments,
                     const ChildProcess::Options& options) {
    ChildProcess child(program, arguments, options);
    child.CloseInput();
    const int status = child.Wait();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::string command = program;
        for (const std::string& argument : arguments) {
            command += " " + argument;
        }
        throw std::runtime_error(command + " failed (" + DescribeStatus(status) +
                                 "): " + child.Output());
    }
}

}  // namespace zav::test
