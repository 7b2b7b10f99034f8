// Facts about the machine, as TqvMySystem reports them.
#include "system/qvmysys.h"

#include <cstdio>

int main()
{
    Qvmysys::TqvMySystem system(nullptr);
    std::printf("user %s on %s\n", qPrintable(system.UserName()), qPrintable(system.ComputerName()));
    std::printf("memory: %llu MiB, %u%% in use\n", (unsigned long long)(system.dwTotalPhys() >> 20),
                system.dwMemoryLoad());
    std::printf("drives: %s\n", qPrintable(system.LogicalDrives()));
    return system.dwTotalPhys() > 0 ? 0 : 1;
}
