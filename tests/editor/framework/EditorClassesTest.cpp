#include "EditorClasses.h"
#include "Colors.h"
#include "MemorySettingsStore.h"
#include "StreamUtils.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

class TTestPart : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    int Size() const { return FSize; }
    void SetSize(int v) {
        FSize = v;
        Changed();
    }
    enum TKind { kOne, kTwo, kThree };
    TKind Kind() const { return FKind; }
    void SetKind(TKind v) { FKind = v; }

private:
    int FSize = 1;
    TKind FKind = kOne;
};

const TClassInfo& TTestPart::StaticClassInfo() {
    static const TClassInfo info{"TTestPart",
                                 &TNotifyPersistent::StaticClassInfo(),
                                 {IntProp("Size", &TTestPart::Size, &TTestPart::SetSize),
                                  EnumProp("Kind", &TTestPart::Kind, &TTestPart::SetKind, {"kOne", "kTwo", "kThree"})}};
    return info;
}

class TTestItem : public TCollectionItem {
public:
    QUILLON_CLASS_INFO
    using TCollectionItem::TCollectionItem;
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v) { FText = v; }
    TTestPart& Part() const { return *FPart; }

private:
    std::string FText;
    std::unique_ptr<TTestPart> FPart = std::make_unique<TTestPart>();
};

const TClassInfo& TTestItem::StaticClassInfo() {
    static const TClassInfo info{
        "TTestItem",
        &TCollectionItem::StaticClassInfo(),
        {StrProp("Text", &TTestItem::Text, &TTestItem::SetText), ObjProp("Part", &TTestItem::Part)}};
    return info;
}

class TTestItems : public TNotifyCollection {
public:
    QUILLON_CLASS_INFO
    using TNotifyCollection::TNotifyCollection;
    int MaxCount() const override { return 3; }
    const TClassInfo& ItemClassInfo() const override { return TTestItem::StaticClassInfo(); }
    TTestItem& Item(int i) const { return static_cast<TTestItem&>(Items(i)); }

protected:
    std::unique_ptr<TCollectionItem> CreateItem() override { return std::make_unique<TTestItem>(this); }
};

const TClassInfo& TTestItems::StaticClassInfo() {
    static const TClassInfo info{"TTestItems", &TNotifyCollection::StaticClassInfo(), {}};
    return info;
}

class TTestComponent : public TFileExtComponent {
public:
    QUILLON_CLASS_INFO
    TTestComponent() : TFileExtComponent(nullptr) {}
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    bool Flag() const { return FFlag; }
    void SetFlag(bool v) { FFlag = v; }
    std::uint8_t Styles() const { return FStyles; }
    void SetStyles(std::uint8_t v) { FStyles = v; }
    TTestPart& Part() const { return *FPart; }
    TTestItems& Items() const { return *FItems; }

private:
    TColor FColor = clNone;
    bool FFlag = false;
    std::uint8_t FStyles = 0;
    std::unique_ptr<TTestPart> FPart = std::make_unique<TTestPart>();
    std::unique_ptr<TTestItems> FItems = std::make_unique<TTestItems>(this);
};

const TClassInfo& TTestComponent::StaticClassInfo() {
    static const TClassInfo info{
        "TTestComponent",
        &TFileExtComponent::StaticClassInfo(),
        {ColorProp("Color", &TTestComponent::Color, &TTestComponent::SetColor),
         BoolProp("Flag", &TTestComponent::Flag, &TTestComponent::SetFlag),
         SetProp("Styles", &TTestComponent::Styles, &TTestComponent::SetStyles, {"sA", "sB", "sC"}),
         ObjProp("Part", &TTestComponent::Part), ObjProp("Items", &TTestComponent::Items)}};
    return info;
}

void Fill(TTestComponent& c) {
    c.SetColor(clRed);
    c.SetFlag(true);
    c.SetStyles(5);
    c.Part().SetSize(42);
    c.Part().SetKind(TTestPart::kThree);
    TStringList ext;
    ext.Add("lst");
    ext.Add("TXT");
    c.SetFileExtList(ext);
    for (const char* t : {"(", "\x82\xa0"}) {
        auto& item = static_cast<TTestItem&>(c.Items().Add());
        item.SetText(t);
        item.Part().SetSize(static_cast<int>(std::string(t).size()) + 10);
    }
}

