#pragma once
// How a non-visual component appears on a design surface: a tile with our own glyph,
// and the class name and component name under it.
#include "vcl/core/classes.h"

#include <QWidget>

namespace gallery {

class ComponentIcon : public QWidget {
    Q_OBJECT
public:
    ComponentIcon(vcl::TComponent* Component, QWidget* Parent);

    vcl::TComponent* Component() const { return FComponent; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    vcl::TComponent* FComponent;
};

} // namespace gallery
