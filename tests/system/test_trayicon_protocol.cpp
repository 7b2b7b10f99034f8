// The tray icon through the real StatusNotifierItem protocol: trayicon_protocol runs
// under Xvfb with the xcb platform, on a private session bus with a mock watcher, and
// writes the events each desktop request gave; this test checks them.
#include "support/prerequisite.h"
#include "support/screenshot.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(TrayIconProtocol, DesktopRequestsBecomeEventsInOrder)
{
    const qvtest::TScreenshotRun run = qvtest::RunScreenshotProgram("trayicon_protocol", "trayicon_protocol.out");
    if (run.XvfbMissing)
        QV_PREREQUISITE_MISSING("xvfb-run (Debian package xvfb)");
    if (run.Error.contains("missing prerequisite"))
        QV_PREREQUISITE_MISSING(run.Error.trimmed().toStdString());
    ASSERT_TRUE(run.Error.isEmpty()) << run.Error.toStdString();
    QFile log(run.Output + ".log");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString report = QString::fromUtf8(log.readAll());
    // Activate: a left press and release; ContextMenu: a right one with the menu;
    // SecondaryActivate: a middle one. A second Activate within the double-click time is
    // a double click and a release, which runs the default item unless vetoed.
    const QString expected = "== active before a watcher\n"
                             "active 1 shown 0\n"
                             "registered 1 shown 1\n"
                             "== active set twice\n"
                             "registrations 1\n"
                             "== activate\n"
                             "down left\nclick\nup left\n"
                             "== context menu\n"
                             "down right\nrightclick\nrightmenu\npopup\nup right\n"
                             "== secondary activate\n"
                             "down middle\nmidclick\nup middle\n"
                             "== double activate, no default item\n"
                             "down left\nclick\nup left\ndblclick\nup left\n"
                             "== double activate, default item\n"
                             "down left\nclick\nup left\ndefault item\nup left\n"
                             "== double activate, vetoed\n"
                             "down left\nclick\nup left\nasked\nup left\n"
                             "== inactive and active again\n"
                             "registered again 1\n"
                             "== end\n"
                             "== done\n";
    EXPECT_EQ(report, expected);
}

} // namespace
