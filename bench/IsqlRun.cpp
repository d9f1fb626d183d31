#include "bench/IsqlRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <stdexcept>

#include "db/values/SqlUtils.h"

extern char** environ;

namespace zav::bench {
namespace {

using Kind = TracedCall::Kind;

}  // namespace

std::string IsqlScript(const std::vector<TracedCall>& calls, const std::string& databasePath) {
    std::string script =
        "CONNECT " + SqlStr(databasePath) + " USER 'sysdba' PASSWORD 'quillbarn';\n";
    std::map<int, std::string> prepared;
    for (const TracedCall& call : calls) {
        switch (call.kind) {
            case Kind::Prepare:
                prepared[call.statement] = call.sql;
                break;
            case Kind::Execute:
            case Kind::Open:
                script += prepared.at(call.statement) + ";\n";
                break;
            case Kind::Commit:
                script += "COMMIT;\n";
                break;
            case Kind::Rollback:
                script += "ROLLBACK;\n";
                break;
            case Kind::CommitRetaining:
                script += "COMMIT RETAIN;\n";
                break;
            case Kind::RollbackRetaining:
                script += "ROLLBACK RETAIN;\n";
                break;
            default:
                break;
        }
    }
    return script;
}

void RunIsql(const std::string& scriptPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = "isql-fb";
    std::string quiet = "-q";
    std::string bail = "-b";
    std::string input = "-i";
    std::string file = scriptPath;
    char* arguments[] = {program.data(), quiet.data(), bail.data(),
                         input.data(),   file.data(),  nullptr};
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, "isql-fb", &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start isql-fb");
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("lost the isql-fb process");
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("isql-fb failed on " + scriptPath);
    }
}

}  // namespace zav::bench
