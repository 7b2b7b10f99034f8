#pragma once
// TScreen: the display's size, resolution and colour depth, the installed fonts,
// the application-wide cursor and the forms on the screen.
#include "vcl/controls/controls.h"

#include <QObject>
#include <QStringList>

namespace vcl {

class TScreen : public QObject, public TComponent {
    Q_OBJECT
public:
    explicit TScreen(TComponent* AOwner = nullptr);

    // The cursor shown over the whole application (crDefault: each control's own).
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // Family names of the installed fonts, sorted.
    QStringList Fonts() const;
    int PixelsPerInch() const;
    int Width() const;
    int Height() const;
    // Bits per pixel of the primary screen.
    int ColorDepth() const;
    // The form that has the focus (null when none of ours has).
    TCustomForm* ActiveForm() const;

private:
    TCursor FCursor = crDefault;
};

// The process's screen object, made on first use.
TScreen* Screen();

} // namespace vcl
