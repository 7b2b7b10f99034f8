#include "vcl/core/sysutils.h"

namespace vcl {

Exception::Exception(QString message)
{
    SetMessage(message);
}

void Exception::SetMessage(const QString& message)
{
    FMessage = message;
    FUtf8 = message.toStdString();
}

} // namespace vcl
