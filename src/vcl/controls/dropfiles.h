#pragma once
// Files dropped on a window: a Qt drop of file URLs reaches the control as
// WM_DROPFILES whose WParam is an HDROP, read with the classic accessors.
#include "vcl/controls/messages.h"
#include "vcl/core/types.h"

#include <QString>
#include <QStringList>

namespace vcl {

struct HDROP {
    quint64 Value = 0;
    explicit operator bool() const { return Value != 0; }
};

// Lets Wnd's control accept files dropped from the desktop (or stop accepting them).
void DragAcceptFiles(HWND Wnd, bool Accept);

// With Index 0xFFFFFFFF: the number of files. Otherwise the name of file Index
// (empty when out of range).
unsigned DragQueryFile(HDROP Drop, unsigned Index, QString& FileName);
unsigned DragQueryFileCount(HDROP Drop);
// Where the files were dropped, in the client coordinates of the target.
bool DragQueryPoint(HDROP Drop, TPoint& Point);
// Frees the drop; the handle is invalid afterwards.
void DragFinish(HDROP Drop);

// Used by the control receiving a Qt drop: records the files and the drop point.
HDROP CreateDrop(const QStringList& Files, const TPoint& Point);
HDROP DropFromWParam(WPARAM WParam);

} // namespace vcl
