// Logs in to an FTP server, downloads one file and disconnects.
#include "internet/qvftpshell.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 7) {
        std::fprintf(stderr, "usage: example_ftp HOST PORT USER PASSWORD REMOTE LOCAL\n");
        return 2;
    }
    Qvftpshell::TqvFTPConnection ftp;
    if (!ftp.ConnectTo(argv[1], argv[3], argv[4], QString(), /*Passive*/ true, std::atoi(argv[2]))) {
        std::fprintf(stderr, "cannot connect to %s\n", argv[1]);
        return 1;
    }
    const bool copied = ftp.GetFile(argv[5], argv[6]);
    ftp.Disconnect();
    std::printf("%s %s\n", argv[5], copied ? "downloaded" : "not downloaded");
    return copied ? 0 : 1;
}
