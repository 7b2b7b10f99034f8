// The list view with 100,000 rows against Qt's own way of showing them, in one run:
// filling (caption, three sub-items and an image, inside BeginUpdate/EndUpdate)
// against a QStandardItemModel in a QTreeView, and AlphaSort with scrolling to the end
// against a QSortFilterProxyModel sorting the same rows. The rows' texts are made
// before the clock runs (formatting them is neither side's work) and both sides share
// their text, so the allocator's statistics (mallinfo2) during the fill, less the
// strings' handles, give the memory per row beyond its strings.
#include "../graphics/ratioreporter.h"
#include "vcl/controls/listview.h"

#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTreeView>
#include <algorithm>
#include <malloc.h>
#include <random>

using namespace vcl;

namespace {

constexpr int Rows = 100'000;

using RowTexts = std::vector<std::array<QString, 4>>;

// The texts of every row: caption, size, date, type (each its own allocation).
const RowTexts& Texts()
{
    static const RowTexts texts = [] {
        RowTexts made;
        made.reserve(Rows);
        for (int i = 0; i < Rows; ++i)
            made.push_back({QStringLiteral("file %1.txt").arg(i * 7919 % Rows, 6, 10, QLatin1Char('0')),
                QStringLiteral("%1 KB").arg(i % 5000), QStringLiteral("2024-01-%1 10:11:12").arg(i % 28 + 1, 2),
                QStringLiteral("Type %1 document").arg(i % 7)});
        return made;
    }();
    return texts;
}

// What holding a row's four strings costs anyone: their handles. Their text is shared
// with the prepared texts, so the heap grows by the rest.
constexpr double StringHandleBytes = 4 * sizeof(QString);

size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

struct OurList {
    TImageList images{16, 16};
    TListView list{nullptr};
    OurList()
    {
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(Qt::darkYellow);
        images.AddImage(icon);
        list.SetViewStyle(vsReport);
        list.SetSmallImages(&images);
        for (int i = 0; i < 4; ++i)
            list.Columns()->Add()->SetWidth(100);
        list.SetBounds(0, 0, 600, 400);
        list.show();
    }
    void Fill()
    {
        list.Items()->BeginUpdate();
        for (const std::array<QString, 4>& texts : Texts()) {
            TListItem* item = list.Items()->Add();
            item->SetCaption(texts[0]);
            for (int s = 1; s < 4; ++s)
                item->SubItems().Add(texts[size_t(s)]);
            item->SetImageIndex(0);
        }
        list.Items()->EndUpdate();
        QCoreApplication::processEvents();
    }
};

struct PeerList {
    QStandardItemModel model;
    QTreeView view;
    QIcon icon;
    PeerList()
    {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::darkYellow);
        icon = QIcon(pixmap);
        model.setColumnCount(4);
        view.setModel(&model);
        view.setUniformRowHeights(true);
        view.resize(600, 400);
        view.show();
    }
    void Fill()
    {
        for (const std::array<QString, 4>& texts : Texts()) {
            QList<QStandardItem*> row;
            for (const QString& text : texts)
                row.append(new QStandardItem(text));
            row.front()->setIcon(icon);
            model.appendRow(row);
        }
        QCoreApplication::processEvents();
    }
};

void BM_ListViewFill(benchmark::State& state)
{
    double bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto ours = std::make_unique<OurList>();
        Texts();
        const size_t before = HeapInUse();
        state.ResumeTiming();
        ours->Fill();
        state.PauseTiming();
        bytes = double(HeapInUse() - before) / Rows;
        ours.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_row_beyond_strings"] = bytes - StringHandleBytes;
}
BENCHMARK(BM_ListViewFill)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StandardItemModelFill(benchmark::State& state)
{
    double bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto peer = std::make_unique<PeerList>();
        Texts();
        const size_t before = HeapInUse();
        state.ResumeTiming();
        peer->Fill();
        state.PauseTiming();
        bytes = double(HeapInUse() - before) / Rows;
        peer.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_row_beyond_strings"] = bytes - StringHandleBytes;
}
BENCHMARK(BM_StandardItemModelFill)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ListViewAlphaSort(benchmark::State& state)
{
    OurList ours;
    ours.Fill();
    std::mt19937 random(1);
    for (auto _ : state) {
        state.PauseTiming();
        ours.list.CustomSort([&](TListItem*, TListItem*, intptr_t) { return 0; }, 0);
        std::vector<int> keys(Rows);
        std::generate(keys.begin(), keys.end(), [&] { return int(random() % Rows); });
        ours.list.CustomSort([&](TListItem* a, TListItem* b, intptr_t) { return keys[size_t(a->Index())] - keys[size_t(b->Index())]; }, 0);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        ours.list.AlphaSort();
        ours.list.View()->scrollToBottom();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ListViewAlphaSort)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SortFilterProxySort(benchmark::State& state)
{
    PeerList peer;
    peer.Fill();
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&peer.model);
    // The list view's order: captions without regard to case.
    proxy.setSortCaseSensitivity(Qt::CaseInsensitive);
    peer.view.setModel(&proxy);
    for (auto _ : state) {
        state.PauseTiming();
        proxy.sort(-1);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        proxy.sort(0);
        peer.view.scrollToBottom();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SortFilterProxySort)->Unit(benchmark::kMillisecond)->Iterations(5);

// Owner data: heap growth per row when the count goes from 1,000,000 to 10,000,000
// and the view scrolls to the end (zero would be independent of the count).
void BM_OwnerDataTenMillion(benchmark::State& state)
{
    double perRow = 0;
    for (auto _ : state) {
        TListView list(nullptr);
        list.SetViewStyle(vsReport);
        list.SetOwnerData(true);
        list.OnData = [](TObject*, TListItem* item) { item->SetCaption(QStringLiteral("row %1").arg(item->Index())); };
        list.SetBounds(0, 0, 400, 300);
        list.show();
        list.Items()->SetCount(1'000'000);
        QCoreApplication::processEvents();
        const size_t before = HeapInUse();
        list.Items()->SetCount(10'000'000);
        list.View()->scrollToBottom();
        QCoreApplication::processEvents();
        perRow = double(HeapInUse() - before) / 9'000'000;
    }
    state.counters["heap_bytes_per_added_row"] = perRow;
}
BENCHMARK(BM_OwnerDataTenMillion)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithRatios(argc, argv,
        {{"BM_ListViewFill/iterations:3", "BM_StandardItemModelFill/iterations:3"},
            {"BM_ListViewAlphaSort/iterations:5", "BM_SortFilterProxySort/iterations:5"}});
}
