#pragma once
// What a non-visual component on a gallery page does, shown under the page's icons: the
// message dialog as it would appear, the tip the tip dialog would show first, the values
// the system component reports, what the exit component and the tray icon would do.
#include <QLabel>

namespace vcl {
class TComponent;
}

namespace gallery {

class ComponentPreview : public QLabel {
    Q_OBJECT
public:
    // Null when Component has nothing to show without running it.
    static ComponentPreview* Create(vcl::TComponent* Component, QWidget* Parent);

    vcl::TComponent* Component() const { return FComponent; }

private:
    ComponentPreview(vcl::TComponent* Component, QWidget* Parent);

    vcl::TComponent* FComponent;
};

} // namespace gallery
