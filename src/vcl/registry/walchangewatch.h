#pragma once
// Notices commits to an SQLite database in WAL mode without asking SQLite.
#include <array>
#include <cstddef>

struct sqlite3;

namespace vcl {

// Every commit to a database in WAL mode rewrites the header of its WAL index, the
// "-shm" file that all connections map (the layout is part of SQLite's documented file
// format: two copies of a 48-byte header, written second copy first). Comparing the
// header with the one seen last tells whether anything was committed since, by any
// connection, with no lock, no system call and a 96-byte copy; PRAGMA data_version tells
// the same but takes and releases a read lock.
//
// The header is read through the connection's own mapping of the index, obtained from
// its file's xShmMap method: the very memory SQLite reads its header from. That mapping
// lives until the connection closes, and SQLite resets the file only when no connection
// has it open, so the watch must not outlive the connection. The connection must have
// read from the database once, so that the index is open and mapped.
class TWalChangeWatch {
public:
    // Finds the index of Db's main database; Mapped() is false when that is not possible.
    explicit TWalChangeWatch(sqlite3* Db);

    bool Mapped() const { return FIndex != nullptr; }
    // True when a commit may have happened since the previous call (and on the first).
    bool Changed();

private:
    static constexpr size_t HeaderSize = 48;
    using Header = std::array<unsigned char, HeaderSize>;
    bool ReadHeader(Header& Out) const;

    const volatile unsigned char* FIndex = nullptr;
    Header FLast{};
    bool FSeen = false;
};

} // namespace vcl
