#pragma once
// An SQLite VFS that writes each WAL frame with one system call instead of two.

namespace vcl {

// SQLite appends a frame to the WAL as two writes: the 24-byte frame header, then the
// page right behind it. Through this VFS the header waits in memory for the page and
// both go to the file in one write. Nothing else changes: every other call goes to the
// default VFS unchanged, and the header never waits past the next call on its file, so
// when SQLite's write of the page returns, the frame is in the file as before.
//
// Registers the VFS once and returns its name, for sqlite3_open_v2; on failure returns
// nullptr, and the default VFS serves.
const char* WalFrameVfsName();

} // namespace vcl
