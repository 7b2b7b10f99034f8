#include "files/qvfilenameedit.h"

#include <QFileInfo>

namespace Qvfilectrls {

TqvFilenameEdit::TqvFilenameEdit(vcl::TComponent* AOwner) : TEdit(AOwner) {}

void TqvFilenameEdit::ShowFile(const QString& Path)
{
    FFileName = Path;
    const QString name = QFileInfo(Path).fileName();
    SetText(name.isEmpty() ? Path : name);
}

} // namespace Qvfilectrls
