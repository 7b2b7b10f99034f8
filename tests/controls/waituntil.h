#pragma once
// Runs the event loop until a condition holds or a generous deadline passes.
#include <QCoreApplication>
#include <QDeadlineTimer>

template <class Pred>
bool WaitUntil(Pred Done, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!Done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return Done();
}
