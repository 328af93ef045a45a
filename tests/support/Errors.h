#pragma once
#include "base/PictorError.h"

#include <gtest/gtest.h>

namespace pictor::test {

// The TPictorError that run throws; a test failure, and an empty error, when it throws none.
template <class F>
TPictorError ErrorOf(F&& run)
{
    try {
        run();
    } catch (const TPictorError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return TPictorError("", "");
}

} // namespace pictor::test
