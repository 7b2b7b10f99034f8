#pragma once
// Directory listings of FTP servers turned into entries: MLSD facts, and LIST output
// in the Unix ("ls -l") and DOS styles.
#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform::ftp {

// One entry of a remote directory. Names are the server's bytes (UTF-8 with every
// server we meet), never re-encoded.
struct FtpEntry {
    QByteArray Name;
    bool IsDirectory = false;
    bool IsLink = false;
    QByteArray LinkTarget; // empty unless the listing named the link's target
    int64_t Size = 0;      // bytes; 0 when the listing gave none
    QDateTime LastWrite;   // UTC; invalid when the listing gave none
};

enum class ListingFormat { Mlsd, List };

// Lines for the directory itself and its parent, names holding a NUL, "/" or CR
// (which no folder entry can hold and which would cut the name short or make it a
// path), and malformed lines give no entry.

// One MLSD line ("type=file;size=3;modify=20240105123456; name").
std::optional<FtpEntry> ParseMlsdLine(QByteArrayView line);

// One LIST line in the Unix or DOS style. Unix lines give recent dates without a year;
// the year is the one that puts the date no later than a day after Now (UTC).
// Times are taken as UTC, as vsftpd and pyftpdlib send them by default.
std::optional<FtpEntry> ParseListLine(QByteArrayView line, const QDateTime& Now);

// A whole listing, lines ended by CR LF or LF.
std::vector<FtpEntry> ParseListing(const QByteArray& data, ListingFormat format, const QDateTime& Now);

} // namespace platform::ftp
