#pragma once
// String lists: the abstract TStrings and the stored, optionally sorted TStringList.
#include "vcl/core/classes.h"
#include "vcl/core/sysutils.h"

#include <QString>
#include <QList>
#include <QStringList>
#include <functional>

namespace vcl {

class TStream;

class EStringListError : public Exception { public: using Exception::Exception; };

enum TDuplicates { dupIgnore, dupAccept, dupError };

// One entry of a TStringList.
struct TStringItem {
    QString FString;
    TObject* FObject = nullptr;
};

// A list of strings, each with an associated object pointer (not owned).
// Descendants store the strings; TStrings builds everything else on Get, Put,
// Insert, Delete, Count and Clear.
class TStrings : public TPersistent {
public:
    virtual int Count() const = 0;
    QString Strings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const QString& S) { Put(Index, S); }
    QString operator[](int Index) const { return Get(Index); }
    TObject* Objects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

    // Appends S (a sorted list puts it in its place); returns its index.
    virtual int Add(const QString& S);
    int AddObject(const QString& S, TObject* AObject);
    void AddStrings(const TStrings& Strings);
    void Append(const QString& S) { Add(S); }
    virtual void Insert(int Index, const QString& S) = 0;
    void InsertObject(int Index, const QString& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    // Moves the string (and its object) at CurIndex so that it ends up at NewIndex.
    virtual void Move(int CurIndex, int NewIndex);
    virtual void Exchange(int Index1, int Index2);

    // Index of the first string equal to S (ignoring the case of a-z), or -1.
    virtual int IndexOf(const QString& S) const;
    int IndexOfObject(const TObject* AObject) const;
    // Index of the first "Name=Value" line with this name, or -1.
    int IndexOfName(const QString& Name) const;
    // The part before "=" of line Index ("" when the line has none).
    QString Names(int Index) const;
    // The part after "=" of the line named Name ("" when there is none).
    QString Values(const QString& Name) const;
    // Sets the value of the line named Name, adding a line or deleting it (empty Value).
    // Changing an existing line goes through Put, which a sorted TStringList refuses.
    void SetValues(const QString& Name, const QString& Value);

    // All lines, each ended by CR LF.
    QString Text() const;
    // Replaces the lines by those of Value, split at CR LF, LF or CR.
    void SetText(const QString& Value);
    // The lines separated by commas; lines that hold blanks, commas or quotes are quoted
    // with doubled inner quotes.
    QString CommaText() const;
    // Replaces the lines: items separated by commas or blanks, quoted items taken whole.
    void SetCommaText(const QString& Value);

    QStringList ToQStringList() const;
    void SetQStringList(const QStringList& List);

    bool Equals(const TStrings& Strings) const;

    // Reads UTF-8 text (lines as SetText) from the stream's position to its end.
    // Descendants that hold more than text (a rich-text document) read their own format.
    virtual void LoadFromStream(TStream& Stream);
    virtual void SaveToStream(TStream& Stream) const;
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName) const;

    // Between BeginUpdate and the matching EndUpdate, change events are held back and
    // sent once at the end.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Copies the strings and objects of another TStrings.
    void Assign(const TPersistent* Source) override;

protected:
    virtual QString Get(int Index) const = 0;
    virtual void Put(int Index, const QString& S);
    virtual TObject* GetObject(int Index) const;
    virtual void PutObject(int Index, TObject* AObject);
    // Called with true when the first BeginUpdate starts and false when the last
    // EndUpdate ends.
    virtual void SetUpdateState(bool Updating);
    // Compares two strings the way IndexOf and sorting do.
    virtual int CompareStrings(const QString& S1, const QString& S2) const;
    [[noreturn]] static void IndexError(int Index);

private:
    int FUpdateCount = 0;
};

// The stored string list.
class TStringList : public TStrings {
public:
    using TStringListSortCompare = std::function<int(TStringList& List, int Index1, int Index2)>;

    int Count() const override { return static_cast<int>(FList.size()); }
    int Add(const QString& S) override;
    void Insert(int Index, const QString& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void Move(int CurIndex, int NewIndex) override;
    void Exchange(int Index1, int Index2) override;
    int IndexOf(const QString& S) const override;

    // Binary search of a sorted list: true when S is there, Index its position (or
    // where it would be inserted).
    bool Find(const QString& S, int& Index) const;
    virtual void Sort();
    void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    // Sorting a list sorts its present strings at once.
    void SetSorted(bool Value);
    // What Add does with a string a sorted list already holds.
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    QString Get(int Index) const override;
    void Put(int Index, const QString& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const QString& S1, const QString& S2) const override;
    virtual void Changed();
    virtual void Changing();

private:
    void CheckIndex(int Index, int Limit) const;
    void InsertItem(int Index, const QString& S, TObject* AObject);
    [[noreturn]] static void SortedError();

    // A QList, which moves its relocatable items with memmove on insertion.
    QList<TStringItem> FList;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = dupIgnore;
};

} // namespace vcl

Q_DECLARE_TYPEINFO(vcl::TStringItem, Q_RELOCATABLE_TYPE);
