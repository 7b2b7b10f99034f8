// `cmake --install` of this build into a temporary prefix puts the library, its headers,
// the CMake package and the Designer plugin in place: a small project outside the build
// finds the package with find_package(QvKit), builds against the library and the
// designer widget classes, and runs, loading the installed plugin.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Runs Program with Arguments to its end (no time limit: CTest's own timeout stops a
// build that hangs); the output on failure names what went wrong.
QString RunToEnd(const QString& Program, const QStringList& Arguments, bool& Ok)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(Program, Arguments);
    Ok = process.waitForStarted(-1) && process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    return QString::fromLocal8Bit(process.readAll());
}

void Write(const QString& Path, const QString& Text)
{
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << Path.toStdString();
    file.write(Text.toUtf8());
}

const char* const ConsumerCMake = R"(cmake_minimum_required(VERSION 3.25)
project(QvKitConsumer CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(QvKit 0.1 REQUIRED)
add_executable(consumer main.cpp)
target_link_libraries(consumer PRIVATE QvKit::QvKit QvKit::DesignerWidgets)
)";

// Makes a component through its designer class, sets a property as uic-made code does,
// and loads the plugin named on the command line.
const char* const ConsumerMain = R"(#include "qvdesigner/widgets.h"
#include <QApplication>
#include <QPluginLoader>
#include <cstdio>
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Qvdesigner::TqvCoolLabel label;
    label.setCaption(QStringLiteral("installed"));
    QPluginLoader plugin(QString::fromLocal8Bit(argv[1]));
    QObject* collection = plugin.instance();
    std::printf("caption=%s plugin=%s\n", qPrintable(label.Caption()),
        collection != nullptr ? collection->metaObject()->className() : qPrintable(plugin.errorString()));
    return 0;
}
)";

TEST(Install, AConsumerProjectBuildsAgainstTheInstalledPackage)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString prefix = work.filePath(QStringLiteral("prefix"));
    bool ok = false;
    const QString installed = RunToEnd(QStringLiteral(QV_CMAKE), {"--install", QStringLiteral(QV_BUILD_DIR), "--prefix", prefix}, ok);
    ASSERT_TRUE(ok) << installed.toStdString();

    const QString plugin = prefix + QStringLiteral("/" QV_PLUGIN_INSTALL_DIR "/libqvkitdesigner.so");
    for (const QString& file : {QStringLiteral("/" QV_LIB_INSTALL_DIR "/libQvKit.so"),
             QStringLiteral("/" QV_LIB_INSTALL_DIR "/libQvKitDesignerWidgets.so"),
             QStringLiteral("/" QV_LIB_INSTALL_DIR "/cmake/QvKit/QvKitConfig.cmake"),
             QStringLiteral("/" QV_LIB_INSTALL_DIR "/cmake/QvKit/QvKitTargets.cmake"),
             QStringLiteral("/include/qvkit/vcl/core/classes.h"), QStringLiteral("/include/qvkit/layout/qvsplitterwindow.h"),
             QStringLiteral("/include/qvkit/qvdesigner/widgets.h"), QStringLiteral("/" QV_PLUGIN_INSTALL_DIR "/libqvkitdesigner.so")})
        EXPECT_TRUE(QFile::exists(prefix + file)) << file.toStdString();

    const QString source = work.filePath(QStringLiteral("consumer"));
    ASSERT_TRUE(QDir().mkpath(source));
    Write(source + QStringLiteral("/CMakeLists.txt"), QString::fromUtf8(ConsumerCMake));
    Write(source + QStringLiteral("/main.cpp"), QString::fromUtf8(ConsumerMain));
    const QString build = work.filePath(QStringLiteral("consumer-build"));
    const QString configured = RunToEnd(QStringLiteral(QV_CMAKE), {"-S", source, "-B", build, "-DCMAKE_PREFIX_PATH=" + prefix}, ok);
    ASSERT_TRUE(ok) << configured.toStdString();
    const QString built = RunToEnd(QStringLiteral(QV_CMAKE), {"--build", build}, ok);
    ASSERT_TRUE(ok) << built.toStdString();
    const QString output = RunToEnd(build + QStringLiteral("/consumer"), {plugin}, ok);
    ASSERT_TRUE(ok) << output.toStdString();
    // Qt's own notes on the error channel may come first.
    EXPECT_TRUE(output.contains(QStringLiteral("caption=installed plugin=Qvdesigner::TWidgetCollection\n")))
        << output.toStdString();
}

} // namespace
