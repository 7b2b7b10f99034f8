#include "shell/shelltestkit.h"

#include "platform/shell/shellmalloc.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qvtest {

using namespace platform::shell;

const QByteArray InvalidUtf8Name = QByteArray("bad\xff\xfe.txt");

namespace {

const char* const Variables[3] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"};

// Removes a tree by its bytes: Qt's own removal skips names that are not UTF-8.
void RemoveTree(const QByteArray& path)
{
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0)
        return;
    if (S_ISDIR(info.st_mode)) {
        ::chmod(path.constData(), 0700);
        if (DIR* dir = ::opendir(path.constData())) {
            while (const dirent* entry = ::readdir(dir))
                if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                    RemoveTree(path + '/' + entry->d_name);
            ::closedir(dir);
        }
        ::rmdir(path.constData());
        return;
    }
    ::unlink(path.constData());
}

} // namespace

void ShellTest::SetUp()
{
    FLiveBlocks = IMalloc::Instance().LiveBlocks();
    ASSERT_TRUE(FDir.isValid());
    FHome = QFile::encodeName(QDir(FDir.path()).canonicalPath());
    const QByteArray values[3] = {FHome, FHome + "/.local/share", FHome + "/.config"};
    for (int i = 0; i < 3; ++i) {
        FSaved[i] = qgetenv(Variables[i]);
        qputenv(Variables[i], values[i]);
    }
}

void ShellTest::TearDown()
{
    for (int i = 0; i < 3; ++i)
        qputenv(Variables[i], FSaved[i]);
    RemoveTree(FHome);
    EXPECT_EQ(IMalloc::Instance().LiveBlocks(), FLiveBlocks) << "shell-allocated blocks were not freed";
}

void ShellTest::MakeFileBytes(const QByteArray& relative, const QByteArray& contents)
{
    const int fd = ::open((FHome + '/' + relative).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << relative.constData();
    ASSERT_EQ(::write(fd, contents.constData(), size_t(contents.size())), contents.size());
    ::close(fd);
}

void ShellTest::MakeFolderBytes(const QByteArray& relative)
{
    ASSERT_EQ(::mkdir((FHome + '/' + relative).constData(), 0755), 0) << relative.constData();
}

void ShellTest::MakeLink(const QByteArray& relative, const QByteArray& target)
{
    ASSERT_EQ(::symlink(target.constData(), (FHome + '/' + relative).constData()), 0) << relative.constData();
}

void ShellTest::BuildTree()
{
    MakeFolderBytes("tree");
    MakeFileBytes("tree/plain.txt", "hello");
    MakeFileBytes("tree/with space.txt");
    MakeFileBytes("tree/new\nline.txt");
    MakeFileBytes("tree/" + InvalidUtf8Name);
    MakeFileBytes("tree/.dotfile");
    MakeFileBytes("tree/listed");
    MakeFileBytes("tree/.hidden", "listed\nnot-there\n");
    MakeFolderBytes("tree/sub");
    MakeFileBytes("tree/sub/inner.c");
    MakeLink("tree/link-to-sub", "sub");
    MakeLink("tree/loop-a", "loop-b");
    MakeLink("tree/loop-b", "loop-a");
    MakeFolderBytes("tree/locked");
    MakeFileBytes("tree/locked/secret");
    ASSERT_EQ(::chmod((FHome + "/tree/locked").constData(), 0), 0);
}

std::vector<LPITEMIDLIST> EnumerateAll(IShellFolder* folder, DWORD flags)
{
    std::vector<LPITEMIDLIST> lists;
    IEnumIDList* enumerator = nullptr;
    if (FAILED(folder->EnumObjects(nullptr, flags, &enumerator)))
        return lists;
    LPITEMIDLIST list = nullptr;
    while (enumerator->Next(1, &list, nullptr) == S_OK)
        lists.push_back(list);
    enumerator->Release();
    return lists;
}

void FreeAll(std::vector<LPITEMIDLIST>& lists)
{
    for (LPITEMIDLIST list : lists)
        IMalloc::Instance().Free(list);
    lists.clear();
}

} // namespace qvtest
