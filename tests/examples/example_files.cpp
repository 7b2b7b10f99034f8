// The rows a file list view shows for a folder: folders first, then the files that
// match the masks, with their size texts.
#include "files/qvfilerows.h"

#include <cstdio>

int main(int argc, char** argv)
{
    const QString folder = argc > 1 ? argv[1] : ".";
    for (const Qvfilectrls::TFileEntry& entry : Qvfilectrls::ReadDirectory(folder, "*.*", Qvfilectrls::flvAll))
        std::printf("%-24s %12s\n", qPrintable(entry.Name), qPrintable(Qvfilectrls::FileSizeText(entry.Size)));
    return 0;
}
