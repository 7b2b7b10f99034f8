#include "progressline.h"

#include <cstdio>
#include <unistd.h>

namespace qvimage {

TProgressLine::TProgressLine(qsizetype Total)
    : FTotal(Total),
      FTerminal(isatty(fileno(stderr)) == 1)
{
    FClock.start();
}

TProgressLine::~TProgressLine()
{
    Clear();
}

void TProgressLine::Show(qsizetype Done, const QString& FileName)
{
    if (!FTerminal || FClock.elapsed() < QuietMilliseconds)
        return;
    // Carriage return, the text, then erase what a longer earlier text left.
    std::fprintf(stderr, "\r[%lld/%lld] %s\033[K", static_cast<long long>(Done + 1), static_cast<long long>(FTotal),
                 FileName.toLocal8Bit().constData());
    std::fflush(stderr);
    FShown = true;
}

void TProgressLine::Clear()
{
    if (!FShown)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    FShown = false;
}

} // namespace qvimage
