#include "vcl/core/strings.h"

#include "support/testsupport.h"
#include "vcl/core/streams.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vcl;

namespace {

QStringList Lines(const TStrings& list)
{
    return list.ToQStringList();
}

TStringList* MakeList(std::initializer_list<const char*> items)
{
    auto* list = new TStringList;
    for (const char* s : items)
        list->Add(s);
    return list;
}

struct ChangeCounter {
    int changing = 0;
    int changed = 0;
    void Attach(TStringList& list)
    {
        list.OnChanging = [this](TObject*) { ++changing; };
        list.OnChange = [this](TObject*) { ++changed; };
    }
};

} // namespace

TEST(StringList, AddInsertDeleteMoveExchange)
{
    std::unique_ptr<TStringList> list(MakeList({"a", "b", "c"}));
    list->Insert(0, "z");
    list->Insert(4, "end");
    EXPECT_EQ(Lines(*list), QStringList({"z", "a", "b", "c", "end"}));
    list->Delete(1);
    EXPECT_EQ(Lines(*list), QStringList({"z", "b", "c", "end"}));
    list->Move(0, 3);
    EXPECT_EQ(Lines(*list), QStringList({"b", "c", "end", "z"}));
    list->Move(3, 1);
    EXPECT_EQ(Lines(*list), QStringList({"b", "z", "c", "end"}));
    list->Exchange(0, 3);
    EXPECT_EQ(Lines(*list), QStringList({"end", "z", "c", "b"}));
    list->SetStrings(2, "C");
    EXPECT_EQ((*list)[2], QStringLiteral("C"));
    EXPECT_EQ(list->IndexOf("B"), 3);
    EXPECT_EQ(list->IndexOf("missing"), -1);
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
}

TEST(StringList, IndexErrorsNameTheIndexAndChangeNothingAndObjectsTravelWithTheirStrings)
{
    std::unique_ptr<TStringList> list(MakeList({"a", "b"}));
    EXPECT_THROW(list->Strings(2), EStringListError);
    EXPECT_THROW(list->Strings(-1), EStringListError);
    EXPECT_THROW(list->Insert(3, "x"), EStringListError);
    EXPECT_THROW(list->Delete(2), EStringListError);
    EXPECT_THROW(list->Move(0, 2), EStringListError);
    EXPECT_THROW(list->Exchange(0, 5), EStringListError);
    EXPECT_THROW(list->SetObjects(9, nullptr), EStringListError);
    try {
        list->Delete(7);
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (7)"));
    }
    EXPECT_EQ(Lines(*list), QStringList({"a", "b"}));

    // Objects travel with their strings.
    TObject one, two, three;
    TStringList paired;
    paired.AddObject("one", &one);
    paired.AddObject("two", &two);
    paired.InsertObject(0, "three", &three);
    paired.Move(0, 2);
    EXPECT_EQ(paired.Objects(2), &three);
    EXPECT_EQ(paired.Objects(0), &one);
    paired.Exchange(0, 1);
    EXPECT_EQ(paired.Objects(0), &two);
    EXPECT_EQ(paired.IndexOfObject(&one), 1);
    paired.SetSorted(true);
    EXPECT_EQ(Lines(paired), QStringList({"one", "three", "two"}));
    EXPECT_EQ(paired.Objects(1), &three);
}

