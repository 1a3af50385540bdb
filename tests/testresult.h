#pragma once
// Checks of a core::Result in a test: the message of an unexpected error shows in the failure.

#include "core/result.h"

#include <gtest/gtest.h>

#include <string>

namespace hmf::test {

// EXPECT_TRUE(succeeded(table.parse(text, "f")));
template <typename R>::testing::AssertionResult succeeded(const R& result)
{
    if (result)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << result.error().message();
}

// The error of a result expected to fail; a success is a test failure (and an empty error).
template <typename R> core::Error failure(const R& result)
{
    if (result) {
        ADD_FAILURE() << "succeeded where an error was expected";
        return {};
    }
    return result.error();
}

// The error's message, or empty for a success: a check's refusal compared with its text.
template <typename R> std::string messageOf(const R& result)
{
    return result ? std::string() : result.error().message();
}

} // namespace hmf::test
