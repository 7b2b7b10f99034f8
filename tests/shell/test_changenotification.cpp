// The inotify-based change notification: which changes signal which filter, the
// subtree, and that every watch and descriptor is given back.
#include "fstestkit.h"

#include "platform/notify/changenotification.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <unistd.h>

using namespace platform::notify;
using namespace qvtest;

namespace {

constexpr std::array<uint32_t, 6> EveryKind = {
    FILE_NOTIFY_CHANGE_FILE_NAME, FILE_NOTIFY_CHANGE_DIR_NAME, FILE_NOTIFY_CHANGE_ATTRIBUTES,
    FILE_NOTIFY_CHANGE_SIZE, FILE_NOTIFY_CHANGE_LAST_WRITE, FILE_NOTIFY_CHANGE_SECURITY,
};
constexpr uint32_t AllKinds = 0x11F;
constexpr uint32_t PatientMs = 10000;

// A closed-on-scope notification.
struct Watch {
    Watch(const QString& path, bool subtree, uint32_t filter)
        : Handle(FindFirstChangeNotificationA(path, subtree, filter)) {}
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    ~Watch()
    {
        if (Handle)
            FindCloseChangeNotification(Handle);
    }
    bool Signalled() const { return WaitForSingleObject(Handle, 0) == WAIT_OBJECT_0; }
    HCHANGE Handle;
};

// All notifications of the process share one inotify instance, whose events are
// read in order. A file created in a folder of its own after a change, once seen,
// proves that every event of that change has been dealt out too; so a notification
// that is still not signalled then never will be by that change.
class Fence {
public:
    Fence() : FWatch(FDir.path(), false, FILE_NOTIFY_CHANGE_FILE_NAME) {}
    void Pass()
    {
        MakeFile(FDir.filePath(QStringLiteral("fence")));
        ASSERT_EQ(WaitForSingleObject(FWatch.Handle, PatientMs), WAIT_OBJECT_0);
    }

private:
    QTemporaryDir FDir;
    Watch FWatch;
};

TEST(ChangeNotification, EachChangeSignalsExactlyTheKindsItStandsFor)
{
    for (const FolderChange& change : FolderChanges()) {
        SCOPED_TRACE(change.Name);
        QTemporaryDir folder;
        change.Prepare(folder.path());
        std::vector<std::unique_ptr<Watch>> watches;
        for (uint32_t kind : EveryKind) {
            watches.push_back(std::make_unique<Watch>(folder.path(), false, kind));
            ASSERT_NE(watches.back()->Handle, nullptr);
        }
        Fence fence;
        change.Make(folder.path());
        fence.Pass();
        for (size_t i = 0; i < EveryKind.size(); ++i)
            EXPECT_EQ(watches[i]->Signalled(), (change.Kinds & EveryKind[i]) != 0) << "filter " << EveryKind[i];
    }
}

TEST(ChangeNotification, AQuietFolderTimesOutAndASignalledNotificationStaysSignalled)
{
    QTemporaryDir folder;
    Watch watch(folder.path(), false, FILE_NOTIFY_CHANGE_FILE_NAME);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(WaitForSingleObject(watch.Handle, 30), WAIT_TIMEOUT);
    EXPECT_GE(clock.elapsed(), 30);
    MakeFile(folder.filePath(QStringLiteral("a")));
    ASSERT_EQ(WaitForSingleObject(watch.Handle, PatientMs), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(watch.Handle, 0), WAIT_OBJECT_0);
}

TEST(ChangeNotification, TheWatchedFolderVanishingIsAChange)
{
    QTemporaryDir parent;
    const QString folder = parent.filePath(QStringLiteral("watched"));
    MakeDirectory(folder);
    Watch removed(folder, false, FILE_NOTIFY_CHANGE_SIZE);
    ASSERT_EQ(rmdir(QFile::encodeName(folder).constData()), 0);
    EXPECT_EQ(WaitForSingleObject(removed.Handle, PatientMs), WAIT_OBJECT_0);

    MakeDirectory(folder);
    Watch moved(folder, false, FILE_NOTIFY_CHANGE_SIZE);
    ASSERT_TRUE(QDir().rename(folder, parent.filePath(QStringLiteral("elsewhere"))));
    EXPECT_EQ(WaitForSingleObject(moved.Handle, PatientMs), WAIT_OBJECT_0);
}

// A change deep in the subtree counts only with the subtree flag; a change to the
// watched folder itself is no change of its contents; links in the subtree are not
// followed.
TEST(ChangeNotification, TheSubtreeFlagAloneSeesSubfoldersAndNoneTheFolderItself)
{
    QTemporaryDir folder;
    MakeDirectory(folder.filePath(QStringLiteral("sub")));
    MakeDirectory(folder.filePath(QStringLiteral("sub/deeper")));
    ASSERT_EQ(symlink("..", QFile::encodeName(folder.filePath(QStringLiteral("sub/loop"))).constData()), 0);
    Watch flat(folder.path(), false, AllKinds);
    Watch tree(folder.path(), true, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(tree.Handle, nullptr);
    EXPECT_EQ(InotifyWatchCount(), 3) << "folder (shared), sub and deeper; not the link";
    Fence fence;
    ASSERT_EQ(chmod(QFile::encodeName(folder.path()).constData(), 0750), 0);
    MakeFile(folder.filePath(QStringLiteral("sub/deeper/file")));
    fence.Pass();
    EXPECT_FALSE(flat.Signalled());
    EXPECT_TRUE(tree.Signalled());
}

TEST(ChangeNotification, SubfoldersCreatedLaterAreWatchedToo)
{
    QTemporaryDir folder;
    Watch tree(folder.path(), true, FILE_NOTIFY_CHANGE_FILE_NAME);
    Fence fence;
    MakeDirectory(folder.filePath(QStringLiteral("new")));
    fence.Pass();
    ASSERT_FALSE(tree.Signalled()) << "a directory is no file";
    EXPECT_EQ(InotifyWatchCount(), 3) << "folder, new folder and the fence";
    MakeFile(folder.filePath(QStringLiteral("new/file")));
    EXPECT_EQ(WaitForSingleObject(tree.Handle, PatientMs), WAIT_OBJECT_0);
}

TEST(ChangeNotification, FilesInAFolderMovedIntoTheSubtreeAreNoticed)
{
    // The files were there before the folder arrived, so no event names them.
    QTemporaryDir outside;
    MakeDirectory(outside.filePath(QStringLiteral("bundle")));
    MakeFile(outside.filePath(QStringLiteral("bundle/file")));
    QTemporaryDir folder;
    Watch tree(folder.path(), true, FILE_NOTIFY_CHANGE_FILE_NAME);
    Watch dirsOnly(folder.path(), true, FILE_NOTIFY_CHANGE_SIZE);
    Fence fence;
    ASSERT_TRUE(QDir().rename(outside.filePath(QStringLiteral("bundle")), folder.filePath(QStringLiteral("bundle"))));
    fence.Pass();
    EXPECT_TRUE(tree.Signalled());
    EXPECT_FALSE(dirsOnly.Signalled());
}

TEST(ChangeNotification, LostEventsSignalEveryNotification)
{
    QFile limitFile(QStringLiteral("/proc/sys/fs/inotify/max_queued_events"));
    ASSERT_TRUE(limitFile.open(QIODevice::ReadOnly));
    const int queueLimit = limitFile.readAll().trimmed().toInt();
    ASSERT_GT(queueLimit, 0);
    QTemporaryDir folder;
    const QByteArray a = QFile::encodeName(folder.filePath(QStringLiteral("a")));
    const QByteArray b = QFile::encodeName(folder.filePath(QStringLiteral("b")));
    MakeFile(QFile::decodeName(a));
    MakeFile(QFile::decodeName(b));
    Watch unconcerned(folder.path(), false, FILE_NOTIFY_CHANGE_SIZE);
    // Alternating files, so that the kernel cannot merge repeated events into one.
    for (int i = 0; i <= queueLimit; ++i)
        ASSERT_EQ(chmod((i % 2 ? a : b).constData(), (i / 2) % 2 ? 0600 : 0644), 0);
    EXPECT_EQ(WaitForSingleObject(unconcerned.Handle, PatientMs), WAIT_OBJECT_0);
}

// Missing folders, plain files and stale handles are refused with their error.
TEST(ChangeNotification, WhatCannotBeWatchedIsRefusedAndAClosedHandleIsInvalid)
{
    QTemporaryDir folder;
    errno = 0;
    EXPECT_EQ(FindFirstChangeNotificationA(folder.filePath(QStringLiteral("missing")), false, AllKinds), nullptr);
    EXPECT_EQ(errno, ENOENT);
    MakeFile(folder.filePath(QStringLiteral("plain")));
    EXPECT_EQ(FindFirstChangeNotificationA(folder.filePath(QStringLiteral("plain")), true, AllKinds), nullptr);
    EXPECT_EQ(errno, ENOTDIR);
    EXPECT_EQ(FindFirstChangeNotificationA(QString(), false, AllKinds), nullptr);
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    EXPECT_FALSE(FindCloseChangeNotification(nullptr));
    EXPECT_EQ(InotifyWatchCount(), 0);

    HCHANGE handle = FindFirstChangeNotificationA(folder.path(), false, AllKinds);
    ASSERT_NE(handle, nullptr);
    // Another open notification keeps the instance alive, so the stale handle is
    // checked against the open ones rather than against a closed descriptor.
    Watch other(folder.path(), false, AllKinds);
    EXPECT_TRUE(FindCloseChangeNotification(handle));
    EXPECT_FALSE(FindCloseChangeNotification(handle));
    EXPECT_EQ(errno, EBADF);
    EXPECT_EQ(WaitForSingleObject(handle, 0), WAIT_FAILED);
}

TEST(ChangeNotification, WatchesAreSharedAndGivenBack)
{
    const int descriptors = OpenDescriptorCount();
    QTemporaryDir folder;
    QTemporaryDir other;
    MakeDirectory(folder.filePath(QStringLiteral("a")));
    MakeDirectory(folder.filePath(QStringLiteral("b")));
    {
        Watch tree(folder.path(), true, AllKinds);
        EXPECT_EQ(InotifyWatchCount(), 3);
        EXPECT_EQ(OpenDescriptorCount(), descriptors + 1) << "one inotify instance";
        {
            Watch same(folder.path(), false, FILE_NOTIFY_CHANGE_FILE_NAME);
            Watch elsewhere(other.path(), false, AllKinds);
            EXPECT_EQ(InotifyWatchCount(), 4) << "the folder's watch is shared";
            EXPECT_EQ(OpenDescriptorCount(), descriptors + 1);
        }
        EXPECT_EQ(InotifyWatchCount(), 3);
        // The shared watch still serves the notification that is left.
        MakeFile(folder.filePath(QStringLiteral("b/file")));
        EXPECT_EQ(WaitForSingleObject(tree.Handle, PatientMs), WAIT_OBJECT_0);
    }
    EXPECT_EQ(InotifyWatchCount(), 0);
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
}

} // namespace
