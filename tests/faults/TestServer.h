#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zav::test {

// A private Firebird server on 127.0.0.1 and a free port, run by scripts/fb-test-server.sh with
// its configuration, security database and lock files in a folder of the test's own. Stopped when
// the object goes.
class TestServer {
public:
    // Whether the server binary is installed (Debian package firebird3.0-server).
    static bool Installed();

    explicit TestServer(std::string folder);
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    // Returns once the server accepts connections; throws when it does not start.
    void Start();
    // Stops it with the signal ("TERM" lets it shut down, "KILL" does not) and waits until it is
    // gone.
    void Stop(const std::string& signal);

    // Stops the server's process where it is (SIGSTOP), or lets it go on (SIGCONT): a server that
    // does not answer but keeps its connections.
    void Freeze(bool frozen);

    // The database name that reaches the file through this server.
    std::string RemoteName(const std::string& path) const;
    int Port() const { return port_; }

private:
    std::string folder_;
    int port_ = 0;
    bool running_ = false;
};

// A TCP proxy on the loopback address in front of a server's port that holds each packet for the
// delay, each way: a server across a slow network.
class DelayingProxy {
public:
    DelayingProxy(int serverPort, std::chrono::milliseconds delay);
    ~DelayingProxy();
    DelayingProxy(const DelayingProxy&) = delete;
    DelayingProxy& operator=(const DelayingProxy&) = delete;

    // The database name that reaches the file through the proxy.
    std::string RemoteName(const std::string& path) const;

private:
    void Accept();
    void Pump(int from, int to) const;

    int serverPort_;
    std::chrono::milliseconds delay_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_ = false;
    std::mutex mutex_;
    std::vector<int> sockets_;
    std::vector<std::thread> pumps_;
    std::thread acceptor_;  // last: it starts once everything above is set
};

}  // namespace zav::test
