// Whether a call fails the way a program is told about bad arguments: a
// TFailure with the expected message and a reason that says what was wrong.
#pragma once

#include <vesk/runtime/failure.h>

#include <gtest/gtest.h>

#include <string>

namespace vesk::test {

template <class Call>
::testing::AssertionResult FailsWith(Call&& call, const std::string& message) {
    try {
        call();
    } catch (const TFailure& failure) {
        if (failure.Message() != message) return ::testing::AssertionFailure() << "raised \"" << failure.Message() << "\"";
        if (failure.Reason().empty()) return ::testing::AssertionFailure() << "raised \"" << message << "\" without a reason";
        return ::testing::AssertionSuccess() << failure.Reason();
    }
    return ::testing::AssertionFailure() << "raised nothing";
}

}  // namespace vesk::test
