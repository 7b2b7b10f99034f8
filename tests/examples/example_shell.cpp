// File masks as the shell controls filter with them: ";"-separated, any case.
#include "shell/masksearch.h"

#include "vcl/core/strings.h"

#include <cstdio>

int main()
{
    vcl::TStringList masks;
    Masksearch::BuildMask("*.TXT;report?.doc", masks);
    for (const char* name : {"notes.txt", "report1.doc", "report10.doc", "image.png"})
        std::printf("%-13s %s\n", name, Masksearch::FileMatches(name, &masks) ? "matches" : "-");
    return 0;
}
