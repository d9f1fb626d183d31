#pragma once

#include <gtest/gtest.h>

#include <string>

namespace zav::test {

// Runs call and checks that it throws an E (or a subclass) with exactly the given message.
template <typename E, typename Call>
::testing::AssertionResult ThrowsWithMessage(Call&& call, const std::string& message) {
    try {
        call();
    } catch (const E& error) {
        if (error.what() == message) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "message was \"" << error.what() << "\"";
    } catch (const std::exception& other) {
        return ::testing::AssertionFailure() << "other exception: \"" << other.what() << "\"";
    }
    return ::testing::AssertionFailure() << "nothing thrown";
}

}  // namespace zav::test
