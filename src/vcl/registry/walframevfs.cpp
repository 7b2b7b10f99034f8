#include "vcl/registry/walframevfs.h"

#include <cstring>
#include <sqlite3.h>

namespace vcl {

namespace {

// The size of a WAL frame header, fixed by SQLite's file format.
constexpr int FrameHeaderSize = 24;

// Our file object: SQLite allocates it with room for the default VFS's file behind it.
struct FrameFile {
    sqlite3_file Base;
    sqlite3_file* Real;
    bool IsWal;
    // A frame header waiting for its page; Pending is its length, 0 when none waits.
    int Pending;
    sqlite3_int64 PendingOffset;
    unsigned char Header[FrameHeaderSize];
    // The header and the page joined, kept to save an allocation per frame (SQLite's
    // allocator: these functions are called from C and must not throw).
    unsigned char* Joined;
    sqlite3_int64 JoinedCapacity;
};

sqlite3_vfs* RealVfs = nullptr;

FrameFile* AsFrameFile(sqlite3_file* File) { return reinterpret_cast<FrameFile*>(File); }
sqlite3_file* Real(sqlite3_file* File) { return AsFrameFile(File)->Real; }

// Writes a header still waiting on its own, before anything else touches the file.
int Flush(sqlite3_file* File)
{
    FrameFile* file = AsFrameFile(File);
    if (file->Pending == 0)
        return SQLITE_OK;
    const int amount = file->Pending;
    file->Pending = 0;
    return file->Real->pMethods->xWrite(file->Real, file->Header, amount, file->PendingOffset);
}

int Write(sqlite3_file* File, const void* Data, int Amount, sqlite3_int64 Offset)
{
    FrameFile* file = AsFrameFile(File);
    if (file->IsWal && file->Pending == 0 && Amount == FrameHeaderSize) {
        std::memcpy(file->Header, Data, FrameHeaderSize);
        file->Pending = FrameHeaderSize;
        file->PendingOffset = Offset;
        return SQLITE_OK;
    }
    if (file->Pending == 0 || Offset != file->PendingOffset + file->Pending) {
        const int rc = Flush(File);
        return rc != SQLITE_OK ? rc : file->Real->pMethods->xWrite(file->Real, Data, Amount, Offset);
    }
    const sqlite3_int64 size = sqlite3_int64(FrameHeaderSize) + Amount;
    if (size > file->JoinedCapacity) {
        void* grown = sqlite3_realloc64(file->Joined, sqlite3_uint64(size));
        if (!grown)
            return SQLITE_IOERR_NOMEM;
        file->Joined = static_cast<unsigned char*>(grown);
        file->JoinedCapacity = size;
    }
    std::memcpy(file->Joined, file->Header, FrameHeaderSize);
    std::memcpy(file->Joined + FrameHeaderSize, Data, size_t(Amount));
    file->Pending = 0;
    return file->Real->pMethods->xWrite(file->Real, file->Joined, int(size), file->PendingOffset);
}

int Close(sqlite3_file* File)
{
    FrameFile* file = AsFrameFile(File);
    const int flushed = Flush(File);
    const int closed = file->Real->pMethods->xClose(file->Real);
    sqlite3_free(file->Joined);
    file->Joined = nullptr;
    return flushed != SQLITE_OK ? flushed : closed;
}

// The calls that read or size the file, or make it durable, see waiting data first.
int Read(sqlite3_file* File, void* Data, int Amount, sqlite3_int64 Offset)
{
    const int rc = Flush(File);
    return rc != SQLITE_OK ? rc : Real(File)->pMethods->xRead(Real(File), Data, Amount, Offset);
}
int Truncate(sqlite3_file* File, sqlite3_int64 Size)
{
    const int rc = Flush(File);
    return rc != SQLITE_OK ? rc : Real(File)->pMethods->xTruncate(Real(File), Size);
}
int Sync(sqlite3_file* File, int Flags)
{
    const int rc = Flush(File);
    return rc != SQLITE_OK ? rc : Real(File)->pMethods->xSync(Real(File), Flags);
}
int FileSize(sqlite3_file* File, sqlite3_int64* Size)
{
    const int rc = Flush(File);
    return rc != SQLITE_OK ? rc : Real(File)->pMethods->xFileSize(Real(File), Size);
}
int FileControl(sqlite3_file* File, int Op, void* Arg)
{
    const int rc = Flush(File);
    return rc != SQLITE_OK ? rc : Real(File)->pMethods->xFileControl(Real(File), Op, Arg);
}

// The rest pass straight through.
int Lock(sqlite3_file* File, int Level) { return Real(File)->pMethods->xLock(Real(File), Level); }
int Unlock(sqlite3_file* File, int Level) { return Real(File)->pMethods->xUnlock(Real(File), Level); }
int CheckReservedLock(sqlite3_file* File, int* Out)
{
    return Real(File)->pMethods->xCheckReservedLock(Real(File), Out);
}
int SectorSize(sqlite3_file* File) { return Real(File)->pMethods->xSectorSize(Real(File)); }
int DeviceCharacteristics(sqlite3_file* File) { return Real(File)->pMethods->xDeviceCharacteristics(Real(File)); }
int ShmMap(sqlite3_file* File, int Region, int Size, int Extend, void volatile** Out)
{
    return Real(File)->pMethods->xShmMap(Real(File), Region, Size, Extend, Out);
}
int ShmLock(sqlite3_file* File, int Offset, int Count, int Flags)
{
    return Real(File)->pMethods->xShmLock(Real(File), Offset, Count, Flags);
}
void ShmBarrier(sqlite3_file* File) { Real(File)->pMethods->xShmBarrier(Real(File)); }
int ShmUnmap(sqlite3_file* File, int Delete) { return Real(File)->pMethods->xShmUnmap(Real(File), Delete); }
int Fetch(sqlite3_file* File, sqlite3_int64 Offset, int Amount, void** Out)
{
    return Real(File)->pMethods->xFetch(Real(File), Offset, Amount, Out);
}
int Unfetch(sqlite3_file* File, sqlite3_int64 Offset, void* Page)
{
    return Real(File)->pMethods->xUnfetch(Real(File), Offset, Page);
}

// Version 3 of the methods, as the default unix VFS has; Open refuses another.
const sqlite3_io_methods FrameMethods = {
    3,         Close,      Read,    Write,      Truncate,   Sync,  FileSize,
    Lock,      Unlock,     CheckReservedLock,   FileControl, SectorSize, DeviceCharacteristics,
    ShmMap,    ShmLock,    ShmBarrier,          ShmUnmap,   Fetch, Unfetch,
};

int Open(sqlite3_vfs*, sqlite3_filename Name, sqlite3_file* File, int Flags, int* OutFlags)
{
    FrameFile* file = AsFrameFile(File);
    file->Base.pMethods = nullptr;
    file->Real = reinterpret_cast<sqlite3_file*>(file + 1);
    const int rc = RealVfs->xOpen(RealVfs, Name, file->Real, Flags, OutFlags);
    if (rc != SQLITE_OK)
        return rc;
    if (!file->Real->pMethods || file->Real->pMethods->iVersion < 3) {
        if (file->Real->pMethods)
            file->Real->pMethods->xClose(file->Real);
        return SQLITE_CANTOPEN;
    }
    file->IsWal = (Flags & SQLITE_OPEN_WAL) != 0;
    file->Pending = 0;
    file->PendingOffset = 0;
    file->Joined = nullptr;
    file->JoinedCapacity = 0;
    file->Base.pMethods = &FrameMethods;
    return SQLITE_OK;
}

const char* Register()
{
    RealVfs = sqlite3_vfs_find(nullptr);
    if (!RealVfs)
        return nullptr;
    // A copy of the default VFS, with its own name, file size and Open; its other calls
    // (and its private data) stay those of the default.
    static sqlite3_vfs vfs = *RealVfs;
    vfs.zName = "qvkit-walframe";
    vfs.szOsFile = int(sizeof(FrameFile)) + RealVfs->szOsFile;
    vfs.xOpen = Open;
    vfs.pNext = nullptr;
    return sqlite3_vfs_register(&vfs, 0) == SQLITE_OK ? vfs.zName : nullptr;
}

} // namespace

const char* WalFrameVfsName()
{
    static const char* const name = Register();
    return name;
}

} // namespace vcl
