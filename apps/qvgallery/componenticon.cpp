#include "componenticon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QtMath>

namespace gallery {

namespace {
enum IconMetrics {
    TileSize = 28,
    TileTop = 2,
    TextGap = 2,
    IconWidth = 120,
};

// A bevelled blue tile with a white cog: the gallery's sign for a component that has
// no face of its own.
void PaintGlyph(QPainter& Painter, const QRect& Tile)
{
    QLinearGradient face(Tile.topLeft(), Tile.bottomLeft());
    face.setColorAt(0, QColor(0x5A, 0x8F, 0xD8));
    face.setColorAt(1, QColor(0x1F, 0x4E, 0x9A));
    Painter.setPen(QColor(0x12, 0x2E, 0x5C));
    Painter.setBrush(face);
    Painter.drawRoundedRect(QRectF(Tile).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    const QPointF centre = QRectF(Tile).center();
    const qreal outer = Tile.width() * 0.34;
    const qreal toothWidth = Tile.width() * 0.14;
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Qt::white);
    constexpr int Teeth = 8;
    for (int i = 0; i < Teeth; ++i) {
        Painter.save();
        Painter.translate(centre);
        Painter.rotate(i * 360.0 / Teeth);
        Painter.drawRect(QRectF(-toothWidth / 2, -outer - toothWidth * 0.6, toothWidth, toothWidth * 1.2));
        Painter.restore();
    }
    Painter.drawEllipse(centre, outer * 0.85, outer * 0.85);
    Painter.setBrush(QColor(0x1F, 0x4E, 0x9A));
    Painter.drawEllipse(centre, outer * 0.35, outer * 0.35);
}
} // namespace

ComponentIcon::ComponentIcon(vcl::TComponent* Component, QWidget* Parent)
    : QWidget(Parent), FComponent(Component)
{
    setToolTip(FComponent->Name() + QStringLiteral(": ") + FComponent->ClassName());
    resize(sizeHint());
}

QSize ComponentIcon::sizeHint() const
{
    return {IconWidth, TileTop + TileSize + TextGap + 2 * fontMetrics().height() + TextGap};
}

void ComponentIcon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect tile((width() - TileSize) / 2, TileTop, TileSize, TileSize);
    PaintGlyph(painter, tile);

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(palette().color(QPalette::WindowText));
    const int lineHeight = fontMetrics().height();
    QRect line(0, tile.bottom() + 1 + TextGap, width(), lineHeight);
    const QString texts[] = {FComponent->ClassName(), FComponent->Name()};
    for (const QString& text : texts) {
        painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop, fontMetrics().elidedText(text, Qt::ElideRight, width()));
        line.translate(0, lineHeight);
    }
}

} // namespace gallery
