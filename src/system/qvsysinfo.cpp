#include "system/qvsysinfo.h"

#include "platform/system/sysqueries.h"
#include "vcl/core/unitstartup.h"

namespace Qvsysinfo {

// The unit has empty start-up and shut-down bodies.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvsysinfo"), {});

TqvSysInfo::TqvSysInfo(TComponent* AOwner)
    : TBox(AOwner)
{
    CreateLayout(this);
    Label1 = LayoutField<TLabel>(this, "Label1");
    Label2 = LayoutField<TLabel>(this, "Label2");
    Label3 = LayoutField<TLabel>(this, "Label3");
    Label4 = LayoutField<TLabel>(this, "Label4");
    Label5 = LayoutField<TLabel>(this, "Label5");
    Label6 = LayoutField<TLabel>(this, "Label6");
    ProgressBar1 = LayoutField<TProgressBar>(this, "ProgressBar1");
    ProgressBar2 = LayoutField<TProgressBar>(this, "ProgressBar2");
    ProgressBar3 = LayoutField<TProgressBar>(this, "ProgressBar3");
    Timer1 = LayoutField<TTimer>(this, "Timer1");
}

std::any TqvSysInfo::MethodAddress(const QString& Name) const
{
    if (Name == QLatin1String("Timer1Timer")) {
        auto* self = const_cast<TqvSysInfo*>(this);
        return TNotifyEvent([self](TObject* sender) { self->Timer1Timer(sender); });
    }
    return {};
}

QStringList TqvSysInfo::MethodNames() const { return {QStringLiteral("Timer1Timer")}; }

void TqvSysInfo::Timer1Timer(TObject*)
{
    const int load = static_cast<int>(platform::system::MemoryStatus().MemoryLoad);
    for (auto [bar, label] : {std::pair{ProgressBar1, Label4}, std::pair{ProgressBar2, Label5}}) {
        bar->SetPosition(load);
        label->SetCaption(QString::number(bar->Position()) + QLatin1Char('%'));
    }
}

} // namespace Qvsysinfo
