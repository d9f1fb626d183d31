#pragma once

#include <unistd.h>

namespace zav {

// Owns a descriptor from open and its kin; -1 for none.
class FdHandle {
public:
    explicit FdHandle(int fd) : fd_(fd) {}
    ~FdHandle() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FdHandle(const FdHandle&) = delete;
    FdHandle& operator=(const FdHandle&) = delete;
    bool Valid() const { return fd_ >= 0; }
    int Get() const { return fd_; }

private:
    int fd_;
};

}  // namespace zav
