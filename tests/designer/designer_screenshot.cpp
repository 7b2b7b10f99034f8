// Run as "designer_screenshot OUTPUT.png DESIGNER PLUGIN_PATH LOG CONFIG_DIR" on an X
// display: starts Qt Designer with the plugin on its plugin path and a settings folder
// of its own (no new-form dialog; Qt's own widget-box groups and the plugin's largest
// closed, so all of the plugin's groups are in view), waits until Designer's window has
// appeared and stopped changing, saves the screen and Designer's plugin log. Exit code 0,
// 1 on failure, 2 for bad usage.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <cstdio>

namespace {

enum Timing {
    StartDeadlineMs = 90000,
    PollMs = 250,
    // Grabs in a row that must be equal before the screen counts as settled.
    SettledGrabs = 4,
};

// Designer's groups as its own widget box file names them, and the plugin's three largest
// groups: closed, they leave room for all eight of the plugin's group headers.
const QStringList ClosedGroups = {"Layouts", "Spacers", "Buttons", "Item Views (Model-Based)",
    "Item Widgets (Item-Based)", "Containers", "Input Widgets", "Display Widgets", "Velnor Software ZiruRode",
    "Velnor Software Misc", "Velnor Software Win32"};

void WriteDesignerSettings(const QString& ConfigDir)
{
    QSettings settings(ConfigDir + QStringLiteral("/QtProject/Designer.conf"), QSettings::IniFormat);
    settings.setValue("newFormDialog/ShowOnStartup", false);
    settings.setValue("WidgetBox/Closed categories", ClosedGroups);
}

bool IsUniform(const QImage& Shot)
{
    const QRgb first = Shot.pixel(0, 0);
    for (int y = 0; y < Shot.height(); y += 7)
        for (int x = 0; x < Shot.width(); x += 7)
            if (Shot.pixel(x, y) != first)
                return false;
    return true;
}

QImage GrabScreen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// Waits until the screen shows something and has not changed for SettledGrabs grabs.
bool WaitUntilSettled(QProcess& Designer, QImage& Shot)
{
    QDeadlineTimer deadline(StartDeadlineMs);
    int equal = 0;
    while (!deadline.hasExpired() && Designer.state() == QProcess::Running) {
        QDeadlineTimer poll(PollMs);
        while (!poll.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, PollMs);
        const QImage next = GrabScreen();
        equal = (!IsUniform(next) && next == Shot) ? equal + 1 : 0;
        Shot = next;
        if (equal >= SettledGrabs)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 6) {
        std::fprintf(stderr, "usage: designer_screenshot OUTPUT.png DESIGNER PLUGIN_PATH LOG CONFIG_DIR\n");
        return 2;
    }
    const QStringList args = app.arguments();
    QDir(args[5]).removeRecursively();
    WriteDesignerSettings(args[5]);

    QProcess designer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_PLUGIN_PATH", args[3]);
    env.insert("QT_DEBUG_PLUGINS", "1");
    env.insert("XDG_CONFIG_HOME", args[5]);
    env.insert("HOME", args[5]);
    designer.setProcessEnvironment(env);
    designer.setProcessChannelMode(QProcess::MergedChannels);
    designer.start(args[2], QStringList());
    QImage shot;
    const bool settled = designer.waitForStarted() && WaitUntilSettled(designer, shot);
    designer.kill();
    designer.waitForFinished();
    QFile log(args[4]);
    if (log.open(QIODevice::WriteOnly))
        log.write(designer.readAll());
    if (!settled) {
        std::fprintf(stderr, "designer_screenshot: Designer did not show a settled window (log in %s)\n", qPrintable(args[4]));
        return 1;
    }
    return shot.save(args[1]) ? 0 : 1;
}