TEST(StringList, SortedListsKeepOrderAndApplyTheDuplicatesRule)
{
    TStringList list;
    list.SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig", "apple"})
        list.Add(s);
    // dupIgnore: the second "apple" is not added; comparison ignores case.
    EXPECT_EQ(Lines(list), QStringList({"Apple", "fig", "pear"}));
    EXPECT_EQ(list.Add("APPLE"), 0);
    EXPECT_EQ(list.IndexOf("PEAR"), 2);

    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add("Fig"), EStringListError);
    EXPECT_EQ(list.Count(), 3);

    list.SetDuplicates(dupAccept);
    EXPECT_EQ(list.Add("Fig"), 1);
    EXPECT_EQ(list.Add("banana"), 1);
    EXPECT_EQ(Lines(list), QStringList({"Apple", "banana", "Fig", "fig", "pear"}));
    int index = -1;
    EXPECT_TRUE(list.Find("FIG", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find("cherry", index));
    EXPECT_EQ(index, 2);

    // Operations that would break the order are refused and lose nothing.
    EXPECT_THROW(list.Insert(0, "zz"), EStringListError);
    EXPECT_THROW(list.Move(0, 4), EStringListError);
    EXPECT_THROW(list.Exchange(0, 4), EStringListError);
    EXPECT_THROW(list.SetStrings(0, "zz"), EStringListError);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list[0], QStringLiteral("Apple"));
}

TEST(StringList, CaseSensitiveAndCustomSortingAndSearch)
{
    TStringList list;
    list.SetCaseSensitive(true);
    list.SetSorted(true);
    list.Add("b");
    list.Add("B");
    list.Add("a");
    EXPECT_EQ(Lines(list), QStringList({"B", "a", "b"}));
    EXPECT_EQ(list.IndexOf("A"), -1);
    list.SetCaseSensitive(false);
    EXPECT_EQ(list[0], QStringLiteral("a"));
    EXPECT_EQ(list.IndexOf("A"), 0);

    // A custom sort sees the original indices.
    std::unique_ptr<TStringList> lengths(MakeList({"ccc", "a", "bb", "dd"}));
    lengths->CustomSort([](TStringList& l, int i, int j) { return static_cast<int>(l[i].size() - l[j].size()); });
    // Equal lengths keep their order.
    EXPECT_EQ(Lines(*lengths), QStringList({"a", "bb", "dd", "ccc"}));
}

TEST(StringList, TextWritesCrLfAndReadsAnyLineEnd)
{
    std::unique_ptr<TStringList> list(MakeList({"a", "", "b"}));
    EXPECT_EQ(list->Text(), QStringLiteral("a\r\n\r\nb\r\n"));

    struct Case {
        const char* text;
        QStringList lines;
    } const cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\n", {""}},
        {"\r\n\r\n", {"", ""}},
        // LF CR is two line ends, CR LF one.
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
    };
    for (const auto& c : cases) {
        list->SetText(QString::fromUtf8(c.text));
        EXPECT_EQ(Lines(*list), c.lines) << c.text;
    }
    TStringList copy;
    list->SetText("x\r\n\r\ny");
    copy.SetText(list->Text());
    EXPECT_TRUE(copy.Equals(*list));
}