void ExpectFilled(const TTestComponent& c) {
    EXPECT_EQ(c.Color(), clRed);
    EXPECT_TRUE(c.Flag());
    EXPECT_EQ(c.Styles(), 5);
    EXPECT_EQ(c.Part().Size(), 42);
    EXPECT_EQ(c.Part().Kind(), TTestPart::kThree);
    EXPECT_EQ(c.FileExtList().Strings(), (std::vector<std::string>{"lst", "TXT"}));
    ASSERT_EQ(c.Items().Count(), 2);
    EXPECT_EQ(c.Items().Item(1).Text(), "\x82\xa0");
    EXPECT_EQ(c.Items().Item(1).Part().Size(), 12);
}

TEST(NotifyPersistent, UpdateBracketReportsOnce) {
    TTestPart p;
    int n = 0;
    p.OnChange = [&](TPersistent* s) {
        EXPECT_EQ(s, &p);
        ++n;
    };
    p.BeginUpdate();
    p.BeginUpdate();
    p.SetSize(2);
    p.SetSize(3);
    p.SetSize(4);
    p.EndUpdate();
    EXPECT_EQ(n, 0);
    p.EndUpdate();
    EXPECT_EQ(n, 1);
    p.ChangedProc(&p);
    EXPECT_EQ(n, 1);
    TTestPart other;
    p.ChangedProc(&other);
    EXPECT_EQ(n, 2);
}

TEST(NotifyPersistent, CollectionReportsItsChanges) {
    TTestItems items(nullptr);
    int n = 0;
    items.OnChange = [&](TPersistent*) { ++n; };
    items.Add();
    EXPECT_EQ(n, 1);
    items.BeginUpdate();
    items.Add();
    items.Add();
    items.EndUpdate();
    EXPECT_EQ(n, 2);
    items.ChangedProc(&items);
    EXPECT_EQ(n, 2);
    items.ChangedProc(&items.Item(0));
    EXPECT_EQ(n, 3);
}

struct THandler {
    void Call(TPersistent* s) { log->push_back({this, s}); }
    std::vector<std::pair<THandler*, TPersistent*>>* log;
};

TEST(NotifyEventList, CallsEveryHandlerInOrderWithTheOwner) {
    std::vector<std::pair<THandler*, TPersistent*>> log;
    THandler a{&log}, b{&log};
    TTestPart owner;
    TNotifyEventList list(&owner);
    list.Add(MakeMethod<&THandler::Call>(&a));
    list.Add(MakeMethod<&THandler::Call>(&b));
    list.Add(MakeMethod<&THandler::Call>(&a));
    list.ChangedProc(nullptr);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].first, &a);
    EXPECT_EQ(log[1].first, &b);
    EXPECT_EQ(log[2].second, &owner);
    // Remove takes the later of two equal handlers.
    list.Remove(MakeMethod<&THandler::Call>(&a));
    ASSERT_EQ(list.Methods().Count(), 2);
    EXPECT_EQ(list.Methods()[0], MakeMethod<&THandler::Call>(&a));
    EXPECT_EQ(list.Methods()[1], MakeMethod<&THandler::Call>(&b));
    log.clear();
    list.BeginUpdate();
    list.Changed();
    EXPECT_TRUE(log.empty());
    list.EndUpdate();
    EXPECT_EQ(log.size(), 2u);
}

TEST(FileExtComponent, HasExtIgnoresCase) {
    TTestComponent c;
    TStringList ext;
    ext.Add("lst");
    ext.Add("LST");
    c.SetFileExtList(ext);
    EXPECT_EQ(c.FileExtList().Count(), 1);
    EXPECT_TRUE(c.HasExt("LST"));
    EXPECT_FALSE(c.HasExt("ls"));
}

TEST(StringList, CaseFoldsOnlySingleByteLetters) {
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    // 0x88 0x61 and 0x88 0x41 are two different kanji: their trail bytes must not be case-folded.
    EXPECT_NE(CompareText("\x88\x61", "\x88\x41"), 0);
    TStringList l;
    l.Add("b");
    l.Add("A");
    l.Add("a");
    EXPECT_EQ(l.Strings(), (std::vector<std::string>{"A", "b"}));
}

