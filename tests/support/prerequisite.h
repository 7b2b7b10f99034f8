#pragma once
// For tests that need something from outside the test program: a server, a package, root
// for a low port. When it is missing the test calls QV_PREREQUISITE_MISSING("what, and
// why"). Under ./qv test (QV_REQUIRE_PREREQUISITES=1) and in CI (CI=true) that is a
// failure naming it, so a broken set-up never passes without coverage; a developer who
// runs one test program by hand gets a skip instead.
#include <gtest/gtest.h>

namespace qvtest {

bool PrerequisitesRequired();

} // namespace qvtest

// Ends the current test function (or SetUp) with a failure or a skip.
#define QV_PREREQUISITE_MISSING(What)                                                                   \
    do {                                                                                                 \
        if (::qvtest::PrerequisitesRequired())                                                           \
            FAIL() << "missing prerequisite: " << (What);                                                \
        else                                                                                             \
            GTEST_SKIP() << "missing prerequisite: " << (What)                                           \
                         << " (a failure under ./qv test and with CI=true)";                            \
    } while (false)
