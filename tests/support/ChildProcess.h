#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace zav::test {

// A program (found on the PATH unless named with a folder) run in a process of its own, with a pipe
// to its standard input and one from its standard output (standard error goes there too). The
// process is killed and reaped when the object goes, so a failed test leaves nothing running.
class ChildProcess {
public:
    struct Options {
        // "NAME=value" entries added to this process's environment.
        std::vector<std::string> environment;
        // Run as this user and group instead of ours (needs root).
        std::optional<uid_t> user;
        std::optional<gid_t> group;
        // How long the output may stay silent before the child counts as hung.
        int quietLimitMs = 60 * 1000;
    };

    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const Options& options);
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments)
        : ChildProcess(program, arguments, Options{}) {}
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads the output until it contains text; false when the output ends first or stays silent
    // for the quiet limit (a hang is a failure, never a wait without end).
    bool WaitForOutput(const std::string& text);
    // Writes to the child's standard input.
    void Write(const std::string& text);
    // Closes the child's standard input.
    void CloseInput();
    void Kill(int signal);
    // Reads the rest of the output and waits for the end; the wait status. Gives up (and kills
    // the child) when its output stays silent for the quiet limit.
    int Wait();
    const std::string& Output() const { return output_; }
    pid_t Pid() const { return pid_; }

private:
    // Reads what is there; false at the end of the output or when the quiet limit passes without
    // any.
    bool ReadSome();

    int quietLimitMs_;
    pid_t pid_ = -1;
    int inputPipe_ = -1;
    int outputPipe_ = -1;
    std::string output_;
    std::optional<int> status_;
};

// The one-line description of a wait status for test messages ("exit 1", "signal 9").
std::string DescribeStatus(int status);

// Runs the program to its end with empty input; throws with its output when the end is not exit 0.
void RunToCompletion(const std::string& program, const std::vector<std::string>& arguments,
                     const ChildProcess::Options& options = {});

}  // namespace zav::test
