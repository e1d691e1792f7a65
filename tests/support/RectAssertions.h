#pragma once
#include <gtest/gtest.h>
#include <windows.h>

// A rectangle's four sides as expected, or what it had instead.
inline ::testing::AssertionResult RectIs(const RECT& actual, int l, int t, int r, int b)
{
    if (actual.left == l && actual.top == t && actual.right == r && actual.bottom == b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << actual.left << "," << actual.top << "," << actual.right << ","
                                         << actual.bottom << ") want (" << l << "," << t << "," << r << "," << b << ")";
}
