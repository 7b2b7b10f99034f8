#include "vcl/controls/dropfiles.h"

#include "vcl/controls/controls.h"

#include <unordered_map>

namespace vcl {

namespace {

struct DropRecord {
    QStringList Files;
    TPoint Point;
};

struct DropTable {
    std::unordered_map<quint64, DropRecord> Drops;
    quint64 LastDrop = 0;
};

DropTable& Drops()
{
    static DropTable table;
    return table;
}

const DropRecord* FindDrop(HDROP Drop)
{
    const auto& drops = Drops().Drops;
    const auto it = drops.find(Drop.Value);
    return it == drops.end() ? nullptr : &it->second;
}

} // namespace

void DragAcceptFiles(HWND Wnd, bool Accept)
{
    if (TWinControl* control = FindControl(Wnd))
        control->setAcceptDrops(Accept);
}

unsigned DragQueryFile(HDROP Drop, unsigned Index, QString& FileName)
{
    FileName.clear();
    const DropRecord* record = FindDrop(Drop);
    if (record == nullptr)
        return 0;
    if (Index == 0xFFFFFFFFu)
        return static_cast<unsigned>(record->Files.size());
    if (Index >= static_cast<unsigned>(record->Files.size()))
        return 0;
    FileName = record->Files[Index];
    return static_cast<unsigned>(FileName.size());
}

unsigned DragQueryFileCount(HDROP Drop)
{
    QString ignored;
    return DragQueryFile(Drop, 0xFFFFFFFFu, ignored);
}

bool DragQueryPoint(HDROP Drop, TPoint& Point)
{
    const DropRecord* record = FindDrop(Drop);
    if (record == nullptr)
        return false;
    Point = record->Point;
    return true;
}

void DragFinish(HDROP Drop)
{
    Drops().Drops.erase(Drop.Value);
}

HDROP CreateDrop(const QStringList& Files, const TPoint& Point)
{
    DropTable& table = Drops();
    const HDROP drop{++table.LastDrop};
    table.Drops.emplace(drop.Value, DropRecord{Files, Point});
    return drop;
}

HDROP DropFromWParam(WPARAM WParam)
{
    return HDROP{static_cast<quint64>(WParam)};
}

} // namespace vcl