TEST(StringList, CommaTextReadsWritesAndRoundTrips)
{
    std::unique_ptr<TStringList> list(MakeList({"a", "b c", "d\"e", "f,g"}));
    EXPECT_EQ(list->CommaText(), QStringLiteral("a,\"b c\",\"d\"\"e\",\"f,g\""));

    struct Case {
        const char* text;
        QStringList items;
    } const cases[] = {
        {"", {}},
        {"a,b", {"a", "b"}},
        {"  a , b  ", {"a", "b"}},
        {"a b", {"a", "b"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a"}},
        {"\"\"", {""}},
        {"\"x y\",\"say \"\"hi\"\"\"", {"x y", "say \"hi\""}},
        {"\"unterminated", {"unterminated"}},
        {"\"a\"b", {"a", "b"}},
    };
    for (const auto& c : cases) {
        list->SetCommaText(QString::fromUtf8(c.text));
        EXPECT_EQ(Lines(*list), c.items) << c.text;
    }
    // Every item survives the round trip.
    const QStringList items = {"", "plain", "two words", "quote\"d", "comma,", "tab\there", "", "é"};
    list->SetQStringList(items);
    TStringList back;
    back.SetCommaText(list->CommaText());
    EXPECT_EQ(Lines(back), items);
}

TEST(StringList, ChangeEventsAreHeldDuringUpdatesAndSeeTheNewContent)
{
    TStringList list;
    ChangeCounter counter;
    counter.Attach(list);
    list.Add("a");
    list.Add("b");
    EXPECT_EQ(counter.changing, 2);
    EXPECT_EQ(counter.changed, 2);

    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("c");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(counter.changed, 2);
    list.EndUpdate();
    EXPECT_EQ(counter.changing, 3);
    EXPECT_EQ(counter.changed, 3);

    // Setting the text is one change however many lines it holds.
    list.SetText("1\n2\n3\n4");
    EXPECT_EQ(counter.changed, 4);
    // Clearing an empty list and refused operations change nothing.
    list.Clear();
    list.Clear();
    EXPECT_EQ(counter.changed, 5);
    EXPECT_THROW(list.Delete(0), EStringListError);
    EXPECT_EQ(counter.changed, 5);
    // A stray EndUpdate does not send the count below zero.
    list.EndUpdate();
    list.Add("x");
    EXPECT_EQ(counter.changed, 6);

    // OnChange sees the new content.
    QStringList seen;
    list.OnChange = [&](TObject* sender) { seen << static_cast<TStringList*>(sender)->Text(); };
    list.Add("a");
    list.Insert(0, "b");
    EXPECT_EQ(seen, QStringList({"x\r\na\r\n", "b\r\nx\r\na\r\n"}));
}

TEST(StringList, AssignAddStringsNamesAndValues)
{
    std::unique_ptr<TStringList> source(MakeList({"x", "y"}));
    TObject marker;
    source->SetObjects(1, &marker);
    TStringList target;
    target.Add("old");
    ChangeCounter counter;
    counter.Attach(target);
    target.Assign(source.get());
    EXPECT_EQ(Lines(target), QStringList({"x", "y"}));
    EXPECT_EQ(target.Objects(1), &marker);
    EXPECT_EQ(counter.changed, 1);

    target.AddStrings(target);
    EXPECT_EQ(Lines(target), QStringList({"x", "y", "x", "y"}));
    target.Assign(&target);
    EXPECT_EQ(target.Count(), 4);

    TPersistent other;
    try {
        target.Assign(&other);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a TPersistent to a TStringList"));
    }

    // Names and values.
    std::unique_ptr<TStringList> list(MakeList({"Width=10", "plain", "Height=20", "Empty="}));
    EXPECT_EQ(list->Values("height"), QStringLiteral("20"));
    EXPECT_EQ(list->Values("Empty"), QString());
    EXPECT_EQ(list->Values("plain"), QString());
    EXPECT_EQ(list->Names(0), QStringLiteral("Width"));
    EXPECT_EQ(list->Names(1), QString());
    EXPECT_EQ(list->IndexOfName("EMPTY"), 3);
    list->SetValues("Width", "11");
    list->SetValues("Depth", "5");
    list->SetValues("Height", "");
    EXPECT_EQ(Lines(*list), QStringList({"Width=11", "plain", "Empty=", "Depth=5"}));
}

TEST(StringList, FilesHoldUtf8WithCrLf)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("lines.txt");
    std::unique_ptr<TStringList> list(MakeList({"grüße", "", "end"}));
    list->SaveToFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("gr\xc3\xbc\xc3\x9f" "e\r\n\r\nend\r\n"));

    TStringList back;
    back.LoadFromFile(path);
    EXPECT_TRUE(back.Equals(*list));
    EXPECT_THROW(back.LoadFromFile(dir.filePath("missing.txt")), EFOpenError);

    // Loading from a stream reads from its position on.
    TMemoryStream stream(QByteArray("skip\nkeep\n"));
    stream.SetPosition(5);
    back.LoadFromStream(stream);
    EXPECT_EQ(Lines(back), QStringList({"keep"}));
}
