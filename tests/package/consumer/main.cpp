#include <vcl/core/strings.h>
#include <vcl/core/sysutils.h>

#include <cstdio>

int main()
{
    vcl::TStringList list;
    list.SetSorted(true);
    list.SetCommaText("delta, alpha, \"beta gamma\"");
    const QString line = vcl::Format("%d lines: %s", {list.Count(), list.CommaText()});
    std::printf("%s\n%s\n", qPrintable(line), qPrintable(vcl::FormatFloat("#,##0.00", 1234.5)));
    return 0;
}
