#pragma once
// Runs the event loop until a condition holds or a generous deadline passes; acts on a
// widget (a modal dialog, a pop-up menu) once it shows.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <functional>

// True as soon as Done has held once: the condition is not asked again on the way out,
// where a state that changes on its own (threads starting and ending) could already
// have moved on and turn a condition that was met into a failure.
template <class Pred>
bool WaitUntil(Pred Done, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    do {
        if (Done())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    } while (!deadline.hasExpired());
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
