#pragma once
// Runs the event loop until a condition holds or a generous deadline passes; acts on a
// widget (a modal dialog, a pop-up menu) once it shows.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <functional>

template <class Pred>
bool WaitUntil(Pred Done, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!Done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return Done();
}

// Runs Act once on the widget Find returns, as soon as it returns one (polled on the
// event loop, so it also works inside a modal loop); never waits a fixed time.
template <class Widget>
void WhenFound(std::function<Widget*()> Find, std::function<void(Widget*)> Act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, Find, Act] {
        if (Widget* found = Find()) {
            poll->stop();
            poll->deleteLater();
            Act(found);
        }
    });
    poll->start(10);
}
