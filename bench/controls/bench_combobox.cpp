// A combo box of 100,000 entries dropping down (and being filled), ours against
// QComboBox with the same entries, on an offscreen display.
#include "vcl/controls/combobox.h"
#include "vcl/controls/forms.h"

#include "../graphics/ratioreporter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>

namespace {

constexpr int ItemCount = 100000;

const QStringList& Entries()
{
    static const QStringList entries = [] {
        QStringList list;
        for (int i = 0; i < ItemCount; ++i)
            list << QStringLiteral("Entry number %1").arg(i);
        return list;
    }();
    return entries;
}

void OursFill(benchmark::State& state)
{
    for (auto _ : state) {
        vcl::TComboBox combo(nullptr);
        combo.Items()->BeginUpdate();
        for (const QString& entry : Entries())
            combo.Items()->Add(entry);
        combo.Items()->EndUpdate();
        benchmark::DoNotOptimize(combo.Items()->Count());
    }
}
BENCHMARK(OursFill)->Unit(benchmark::kMillisecond);

void QtFill(benchmark::State& state)
{
    for (auto _ : state) {
        QComboBox combo;
        combo.addItems(Entries());
        benchmark::DoNotOptimize(combo.count());
    }
}
BENCHMARK(QtFill)->Unit(benchmark::kMillisecond);

// Drops the list down, paints it, and closes it again; the box is filled once.
void OursDropDown(benchmark::State& state)
{
    vcl::TForm form(nullptr);
    form.SetBounds(0, 0, 300, 300);
    vcl::TComboBox combo(nullptr);
    combo.SetParent(&form);
    combo.SetStyle(vcl::csDropDownList);
    combo.Items()->SetQStringList(Entries());
    combo.SetItemIndex(ItemCount / 2);
    form.Show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        combo.SetDroppedDown(true);
        QCoreApplication::processEvents();
        combo.DropDownList()->repaint();
        combo.SetDroppedDown(false);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(OursDropDown)->Unit(benchmark::kMillisecond);

void QtDropDown(benchmark::State& state)
{
    QWidget window;
    window.resize(300, 300);
    QComboBox combo(&window);
    combo.addItems(Entries());
    combo.setCurrentIndex(ItemCount / 2);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        combo.showPopup();
        QCoreApplication::processEvents();
        combo.view()->viewport()->repaint();
        combo.hidePopup();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(QtDropDown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The drop-down ratio is far below 0.01, so it is printed the other way round too.
    return RunBenchmarksWithRatios(argc, argv,
        {{"OursDropDown", "QtDropDown"}, {"QtDropDown", "OursDropDown"}, {"OursFill", "QtFill"}});
}
