#pragma once
// Notices commits to an SQLite database in WAL mode without asking SQLite.
#include <QString>
#include <array>
#include <cstddef>

namespace vcl {

// Every commit to a database in WAL mode rewrites the header of its WAL index, the
// "-shm" file that all connections map (the layout is part of SQLite's documented file
// format: two copies of a 48-byte header, written second copy first). Comparing the
// header with the one seen last tells whether anything was committed since, by any
// connection, with no lock and one read; PRAGMA data_version tells the same but takes
// and releases a read lock.
//
// The file stays the same while the owner's connection has the index open (it has
// after its first read): SQLite replaces or resets it only when no connection has.
// It is read, not mapped: a mapping of a file that another process truncates kills the
// reader with SIGBUS, a read only comes back short.
class TWalChangeWatch {
public:
    // Opens the index of DatabaseFile; Mapped() is false when that is not possible.
    explicit TWalChangeWatch(const QString& DatabaseFile);
    ~TWalChangeWatch();
    TWalChangeWatch(const TWalChangeWatch&) = delete;
    TWalChangeWatch& operator=(const TWalChangeWatch&) = delete;

    bool Mapped() const { return FFile >= 0; }
    // True when a commit may have happened since the previous call (and on the first).
    bool Changed();

private:
    static constexpr size_t HeaderSize = 48;
    using Header = std::array<unsigned char, HeaderSize>;
    bool ReadHeader(Header& Out) const;

    int FFile = -1;
    Header FLast{};
    bool FSeen = false;
};

} // namespace vcl
