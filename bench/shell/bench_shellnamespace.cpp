// Listing a folder of 100,000 files with name, attributes, type name and icon index:
// the namespace (EnumObjects, GetDisplayNameOf, GetAttributesOf, SHGetFileInfo) against
// QDirIterator + QMimeDatabase (by extension) + QFileIconProvider, in one run.
#include "platform/shell/shellfileinfo.h"
#include "platform/shell/shellfolder.h"
#include "shell/pidlhelp.h"
#include "../graphics/ratioreporter.h"
#include "samplefolder.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileIconProvider>
#include <QMimeDatabase>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace platform::shell;

namespace {

constexpr int FileCount = 100000;

QString Folder()
{
    return samplefolder::SampleFolder(FileCount);
}

void BM_Namespace(benchmark::State& state)
{
    IShellFolder* desktop = nullptr;
    SHGetDesktopFolder(&desktop);
    LPITEMIDLIST folderList = nullptr;
    Pidlhelp::GetPIDLFromPath(nullptr, desktop, Folder(), folderList);
    void* bound = nullptr;
    desktop->BindToObject(folderList, nullptr, IID_IShellFolder, &bound);
    auto* folder = static_cast<IShellFolder*>(bound);
    int64_t icons = 0;
    for (auto _ : state) {
        IEnumIDList* enumerator = nullptr;
        folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, &enumerator);
        LPITEMIDLIST item = nullptr;
        while (enumerator->Next(1, &item, nullptr) == S_OK) {
            benchmark::DoNotOptimize(Pidlhelp::GetDisplayName(folder, item, Pidlhelp::dntInFolder));
            ULONG attributes = SFGAO_FOLDER | SFGAO_HIDDEN | SFGAO_LINK | SFGAO_CANRENAME;
            folder->GetAttributesOf(1, const_cast<const LPCITEMIDLIST*>(&item), &attributes);
            LPITEMIDLIST absolute = Pidlhelp::ConcatPIDLs(folderList, item);
            SHFILEINFO info;
            SHGetFileInfo(reinterpret_cast<const char*>(absolute), 0, &info, sizeof info,
                          SHGFI_PIDL | SHGFI_TYPENAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
            icons += info.iIcon;
            Pidlhelp::FreePIDL(absolute);
            Pidlhelp::FreePIDL(item);
        }
        enumerator->Release();
    }
    benchmark::DoNotOptimize(icons);
    Pidlhelp::FreePIDL(folderList);
    folder->Release();
    desktop->Release();
    state.SetItemsProcessed(state.iterations() * FileCount);
}

void BM_QtPeer(benchmark::State& state)
{
    const QMimeDatabase mime;
    const QFileIconProvider icons;
    int64_t seen = 0;
    for (auto _ : state) {
        QDirIterator it(Folder(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            benchmark::DoNotOptimize(info.fileName());
            benchmark::DoNotOptimize(info.isDir() || info.isSymLink() || info.isHidden() || info.isWritable());
            benchmark::DoNotOptimize(mime.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension).comment());
            seen += icons.icon(info).cacheKey() != 0;
        }
    }
    benchmark::DoNotOptimize(seen);
    state.SetItemsProcessed(state.iterations() * FileCount);
}

BENCHMARK(BM_Namespace)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_QtPeer)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Folder();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.Time("BM_Namespace");
    const double peer = reporter.Time("BM_QtPeer");
    if (ours > 0)
        std::printf("Qt peer / namespace processor time ratio: %.2f (goal: at least 2)\n", peer / ours);
    benchmark::Shutdown();
    return 0;
}
