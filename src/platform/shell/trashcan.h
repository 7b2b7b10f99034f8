#pragma once
// The user's trash in the freedesktop.org trash layout: the item
// moves to Trash/files/<name>, and Trash/info/<name>.trashinfo records where it came
// from and when, so it can be put back.
#include <QByteArray>
#include <QString>

namespace platform::shell {

// Moves the item at the absolute path to the home trash. The record is written first
// and the item moved only then, under a name no other trashed item has; nothing is
// copied, so an item on another volume than the trash stays where it is (false and
// the reason in error). trashName receives the name inside the trash.
bool MoveToTrash(const QByteArray& path, QByteArray* trashName, QString* error);

// Where a trashed item came from, by its record (clean and absolute); empty, with the
// reason in error, when the record is missing or names no place.
QByteArray TrashedOrigin(const QByteArray& trashName, QString* error = nullptr);

// Puts a trashed item back where its record says it came from; refuses to replace an
// item that now lives there.
bool RestoreFromTrash(const QByteArray& trashName, QString* error);

} // namespace platform::shell
