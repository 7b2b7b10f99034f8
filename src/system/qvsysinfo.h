#pragma once
// Qvsysinfo: TqvSysInfo, a composite panel with three labelled bars that show the
// memory load, refreshed every second by a timer; children read from its stored layout.
#include "layout/boxes.h"
#include "vcl/controls/comctrls.h"
#include "vcl/controls/timers.h"

namespace Qvsysinfo {

using namespace vcl;

// A composite panel with three labelled bars that show the memory load, refreshed every
// second.
class TqvSysInfo : public Boxes::TBox {
    Q_OBJECT
public:
    // Creates the panel and its children from the stored layout, owned (and freed) by AOwner.
    explicit TqvSysInfo(TComponent* AOwner);

    // The layout's event handlers by name (Timer1Timer).
    std::any MethodAddress(const QString& Name) const override;
    QStringList MethodNames() const override; // The names MethodAddress knows.

    // Reads the memory status and shows its load on the System and User bars and their
    // value labels. The GDI bar has no Linux counterpart and keeps its 0%.
    void Timer1Timer(TObject* Sender);

    TLabel* Label1 = nullptr; // "System:"
    TLabel* Label2 = nullptr; // "User:"
    TLabel* Label3 = nullptr; // "GDI:"
    TLabel* Label4 = nullptr; // the System value
    TLabel* Label5 = nullptr; // the User value
    TLabel* Label6 = nullptr; // the GDI value
    TProgressBar* ProgressBar1 = nullptr; // The System bar.
    TProgressBar* ProgressBar2 = nullptr; // The User bar.
    TProgressBar* ProgressBar3 = nullptr; // The GDI bar (stays at 0%).
    TTimer* Timer1 = nullptr; // Refreshes the bars every second.
};

} // namespace Qvsysinfo
