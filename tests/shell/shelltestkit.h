#pragma once
// A scratch home for the shell namespace tests: HOME, XDG_DATA_HOME and
// XDG_CONFIG_HOME point into a temporary folder for the test's life, and the shell
// allocator's live-block count must be back where it started when the test ends.
#include "platform/shell/shellfolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qvtest {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The temporary home, clean and absolute.
    QByteArray Home() const { return FHome; }
    // Writes a file by raw bytes name (relative to home), failing the test if it cannot.
    void MakeFileBytes(const QByteArray& relative, const QByteArray& contents = "x");
    void MakeFolderBytes(const QByteArray& relative);
    void MakeLink(const QByteArray& relative, const QByteArray& target);
    // Builds "tree" under home: plain files, names with a blank, a newline and bytes
    // that are not UTF-8, a dot file and a name listed in .hidden, a folder with a file,
    // a link to it, a link loop and a folder nobody may read.
    void BuildTree();

private:
    QTemporaryDir FDir;
    QByteArray FHome;
    QByteArray FSaved[3];
    int64_t FLiveBlocks = 0;
};

// A reference that releases its object when it goes.
template <typename T>
struct Ref {
    T* Object = nullptr;
    Ref() = default;
    explicit Ref(T* object) : Object(object) {}
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() { if (Object) Object->Release(); }
    T* operator->() const { return Object; }
    T* get() const { return Object; }
    void** out() { return reinterpret_cast<void**>(&Object); }
};

// Every one-item list the folder enumerates for the flags (freed by the caller).
std::vector<platform::shell::LPITEMIDLIST> EnumerateAll(platform::shell::IShellFolder* folder, platform::shell::DWORD flags);
void FreeAll(std::vector<platform::shell::LPITEMIDLIST>& lists);

extern const QByteArray InvalidUtf8Name;

} // namespace qvtest
