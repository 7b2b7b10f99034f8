#include "vcl/controls/invertoverlay.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>

namespace vcl {

TInvertOverlay::TInvertOverlay(QWidget* Surface)
    : QWidget(Surface)
    , FSurface(Surface)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    FSurface->installEventFilter(this);
    FollowSurface();
    hide();
}

TInvertOverlay::~TInvertOverlay()
{
    FDC.SetSurface(nullptr, false);
}

void TInvertOverlay::FollowSurface()
{
    const QSize size = FSurface->size().expandedTo(QSize(1, 1));
    setGeometry(QRect(QPoint(0, 0), size));
    if (FMask.size() == size)
        return;
    // What is inverted stays inverted where the new size still has room for it.
    QImage mask(size, QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter(&mask).drawImage(0, 0, FMask);
    FMask = mask;
    FDC.SetSurface(&FMask, false);
}

bool TInvertOverlay::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FSurface && Event->type() == QEvent::Resize)
        FollowSurface();
    return false;
}

void TInvertOverlay::Flush()
{
    if (IsClear()) {
        hide();
        return;
    }
    raise();
    show();
    update();
}

bool TInvertOverlay::IsClear() const
{
    for (int y = 0; y < FMask.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(FMask.constScanLine(y));
        for (int x = 0; x < FMask.width(); ++x)
            if (qRed(line[x]) | qGreen(line[x]) | qBlue(line[x]))
                return false;
    }
    return true;
}

void TInvertOverlay::paintEvent(QPaintEvent* Event)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.drawImage(Event->rect(), FMask, Event->rect());
}

HBRUSH CreateCheckeredBrush()
{
    // Monochrome rows are word aligned: one pattern byte and one byte of padding.
    static const uint8_t rows[16] = {0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0};
    const HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
    const HBRUSH brush = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    return brush;
}

} // namespace vcl
