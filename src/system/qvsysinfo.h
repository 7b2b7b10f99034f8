#pragma once
// Qvsysinfo: TqvSysInfo, a composite panel with three labelled bars that show the
// memory load, refreshed every second by a timer; children read from its stored layout.
#include "layout/boxes.h"
#include "vcl/controls/comctrls.h"
#include "vcl/controls/timers.h"

namespace Qvsysinfo {

using namespace vcl;

class TqvSysInfo : public Boxes::TBox {
    Q_OBJECT
public:
    explicit TqvSysInfo(TComponent* AOwner);

    std::any MethodAddress(const QString& Name) const override;
    QStringList MethodNames() const override;

    // Reads the memory status and shows its load on the System and User bars and their
    // value labels. The GDI bar has no Linux counterpart and keeps its 0%.
    void Timer1Timer(TObject* Sender);

    TLabel* Label1 = nullptr; // "System:"
    TLabel* Label2 = nullptr; // "User:"
    TLabel* Label3 = nullptr; // "GDI:"
    TLabel* Label4 = nullptr; // the System value
    TLabel* Label5 = nullptr; // the User value
    TLabel* Label6 = nullptr; // the GDI value
    TProgressBar* ProgressBar1 = nullptr;
    TProgressBar* ProgressBar2 = nullptr;
    TProgressBar* ProgressBar3 = nullptr;
    TTimer* Timer1 = nullptr;
};

} // namespace Qvsysinfo
