// The system information panel: its children come from the stored layout, its timer
// shows the memory load on the first two bars, the third stays at 0%.
#include "controls/waituntil.h"
#include "system/qvsysinfo.h"
#include "vcl/controls/forms.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qvsysinfo;

namespace {

// The load as the kernel's figures give it, read here on its own: (MemTotal -
// MemAvailable) * 100 / MemTotal, whole percent rounded down.
int IndependentLoad()
{
    QFile file("/proc/meminfo");
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    long long total = 0, available = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        std::sscanf(line.constData(), "MemTotal: %lld", &total);
        std::sscanf(line.constData(), "MemAvailable: %lld", &available);
    }
    return total > 0 ? static_cast<int>((total - available) * 100 / total) : -1;
}

TEST(SysInfo, LayoutGivesThreeLabelledBarsAndTheTimerShowsTheSameLoadOnTwo)
{
    vcl::TForm form(nullptr);
    auto* info = new TqvSysInfo(&form);
    EXPECT_EQ(info->Width(), 300);
    EXPECT_EQ(info->Height(), 132);
    const struct {
        vcl::TLabel* Name;
        vcl::TLabel* Value;
        vcl::TProgressBar* Bar;
        const char* Caption;
        int Top;
    } rows[] = {{info->Label1, info->Label4, info->ProgressBar1, "System:", 8},
        {info->Label2, info->Label5, info->ProgressBar2, "User:", 48},
        {info->Label3, info->Label6, info->ProgressBar3, "GDI:", 88}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Caption);
        EXPECT_EQ(row.Name->Caption(), row.Caption);
        EXPECT_EQ(row.Name->Left(), 8);
        EXPECT_EQ(row.Name->Top(), row.Top);
        EXPECT_EQ(row.Value->Caption(), "0%");
        EXPECT_EQ(row.Value->Left(), 48);
        EXPECT_EQ(row.Value->Top(), row.Top);
        EXPECT_EQ(row.Bar->Left(), 8);
        EXPECT_EQ(row.Bar->Top(), row.Top + 16);
        EXPECT_EQ(row.Bar->Width(), 281);
        EXPECT_EQ(row.Bar->Height(), 16);
        EXPECT_EQ(row.Bar->Min(), 0);
        EXPECT_EQ(row.Bar->Max(), 100);
    }
    EXPECT_EQ(info->Timer1->Interval(), 1000u);
    EXPECT_TRUE(info->Timer1->Enabled());

    // The timer shows the same load on two bars. Its handler was bound by name from the
    // layout: wait for it to run.
    ASSERT_TRUE(WaitUntil([&] { return info->Label4->Caption() != "0%"; }, 10000));
    const int shown = info->ProgressBar1->Position();
    EXPECT_EQ(info->ProgressBar2->Position(), shown);
    EXPECT_EQ(info->Label4->Caption(), QString::number(shown) + "%");
    EXPECT_EQ(info->Label5->Caption(), QString::number(shown) + "%");
    EXPECT_EQ(info->ProgressBar3->Position(), 0);
    EXPECT_EQ(info->Label6->Caption(), "0%");
    // Other programs use memory meanwhile: within five points of a reading of our own.
    EXPECT_NEAR(shown, IndependentLoad(), 5);
}

} // namespace