TEST(Persistent, AssignBetweenUnrelatedClassesRaises) {
    TTestPart p;
    TTestComponent c;
    try {
        p.Assign(c);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "TTestComponent を TTestPart に代入することはできません");
    }
}

TEST(Streaming, RoundTripInMemory) {
    TTestComponent a, b;
    Fill(a);
    b.Items().Add(); // replaced by the stream's items
    ReadComponent(WriteComponent(a), b);
    ExpectFilled(b);
}

// A value set back to its default must survive: every property is written.
TEST(Streaming, DefaultsAreWrittenToo) {
    TTestComponent a, b;
    Fill(b);
    b.Items().Clear();
    ReadComponent(WriteComponent(a), b);
    EXPECT_EQ(b.Color(), clNone);
    EXPECT_FALSE(b.Flag());
    EXPECT_EQ(b.Part().Size(), 1);
    EXPECT_EQ(b.FileExtList().Count(), 0);
}

TEST(Streaming, EveryTruncationIsRejectedAndChangesNothing) {
    TTestComponent a;
    Fill(a);
    TBytes bytes = WriteComponent(a);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        TTestComponent b;
        TBytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_THROW(ReadComponent(cut, b), EReadError) << n;
        EXPECT_EQ(b.Color(), clNone) << n;
        EXPECT_EQ(b.Items().Count(), 0) << n;
    }
}

TEST(Streaming, HostileValuesAreRejected) {
    TTestComponent a;
    Fill(a);
    TBytes good = WriteComponent(a);
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s(good.begin(), good.end());
        std::size_t at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        s.replace(at, from.size(), to);
        return TBytes(s.begin(), s.end());
    };
    // Another class, an unknown colour, an unknown enumeration value, a tag that does not fit the property.
    const TBytes bad[] = {replaced("TTestComponent", "TTestKomponent"), replaced("clRed", "clRot"),
                          replaced("kThree", "kFour!"),
                          replaced(std::string("T\x04\0\0\0Text", 9), std::string("E\x04\0\0\0Text", 9))};
    for (const TBytes& b : bad) {
        TTestComponent c;
        EXPECT_THROW(ReadComponent(b, c), EReadError);
        EXPECT_EQ(c.Part().Size(), 1);
    }
    // Too many items for the collection.
    TTestComponent many;
    for (int i = 0; i < 4; ++i) static_cast<TTestItem&>(static_cast<TNotifyCollection&>(many.Items()).Add());
    TTestComponent c;
    EXPECT_THROW(ReadComponent(WriteComponent(many), c), EReadError);
    // An absurd count.
    TBytes absurd = replaced(std::string("\x02\x00\x00\x00", 4) + "\x03\x00\x00\x00lst",
                             std::string("\xFF\xFF\xFF\x7F", 4) + "\x03\x00\x00\x00lst");
    EXPECT_THROW(ReadComponent(absurd, c), EReadError);
    EXPECT_TRUE(c.FileExtList().Strings().empty());
}

TEST(Streaming, UnknownPropertiesArePassedOver) {
    TTestComponent a;
    Fill(a);
    TBytes bytes = WriteComponent(a);
    std::string s(bytes.begin(), bytes.end());
    s.replace(s.find("Flag"), 4, "Flog");
    TTestComponent b;
    ReadComponent(TBytes(s.begin(), s.end()), b);
    EXPECT_FALSE(b.Flag());
    EXPECT_EQ(b.Color(), clRed);
}

TEST(Streaming, ThroughTheSettingsStore) {
    TMemorySettingsStore store;
    {
        TTestComponent a;
        Fill(a);
        a.WriteToRegistry(store, "ColourerProperties", "Test");
    }
    TTestComponent b;
    b.ReadFromRegistry(store, "ColourerProperties", "Test");
    ExpectFilled(b);
    TTestComponent c;
    c.SetColor(clLime);
    c.ReadFromRegistry(store, "ColourerProperties", "Absent");
    EXPECT_EQ(c.Color(), clLime);
}

} // namespace
} // namespace quillon
