#include "vcl/core/strings.h"

#include "vcl/core/streams.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace vcl {

namespace {

// Holds a list's change events back for the lifetime of the guard.
class TUpdateGuard {
public:
    explicit TUpdateGuard(TStrings& Strings) : FStrings(Strings) { FStrings.BeginUpdate(); }
    ~TUpdateGuard() { FStrings.EndUpdate(); }
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
    TStrings& FStrings;
};

// CommaText quotes an item that holds blanks, control characters, quotes or commas.
// Empty items are quoted too, so that a trailing empty line survives a round trip.
bool NeedsQuotes(const QString& S)
{
    return S.isEmpty() || std::any_of(S.begin(), S.end(), [](QChar c) { return c.unicode() <= u' ' || c == u'"' || c == u','; });
}

QString QuotedString(const QString& S)
{
    QString doubled = S;
    doubled.replace(QLatin1String("\""), QLatin1String("\"\""));
    return u'"' + doubled + u'"';
}

bool IsCommaTextBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= u' ';
}

} // namespace

void TStrings::IndexError(int Index)
{
    throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TStrings::Put(int Index, const QString& S)
{
    TUpdateGuard guard(*this);
    TObject* object = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, object);
}

TObject* TStrings::GetObject(int) const
{
    return nullptr;
}

void TStrings::PutObject(int, TObject*)
{
}

void TStrings::SetUpdateState(bool)
{
}

int TStrings::CompareStrings(const QString& S1, const QString& S2) const
{
    return S1.compare(S2, Qt::CaseInsensitive);
}

int TStrings::Add(const QString& S)
{
    const int index = Count();
    Insert(index, S);
    return index;
}

int TStrings::AddObject(const QString& S, TObject* AObject)
{
    const int index = Add(S);
    PutObject(index, AObject);
    return index;
}

void TStrings::AddStrings(const TStrings& Strings)
{
    TUpdateGuard guard(*this);
    // Count first, so that adding a list to itself doubles it once.
    const int count = Strings.Count();
    for (int i = 0; i < count; ++i)
        AddObject(Strings.Get(i), Strings.GetObject(i));
}

void TStrings::InsertObject(int Index, const QString& S, TObject* AObject)
{
    TUpdateGuard guard(*this);
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    if (NewIndex < 0 || NewIndex >= Count())
        IndexError(NewIndex);
    TUpdateGuard guard(*this);
    const QString s = Get(CurIndex);
    TObject* object = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, object);
}

void TStrings::Exchange(int Index1, int Index2)
{
    TUpdateGuard guard(*this);
    const QString s1 = Get(Index1);
    TObject* o1 = GetObject(Index1);
    const QString s2 = Get(Index2);
    TObject* o2 = GetObject(Index2);
    Put(Index1, s2);
    PutObject(Index1, o2);
    Put(Index2, s1);
    PutObject(Index2, o1);
}

int TStrings::IndexOf(const QString& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), S) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == AObject)
            return i;
    return -1;
}

int TStrings::IndexOfName(const QString& Name) const
{
    for (int i = 0; i < Count(); ++i) {
        const QString s = Get(i);
        const qsizetype eq = s.indexOf(u'=');
        if (eq >= 0 && CompareStrings(s.left(eq), Name) == 0)
            return i;
    }
    return -1;
}

QString TStrings::Names(int Index) const
{
    const QString s = Get(Index);
    const qsizetype eq = s.indexOf(u'=');
    return eq >= 0 ? s.left(eq) : QString();
}

QString TStrings::Values(const QString& Name) const
{
    const int index = IndexOfName(Name);
    if (index < 0)
        return QString();
    const QString s = Get(index);
    return s.mid(s.indexOf(u'=') + 1);
}

void TStrings::SetValues(const QString& Name, const QString& Value)
{
    const int index = IndexOfName(Name);
    if (Value.isEmpty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    const QString line = Name + u'=' + Value;
    if (index < 0)
        Add(line);
    else
        Put(index, line);
}

QString TStrings::Text() const
{
    QString text;
    for (int i = 0; i < Count(); ++i)
        text += Get(i) + QLatin1String("\r\n");
    return text;
}

void TStrings::SetText(const QString& Value)
{
    TUpdateGuard guard(*this);
    Clear();
    qsizetype start = 0;
    const qsizetype n = Value.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && Value[end] != u'\r' && Value[end] != u'\n')
            ++end;
        Add(Value.mid(start, end - start));
        if (end < n && Value[end] == u'\r') {
            ++end;
            if (end < n && Value[end] == u'\n')
                ++end; // CR LF is one line end
        } else if (end < n) {
            ++end;
        }
        start = end;
    }
}

QString TStrings::CommaText() const
{
    QStringList items;
    for (int i = 0; i < Count(); ++i) {
        const QString s = Get(i);
        items << (NeedsQuotes(s) ? QuotedString(s) : s);
    }
    return items.join(u',');
}

