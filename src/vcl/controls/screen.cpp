#include "vcl/controls/screen.h"

#include "vcl/graphics/fontenum.h"

#include "vcl/controls/forms.h"
#include "vcl/controls/qtevents.h"

#include <QApplication>
#include <QScreen>

namespace vcl {

namespace {

QScreen* PrimaryScreen()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr ? QGuiApplication::primaryScreen()
                                                                                   : nullptr;
}

} // namespace

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner)
{
}

void TScreen::SetCursor(TCursor Value)
{
    if (FCursor == Value)
        return;
    if (FCursor != crDefault)
        QGuiApplication::restoreOverrideCursor();
    FCursor = Value;
    if (Value != crDefault)
        QGuiApplication::setOverrideCursor(QCursor(CursorShape(Value)));
}

QStringList TScreen::Fonts() const
{
    return InstalledFontFamilies();
}

int TScreen::PixelsPerInch() const
{
    QScreen* screen = PrimaryScreen();
    // Without a display the classic 96 pixels per inch apply.
    return screen != nullptr ? qRound(screen->logicalDotsPerInch()) : 96;
}

int TScreen::Width() const
{
    QScreen* screen = PrimaryScreen();
    return screen != nullptr ? screen->geometry().width() : 0;
}

int TScreen::Height() const
{
    QScreen* screen = PrimaryScreen();
    return screen != nullptr ? screen->geometry().height() : 0;
}

int TScreen::ColorDepth() const
{
    QScreen* screen = PrimaryScreen();
    return screen != nullptr ? screen->depth() : 0;
}

TCustomForm* TScreen::ActiveForm() const
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    return dynamic_cast<TCustomForm*>(QApplication::activeWindow());
}

TScreen* Screen()
{
    static TScreen* screen = new TScreen();
    return screen;
}

} // namespace vcl
