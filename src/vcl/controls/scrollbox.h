#pragma once
// TScrollBox: a container whose children may lie beyond its visible area; scroll
// bars appear when they do.
#include "vcl/controls/controls.h"

class QScrollArea;

namespace vcl {

class TScrollBox : public TWinControl {
    Q_OBJECT
public:
    explicit TScrollBox(TComponent* AOwner);

    // The size of the scrolled area: the visible area, grown to hold every child.
    QSize ScrollRange() const;
    // Scrolls so that the control is in view.
    void ScrollInView(TControl* AControl);
    QScrollArea* ScrollArea() const { return FArea; }

protected:
    QWidget* ClientWidget() override;
    void WMSize(TMessage& Message) override;
    // The visible area shows the box's Color.
    void CMColorChanged(TMessage& Message) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void UpdateScrollRange();
    QScrollArea* FArea;
    QWidget* FContent;
};

} // namespace vcl