void TStrings::SetCommaText(const QString& Value)
{
    TUpdateGuard guard(*this);
    Clear();
    const qsizetype n = Value.size();
    qsizetype p = 0;
    auto skipBlanks = [&] {
        while (p < n && IsCommaTextBlank(Value[p]))
            ++p;
    };
    skipBlanks();
    while (p < n) {
        QString item;
        if (Value[p] == u'"') {
            // A quoted item runs to the next single quote; a doubled quote is one quote.
            // An item without its closing quote takes the rest of the text.
            ++p;
            while (p < n) {
                if (Value[p] == u'"') {
                    if (p + 1 < n && Value[p + 1] == u'"') {
                        item += u'"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += Value[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < n && Value[p].unicode() > u' ' && Value[p] != u',')
                ++p;
            item = Value.mid(start, p - start);
        }
        Add(item);
        skipBlanks();
        if (p < n && Value[p] == u',') {
            ++p;
            skipBlanks();
        }
    }
}

QStringList TStrings::ToQStringList() const
{
    QStringList list;
    list.reserve(Count());
    for (int i = 0; i < Count(); ++i)
        list << Get(i);
    return list;
}

void TStrings::SetQStringList(const QStringList& List)
{
    TUpdateGuard guard(*this);
    Clear();
    for (const QString& s : List)
        Add(s);
}

bool TStrings::Equals(const TStrings& Strings) const
{
    if (Count() != Strings.Count())
        return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != Strings.Get(i))
            return false;
    return true;
}

void TStrings::LoadFromStream(TStream& Stream)
{
    const int64_t remaining = Stream.Size() - Stream.Position();
    SetText(QString::fromUtf8(Stream.ReadBytes(remaining)));
}

void TStrings::SaveToStream(TStream& Stream) const
{
    const QByteArray bytes = Text().toUtf8();
    Stream.WriteBuffer(bytes.constData(), bytes.size());
}

void TStrings::LoadFromFile(const QString& FileName)
{
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TStrings::SaveToFile(const QString& FileName) const
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(file);
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::Assign(const TPersistent* Source)
{
    if (const auto* strings = dynamic_cast<const TStrings*>(Source)) {
        if (strings == this)
            return;
        TUpdateGuard guard(*this);
        Clear();
        AddStrings(*strings);
        return;
    }
    TPersistent::Assign(Source);
}

void TStringList::SortedError()
{
    throw EStringListError(QStringLiteral("Operation not allowed on sorted string list"));
}

void TStringList::CheckIndex(int Index, int Limit) const
{
    if (Index < 0 || Index >= Limit)
        IndexError(Index);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(const QString& S1, const QString& S2) const
{
    return S1.compare(S2, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

QString TStringList::Get(int Index) const
{
    CheckIndex(Index, Count());
    return FList[static_cast<size_t>(Index)].FString;
}

void TStringList::Put(int Index, const QString& S)
{
    if (FSorted)
        SortedError();
    CheckIndex(Index, Count());
    Changing();
    FList[static_cast<size_t>(Index)].FString = S;
    Changed();
}

TObject* TStringList::GetObject(int Index) const
{
    CheckIndex(Index, Count());
    return FList[static_cast<size_t>(Index)].FObject;
}

void TStringList::PutObject(int Index, TObject* AObject)
{
    CheckIndex(Index, Count());
    Changing();
    FList[static_cast<size_t>(Index)].FObject = AObject;
    Changed();
}

void TStringList::InsertItem(int Index, const QString& S, TObject* AObject)
{
    Changing();
    FList.insert(FList.begin() + Index, TStringItem{S, AObject});
    Changed();
}

int TStringList::Add(const QString& S)
{
    if (!FSorted) {
        InsertItem(Count(), S, nullptr);
        return Count() - 1;
    }
    int index = 0;
    if (Find(S, index)) {
        switch (FDuplicates) {
        case dupIgnore: return index;
        case dupError: throw EStringListError(QStringLiteral("String list does not allow duplicates"));
        case dupAccept: break;
        }
    }
    InsertItem(index, S, nullptr);
    return index;
}

void TStringList::Insert(int Index, const QString& S)
{
    if (FSorted)
        SortedError();
    CheckIndex(Index, Count() + 1);
    InsertItem(Index, S, nullptr);
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index, Count());
    Changing();
    FList.erase(FList.begin() + Index);
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty())
        return;
    Changing();
    FList.clear();
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex)
{
    // Checked before anything is removed, so that a refused move loses nothing.
    if (FSorted)
        SortedError();
    CheckIndex(CurIndex, Count());
    CheckIndex(NewIndex, Count());
    if (CurIndex == NewIndex)
        return;
    Changing();
    const auto from = FList.begin() + CurIndex;
    const auto to = FList.begin() + NewIndex;
    if (CurIndex < NewIndex)
        std::rotate(from, from + 1, to + 1);
    else
        std::rotate(to, from, from + 1);
    Changed();
}

void TStringList::Exchange(int Index1, int Index2)
{
    if (FSorted)
        SortedError();
    CheckIndex(Index1, Count());
    CheckIndex(Index2, Count());
    Changing();
    std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
    Changed();
}

bool TStringList::Find(const QString& S, int& Index) const
{
    // The first position whose string is not less than S.
    int low = 0;
    int high = Count();
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (CompareStrings(FList[static_cast<size_t>(mid)].FString, S) < 0)
            low = mid + 1;
        else
            high = mid;
    }
    Index = low;
    return low < Count() && CompareStrings(FList[static_cast<size_t>(low)].FString, S) == 0;
}

int TStringList::IndexOf(const QString& S) const
{
    if (!FSorted)
        return TStrings::IndexOf(S);
    int index = 0;
    return Find(S, index) ? index : -1;
}

void TStringList::Sort()
{
    CustomSort([](TStringList& list, int a, int b) { return list.CompareStrings(list.FList[static_cast<size_t>(a)].FString, list.FList[static_cast<size_t>(b)].FString); });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
    if (Count() < 2)
        return;
    // The comparison sees the list as it was before sorting; equal strings keep their
    // order.
    std::vector<int> order(FList.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(*this, a, b) < 0; });
    Changing();
    QList<TStringItem> sorted;
    sorted.reserve(FList.size());
    for (int i : order)
        sorted.push_back(FList[static_cast<size_t>(i)]);
    FList = std::move(sorted);
    Changed();
}

void TStringList::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    if (Value)
        Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (FCaseSensitive == Value)
        return;
    FCaseSensitive = Value;
    if (FSorted)
        Sort();
}

} // namespace vcl
