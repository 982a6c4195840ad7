// Debug output: kept in order, the oldest dropped beyond the limit, taken once.

#include <win/Win32.h>

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST (DebugOutput, KeepsTheLatestTextsInOrderUntilTaken)
{
    kestrune::win::takeDebugOutput();
    OutputDebugStringA ("first");
    OutputDebugStringA (nullptr);
    OutputDebugStringA ("third");
    EXPECT_EQ (kestrune::win::takeDebugOutput(), (std::vector<std::string> { "first", "", "third" }));
    EXPECT_TRUE (kestrune::win::takeDebugOutput().empty());

    const size_t given = kestrune::win::kDebugOutputKept + 3;
    for (size_t i = 0; i < given; ++i)
        OutputDebugStringA (std::to_string (i).c_str());
    const auto kept = kestrune::win::takeDebugOutput();
    ASSERT_EQ (kept.size(), kestrune::win::kDebugOutputKept);
    EXPECT_EQ (kept.front(), "3");
    EXPECT_EQ (kept.back(), std::to_string (given - 1));
}

} // namespace
