#include "componentpreview.h"

#include "dialogs/qvfrmmsgdlg.h"
#include "dialogs/qvmsgdlg.h"
#include "system/qvexitwin.h"
#include "system/qvmysys.h"
#include "system/qvtrayicon.h"
#include "utilities/qvtipdlgu.h"
#include "vcl/core/strings.h"

#include <QMetaEnum>
#include <QPixmap>

namespace gallery {

namespace {
enum PreviewMetrics { MaxPictureWidth = 260, TextWidth = 230 };

// The message dialog the component's Execute would show, built from its properties and
// drawn without being shown.
QPixmap MessagePicture(Qvmsgdlg::TqvMsgDlg& Dialog)
{
    Qvfrmmsgdlg::TfrmMsgDlg form(nullptr);
    Dialog.SetdialogAttributes(&form);
    const QPixmap picture = form.grab();
    return picture.width() > MaxPictureWidth ? picture.scaledToWidth(MaxPictureWidth, Qt::SmoothTransformation) : picture;
}

QString EnumKey(vcl::TComponent* Component, const char* Property)
{
    QObject* object = Component->AsQObject();
    const QMetaProperty property = object->metaObject()->property(object->metaObject()->indexOfProperty(Property));
    return QString::fromLatin1(property.enumerator().valueToKey(property.read(object).toInt()));
}

// The values that stay the same from run to run on one machine (no clock, no free memory),
// so that the page's picture does too.
QString SystemText(Qvmysys::TqvMySystem& System)
{
    return QStringLiteral("TqvMySystem reports:\nProcessors: %1 (%2)\nPage size: %3 bytes\n%4")
        .arg(System.NumberOfProcessors())
        .arg(System.ProcessorType())
        .arg(System.PageSize())
        .arg(System.OSVersion().replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed());
}

QString TipText(Qvtipdlgu::TqvTipDlg& Tips)
{
    const QString first = Tips.Tips()->Count() > 0 ? Tips.Tips()->Strings(0) : QStringLiteral("(no tips yet)");
    return QStringLiteral("TqvTipDlg shows first:\n%1\n%2").arg(Tips.TipTitle(), first).replace(QStringLiteral("\n\n"), QStringLiteral("\n"));
}

// The text for a component without a picture, empty for one with nothing to say.
QString DescriptionOf(vcl::TComponent* Component)
{
    if (auto* system = dynamic_cast<Qvmysys::TqvMySystem*>(Component))
        return SystemText(*system);
    if (auto* tips = dynamic_cast<Qvtipdlgu::TqvTipDlg*>(Component))
        return TipText(*tips);
    if (dynamic_cast<Qvexitwin::TqvExitWin*>(Component) != nullptr)
        return QStringLiteral("TqvExitWin.Execute would: %1").arg(EnumKey(Component, "ExitWinType"));
    if (auto* tray = dynamic_cast<Qvscontrols::TqvTrayIcon*>(Component))
        return QStringLiteral("TqvTrayIcon in the tray, tip:\n%1")
            .arg(tray->ToolTip().isEmpty() ? QStringLiteral("(none)") : tray->ToolTip());
    return {};
}
} // namespace

ComponentPreview::ComponentPreview(vcl::TComponent* Component, QWidget* Parent)
    : QLabel(Parent), FComponent(Component)
{
    setFrameShape(QFrame::Box);
    setMargin(4);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
}

ComponentPreview* ComponentPreview::Create(vcl::TComponent* Component, QWidget* Parent)
{
    if (auto* message = dynamic_cast<Qvmsgdlg::TqvMsgDlg*>(Component)) {
        auto* preview = new ComponentPreview(Component, Parent);
        preview->setPixmap(MessagePicture(*message));
        preview->adjustSize();
        return preview;
    }
    const QString text = DescriptionOf(Component);
    if (text.isEmpty())
        return nullptr;
    auto* preview = new ComponentPreview(Component, Parent);
    preview->setWordWrap(true);
    preview->setText(text);
    preview->setFixedWidth(TextWidth);
    preview->adjustSize();
    return preview;
}

} // namespace gallery
