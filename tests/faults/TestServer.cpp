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

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
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

DelayingProxy::DelayingProxy(int serverPort, std::chrono::milliseconds delay)
    : serverPort_(serverPort), delay_(delay), port_(FreePort()) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    const int reuse = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    const sockaddr_in address = Loopback(port_);
    if (bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0) {
        close(listener_);
        throw std::runtime_error("the proxy cannot listen");
    }
    acceptor_ = std::thread([this] { Accept(); });
}

DelayingProxy::~DelayingProxy() {
    stopping_ = true;
    shutdown(listener_, SHUT_RDWR);  // ends the accept
    acceptor_.join();
    {
        const std::lock_guard lock(mutex_);
        for (const int socketFd : sockets_) {
            shutdown(socketFd, SHUT_RDWR);
        }
    }
    for (std::thread& pump : pumps_) {
        pump.join();
    }
    for (const int socketFd : sockets_) {
        close(socketFd);
    }
    close(listener_);
}

std::string DelayingProxy::RemoteName(const std::string& path) const {
    return "127.0.0.1/" + std::to_string(port_) + ":" + path;
}

void DelayingProxy::Accept() {
    for (;;) {
        const int client = accept(listener_, nullptr, nullptr);
        if (client < 0 || stopping_) {
            if (client >= 0) {
                close(client);
            }
            return;
        }
        const int server = socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in address = Loopback(serverPort_);
        connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        const std::lock_guard lock(mutex_);
        sockets_.insert(sockets_.end(), {client, server});
        pumps_.emplace_back([this, client, server] { Pump(client, server); });
        pumps_.emplace_back([this, client, server] { Pump(server, client); });
    }
}

void DelayingProxy::Pump(int from, int to) const {
    char buffer[65536];
    for (;;) {
        const ssize_t received = read(from, buffer, sizeof buffer);
        if (received <= 0) {
            shutdown(to, SHUT_WR);
            return;
        }
        std::this_thread::sleep_for(delay_);
        for (ssize_t sent = 0; sent < received;) {
            const ssize_t written = write(to, buffer + sent, static_cast<size_t>(received - sent));
            if (written <= 0) {
                return;
            }
            sent += written;
        }
    }
}

}  // namespace zav::test
