// qvgallery without a display: one line naming the ways on, exit 1, and no Qt
// platform-plugin report. (Its screenshots are tested in tests/gallery.)
#include "programs.h"

#include <gtest/gtest.h>

TEST(Qvgallery, WithoutADisplaySaysHowToGoOn)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    const qvtest::TProgramRun run = qvtest::RunProgram(qvprograms::Qvgallery, {}, {}, environment);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, QString());
    EXPECT_EQ(run.Err.count(u'\n'), 1) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.startsWith(u"qvgallery: no display")) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(u"xvfb-run ./qv run")) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(u"qvgallery --screenshots DIR")) << run.Err.toStdString();
}

TEST(Qvgallery, RefusesStrayArguments)
{
    const qvtest::TProgramRun run = qvtest::RunProgram(qvprograms::Qvgallery, {QStringLiteral("pages")});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Err.startsWith(u"qvgallery: unexpected argument \"pages\"\nUsage:")) << run.Err.toStdString();
}
