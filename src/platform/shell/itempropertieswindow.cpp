#include "platform/shell/itempropertieswindow.h"

#include "platform/shell/namespacefolder.h"
#include "platform/shell/shellfileinfo.h"
#include "platform/shell/shelllocations.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <sys/stat.h>

namespace platform::shell {

namespace {

QString TimeText(const timespec& time)
{
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(time.tv_sec), QLocale::LongFormat);
}

QString PermissionText(mode_t mode)
{
    QString text;
    const char letters[] = "rwxrwxrwx";
    for (int bit = 0; bit < 9; ++bit)
        text += (mode & (0400 >> bit)) ? QChar(letters[bit]) : QChar('-');
    return text + QStringLiteral(" (%1)").arg(mode & 07777, 4, 8, QChar('0'));
}

void AddRow(QFormLayout* form, const QString& caption, const QString& value)
{
    auto* label = new QLabel(value);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setObjectName(caption);
    form->addRow(caption + ':', label);
}

} // namespace

TItemPropertiesWindow::TItemPropertiesWindow(const std::vector<TShellItem>& absolute, QWidget* parent)
    : QDialog(parent)
{
    const QString name = DisplayNameOfItems(absolute, SHGDN_NORMAL);
    setObjectName(QStringLiteral("ItemPropertiesWindow"));
    setWindowTitle(tr("%1 Properties").arg(name));
    auto* form = new QFormLayout(this);
    AddRow(form, tr("Name"), name);
    AddRow(form, tr("Type"), ItemTypeName(absolute));
    const std::optional<QByteArray> path = PathOfItems(absolute);
    struct stat info {};
    if (path && ::stat(path->constData(), &info) == 0) {
        AddRow(form, tr("Location"), QFile::decodeName(path->left(std::max<qsizetype>(1, path->lastIndexOf('/')))));
        AddRow(form, tr("Size"), QLocale().formattedDataSize(int64_t(info.st_size)));
        AddRow(form, tr("Modified"), TimeText(info.st_mtim));
        AddRow(form, tr("Accessed"), TimeText(info.st_atim));
        AddRow(form, tr("Changed"), TimeText(info.st_ctim));
        AddRow(form, tr("Permissions"), PermissionText(info.st_mode));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void ShowItemProperties(const std::vector<TShellItem>& absolute)
{
    auto* window = new TItemPropertiesWindow(absolute);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

} // namespace platform::shell
