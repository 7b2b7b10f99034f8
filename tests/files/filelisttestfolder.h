#pragma once
// A folder of sample files the file list tests build for themselves, with sizes, times
// and attributes chosen so that every sort key orders them differently.
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

namespace qvtest {

class TFileListFolder {
public:
    // Folders "alpha" and "Beta"; files ".hidden" (10 bytes, 2022-02-02), "A.log" (987
    // bytes, 2021-05-05), "b.txt" (1234 bytes, 2020-01-02), "c.dat" (0 bytes,
    // 2019-07-07, read-only) and "big.bin" (5,000,000,000 bytes, sparse, 2018-03-03),
    // every time at 12:00 UTC.
    TFileListFolder();
    QString Path() const { return FDir.path(); }
    QString File(const QString& Name) const { return FDir.filePath(Name); }
    bool IsValid() const { return FValid; }

private:
    QTemporaryDir FDir;
    bool FValid = false;
};

// Sets the modification time of Path to Utc.
bool SetModified(const QString& Path, const QDateTime& Utc);

} // namespace qvtest
