#pragma once
// Tests that need a second process start their own program again as a child that runs
// one test of the ChildRole suite, chosen by a filter, and talk to it line by line.
#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace qvtest {

// How long a child may take to start or to print a line.
inline constexpr int ChildDeadlineMs = 60000;

// Starts this program running the test ChildRole.<Role>, with Variable set to Argument
// and the variables of Extra added to the environment. The child's error output goes to
// this program's.
std::unique_ptr<QProcess> StartChildRole(const char* Role, const char* Variable, const QString& Argument,
    const QProcessEnvironment& Extra = {});

// Waits for the child to print Line (skipping the test framework's own output). When it
// ends or the deadline passes first, the failure says how the child ended and what it
// printed, so that a child that failed shows its own message.
::testing::AssertionResult WaitForLine(QProcess& Child, const QByteArray& Line);

// Prints Text on standard output at once (a child's message to its parent).
void Say(const char* Text);

} // namespace qvtest
