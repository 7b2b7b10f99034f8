// Checks on the source tree as a whole, read at test time: every unit of the package is
// in the unit start-up table, and no two src/ folders include each other (directly or
// round a longer loop).
#include "support/testsupport.h"
#include "vcl/core/unitstartup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>

namespace {

QString SourceRoot()
{
    return QDir::cleanPath(qvtest::SourceFile(QStringLiteral("../../src")));
}

QString ReadText(const QString& Path)
{
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The folders of the framework and the platform services hold no units of the package;
// the package loader runs the units' start-up and is no unit itself.
bool OutsideThePackageUnits(const QString& RelativePath)
{
    return RelativePath.startsWith(u"vcl/") || RelativePath.startsWith(u"platform/")
           || RelativePath == u"package/package.h";
}

// A unit is a header with a source file beside it that declares the namespace named after
// the file ("imaging/gifmap.h" declares namespace Gifmap); helpers such as the byte
// reader live in a shared namespace and are no units.
QStringList UnitsInSourceTree()
{
    QStringList units;
    const QDir root(SourceRoot());
    QDirIterator it(root.path(), {QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString header = it.next();
        const QString relative = root.relativeFilePath(header);
        QString name = QFileInfo(header).completeBaseName();
        name[0] = name[0].toUpper();
        const QRegularExpression declaresUnit(QStringLiteral("^namespace %1 \\{").arg(name),
                                              QRegularExpression::MultilineOption);
        if (!OutsideThePackageUnits(relative) && QFile::exists(header.chopped(2) + QStringLiteral(".cpp"))
            && declaresUnit.match(ReadText(header)).hasMatch())
            units << name;
    }
    units.sort();
    return units;
}

using TFolderGraph = QMap<QString, QSet<QString>>;

// Folder (relative to src/) -> the folders its files include from.
TFolderGraph IncludeGraph()
{
    static const QRegularExpression include(QStringLiteral("^#include \"(.+)/[^/\"]+\""),
                                            QRegularExpression::MultilineOption);
    TFolderGraph graph;
    const QDir root(SourceRoot());
    QDirIterator it(root.path(), {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString folder = root.relativeFilePath(QFileInfo(file).path());
        for (const auto& match : include.globalMatch(ReadText(file)))
            if (match.captured(1) != folder)
                graph[folder].insert(match.captured(1));
    }
    return graph;
}

// The first loop found by a depth-first walk, as "a -> b -> a"; empty when there is none.
QString FindCycle(const TFolderGraph& Graph)
{
    QMap<QString, bool> done; // false while on the walk's path
    QStringList path;
    std::function<QString(const QString&)> visit = [&](const QString& folder) -> QString {
        if (done.contains(folder))
            return done[folder] ? QString() : (path.mid(path.indexOf(folder)) << folder).join(u" -> ");
        done[folder] = false;
        path << folder;
        for (const QString& used : Graph.value(folder))
            if (const QString cycle = visit(used); !cycle.isEmpty())
                return cycle;
        path.removeLast();
        done[folder] = true;
        return {};
    };
    for (const QString& folder : Graph.keys())
        if (const QString cycle = visit(folder); !cycle.isEmpty())
            return cycle;
    return {};
}

} // namespace

TEST(SourceLayout, EveryUnitOfThePackageRegistersItsStartUp)
{
    const QStringList units = UnitsInSourceTree();
    // A guard against a scan that finds nothing (a moved tree) and so proves nothing.
    ASSERT_TRUE(units.contains(QStringLiteral("Gifmap")) && units.contains(QStringLiteral("Partthreereg"))) << units.join(u' ').toStdString();
    QStringList registered;
    for (const vcl::TPackageUnitEntry& entry : vcl::GetPackageInfoTable().UnitInfo)
        registered << entry.Name;
    registered.sort();
    EXPECT_EQ(registered, units);
}

TEST(SourceLayout, NoFolderIncludesFromAFolderThatIncludesIt)
{
    const TFolderGraph graph = IncludeGraph();
    ASSERT_TRUE(graph.value(QStringLiteral("package")).contains(QStringLiteral("gradient")));
    EXPECT_EQ(FindCycle(graph), QString());

    // The walk itself finds a loop through three folders.
    const TFolderGraph looped{{"a", {"b"}}, {"b", {"c"}}, {"c", {"a"}}};
    EXPECT_EQ(FindCycle(looped), QStringLiteral("a -> b -> c -> a"));
}
