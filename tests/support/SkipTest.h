#pragma once

#include <QApplication>
#include <QTest>

#include <cstdio>

// The exit code of a test that cannot run here (not root, no daemon). CTest
// knows it through SKIP_RETURN_CODE and reports the test as skipped, never as
// passed.
constexpr int kSkipReturnCode = 77;

// QTEST_MAIN for a test that runs only where `whyNot()` gives no reason
// against it; otherwise it says why and ends as skipped before anything starts.
#define QTEST_MAIN_UNLESS(whyNot, TestObject)                                                                         \
    int main(int argc, char *argv[])                                                                                  \
    {                                                                                                                 \
        if (const char *reason = whyNot()) {                                                                          \
            std::fprintf(stderr, "SKIPPED: %s\n", reason);                                                           \
            return kSkipReturnCode;                                                                                   \
        }                                                                                                             \
        QApplication application(argc, argv);                                                                         \
        TestObject test;                                                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                    \
        return QTest::qExec(&test, argc, argv);                                                                       \
    }
