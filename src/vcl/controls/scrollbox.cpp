#include "vcl/controls/scrollbox.h"

#include <QChildEvent>
#include <QPalette>
#include <QScrollArea>

namespace vcl {

TScrollBox::TScrollBox(TComponent* AOwner)
    : TWinControl(AOwner)
    , FArea(new QScrollArea(this))
    , FContent(new QWidget())
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    FArea->setWidgetResizable(false);
    FArea->setWidget(FContent);
    FContent->installEventFilter(this);
    // The visible area settles its size after the box's: the range follows it then too,
    // or a box that shrank would keep scroll bars for room it no longer has.
    FArea->viewport()->installEventFilter(this);
    SetBounds(0, 0, 185, 41);
}

QWidget* TScrollBox::ClientWidget()
{
    return FContent;
}

QSize TScrollBox::ScrollRange() const
{
    QSize range = FArea->viewport()->size();
    for (int i = 0; i < ControlCount(); ++i) {
        const TControl* c = Controls(i);
        if (c->Visible() && c->Align() == alNone)
            range = range.expandedTo(QSize(c->Left() + c->Width(), c->Top() + c->Height()));
    }
    return range;
}

void TScrollBox::UpdateScrollRange()
{
    const QSize range = ScrollRange();
    if (FContent->size() != range)
        FContent->resize(range);
}

void TScrollBox::ScrollInView(TControl* AControl)
{
    if (AControl == nullptr || AControl->Parent() != this)
        return;
    UpdateScrollRange();
    FArea->ensureWidgetVisible(AControl, 0, 0);
}

void TScrollBox::WMSize(TMessage& Message)
{
    FArea->setGeometry(0, 0, Width(), Height());
    UpdateScrollRange();
    TWinControl::WMSize(Message);
}

void TScrollBox::CMColorChanged(TMessage& Message)
{
    TWinControl::CMColorChanged(Message);
    QPalette palette = FArea->viewport()->palette();
    palette.setColor(FArea->viewport()->backgroundRole(), ToQColor(Color()));
    palette.setColor(QPalette::Window, ToQColor(Color()));
    FArea->viewport()->setPalette(palette);
    FContent->setPalette(palette);
}

bool TScrollBox::eventFilter(QObject* Watched, QEvent* Event)
{
    // Children added to the content, or moved and resized there, change the range.
    if (Watched == FContent && Event->type() == QEvent::ChildAdded) {
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(Event)->child()))
            child->installEventFilter(this);
        UpdateScrollRange();
    } else if (Watched != FContent && (Event->type() == QEvent::Move || Event->type() == QEvent::Resize)) {
        UpdateScrollRange();
    }
    return false;
}

} // namespace vcl
