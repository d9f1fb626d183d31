#include "faults/TestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "support/ChildProcess.h"

namespace zav::test {
namespace {

constexpr const char* kServerBinary = "/usr/sbin/firebird";

std::string Script() {
    return std::string(ZAV_SOURCE_DIR) + "/scripts/fb-test-server.sh";
}

// A port no one listens on now: the kernel's choice for a socket bound to port 0.
int FreePort() {
    const int socketFd = socket(AF_INET, SOCK_STREAM, 0);
    if (socketFd < 0) {
        throw std::runtime_error("socket failed");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(socketFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(socketFd);
        throw std::runtime_error("cannot find a free port");
    }
    close(socketFd);
    return ntohs(address.sin_port);
}

void RunScript(const std::vector<std::string>& arguments) {
    std::vector<std::string> all = {Script()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    RunToCompletion("/bin/bash", all);
}

}  // namespace

bool TestServer::Installed() {
    return access(kServerBinary, X_OK) == 0;
}

TestServer::TestServer(std::string folder) : folder_(std::move(folder)), port_(FreePort()) {}

TestServer::~TestServer() {
    if (running_) {
        try {
            Stop("KILL");
        } catch (...) {
            // Nothing more to do in a destructor; the test has reported what went wrong.
        }
    }
}

void TestServer::Start() {
    RunScript({"start", folder_, std::to_string(port_)});
    running_ = true;
}

void TestServer::Stop(const std::string& signal) {
    RunScript({"stop", folder_, signal});
    running_ = false;
}

void TestServer::Freeze(bool frozen) {
    pid_t pid = 0;
    std::ifstream(folder_ + "/server.pid") >> pid;
    if (pid <= 0 || kill(pid, frozen ? SIGSTOP : SIGCONT) != 0) {
        throw std::runtime_error("cannot signal the server");
    }
}

std::string TestServer::RemoteName(const std::string& path) const {
    return "127.0.0.1/" + std::to_string(port_) + ":" + path;
}

}  // namespace zav::test
