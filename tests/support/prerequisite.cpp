#include "prerequisite.h"

#include <QString>

namespace qvtest {

bool PrerequisitesRequired()
{
    return qEnvironmentVariable("CI").compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
           || qEnvironmentVariable("QV_REQUIRE_PREREQUISITES") == QLatin1String("1");
}

} // namespace qvtest
