#pragma once

#include <stdexcept>
#include <string>

namespace zav {

// Every failure the tool reports is one of these; what() is the German text the user sees.
class ZavError : public std::runtime_error {
public:
    explicit ZavError(const std::string& message) : std::runtime_error(message) {}
};

// Settings store and file system.
class PlatformError : public ZavError {
public:
    using ZavError::ZavError;
};

// A check of the tool's own that the user's input failed (a bad path, a wrong year).
class UserInputError : public ZavError {
public:
    using ZavError::ZavError;
};

}  // namespace zav
