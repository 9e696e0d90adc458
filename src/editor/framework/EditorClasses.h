#pragma once
// The base pieces of the editor's settings objects:
// - TPersistent: an object with a published-property description, an owner and Assign;
// - TNotifyPersistent: a persistent object that reports every change through OnChange, with
//   BeginUpdate/EndUpdate to report a group of changes once;
// - TCollection and TNotifyCollection: owned items, the latter reporting changes of itself and of
//   its items;
// - TMethodList and TNotifyEventList: handlers called one after the other (a colourer tells all the
//   editors that share it);
// - TComponent, TStoreComponent (stores itself in one binary settings value) and TFileExtComponent
//   (adds a list of file extensions);
// - TStringList: the sorted, duplicate-free, case-insensitive string list that the components use.
//
// Constructors do their own class's work only: a descendant creates and initialises what it adds in
// its own constructor (C++ does not dispatch virtual calls to a descendant during construction).
#include "Errors.h"
#include "PropUtils.h"

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class TSettingsStore;

// Assigning between objects of unrelated classes.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class TPersistent {
public:
    TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;
    virtual ~TPersistent() = default;

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    const std::string& ClassName() const { return ClassInfo().ClassName; }

    // The object this one is a property of, or null.
    virtual TPersistent* GetOwner() const { return nullptr; }

    // Copies Source into this object; the base asks Source to assign itself, which raises
    // EConvertError "<source class> を <this class> に代入することはできません".
    virtual void Assign(const TPersistent& Source);

protected:
    virtual void AssignTo(TPersistent& Dest) const;
};

using TNotifyEvent = std::function<void(TPersistent* Sender)>;

// A handler that can be found again: an object and a member function of it.
struct TMethod {
    void (*Code)(void* Data, TPersistent* Sender) = nullptr;
    void* Data = nullptr;
    void operator()(TPersistent* Sender) const { Code(Data, Sender); }
    bool operator==(const TMethod&) const = default;
};

template <auto Method, class T> TMethod MakeMethod(T* Object) {
    return {[](void* data, TPersistent* sender) { (static_cast<T*>(data)->*Method)(sender); }, Object};
}

class TNotifyPersistent : public TPersistent {
public:
    QUILLON_CLASS_INFO

    TNotifyEvent OnChange;

    // Fires OnChange when no update is pending.
    virtual void Changed();
    virtual void BeginUpdate();
    // Closes one BeginUpdate, then Changed (which fires only when the last one is closed).
    virtual void EndUpdate();
    // The handler that contained objects get: a change of a part is a change of the whole.
    virtual void ChangedProc(TPersistent* Sender);
    TNotifyEvent ChangedHandler() {
        return [this](TPersistent* sender) { ChangedProc(sender); };
    }
    int UpdateCount() const { return FUpdateCount; }

protected:
    // Stores a changed value and reports the change.
    template <class T> void Store(T& Field, const T& Value) {
        if (Field == Value) return;
        Field = Value;
        Changed();
    }

private:
    int FUpdateCount = 0;
};

class TCollection;

class TCollectionItem : public TPersistent {
public:
    QUILLON_CLASS_INFO
    explicit TCollectionItem(TCollection* Collection) : FCollection(Collection) {}
    TCollection* Collection() const { return FCollection; }
    int Index() const;

protected:
    // Reports a change of this item to its collection.
    void Changed();

private:
    TCollection* FCollection; // the collection that owns the item
};

class TCollection : public TPersistent {
public:
    QUILLON_CLASS_INFO
    int Count() const { return static_cast<int>(FItems.size()); }
    TCollectionItem& Items(int Index) const;
    // Appends a new item made by CreateItem.
    virtual TCollectionItem& Add();
    void Delete(int Index);
    void Clear();
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // Calls Update when no update is pending.
    void Changed();
    // The most items the collection holds.
    virtual int MaxCount() const { return INT_MAX; }
    // The description of the items' class.
    virtual const TClassInfo& ItemClassInfo() const = 0;

protected:
    virtual std::unique_ptr<TCollectionItem> CreateItem() = 0;
    // The collection or one of its items changed.
    virtual void Update(TCollectionItem* Item);
    friend class TCollectionItem;

private:
    std::vector<std::unique_ptr<TCollectionItem>> FItems;
    int FUpdateCount = 0;
};

class TNotifyCollection : public TCollection {
public:
    QUILLON_CLASS_INFO
    explicit TNotifyCollection(TPersistent* Owner) : FOwner(Owner) {}
    TNotifyEvent OnChange;
    TPersistent* GetOwner() const override { return FOwner; }
    // A change of an item's part reports a change of the collection.
    virtual void ChangedProc(TPersistent* Sender);
    TNotifyEvent ChangedHandler() {
        return [this](TPersistent* sender) { ChangedProc(sender); };
    }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TPersistent* FOwner;
};

class TMethodList {
public:
    void Add(const TMethod& Method) { FItems.push_back(Method); }
    // Removes the last item equal to Method.
    void Remove(const TMethod& Method);
    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    const TMethod& operator[](int Index) const { return FItems[static_cast<std::size_t>(Index)]; }

private:
    std::vector<TMethod> FItems;
};

// Calls every handler, in the order of addition, with Owner as Sender.
class TNotifyEventList : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    explicit TNotifyEventList(TPersistent* Owner) : FOwner(Owner) {}
    TPersistent* GetOwner() const override { return FOwner; }
    virtual void Add(const TMethod& Handler) { FMethods.Add(Handler); }
    virtual void Remove(const TMethod& Handler) { FMethods.Remove(Handler); }
    const TMethodList& Methods() const { return FMethods; }
    void Changed() override;

private:
    TMethodList FMethods;
    TPersistent* FOwner;
};

// Compares two Shift-JIS strings with ASCII letters in either case equal (trail bytes are compared
// as they are); < 0, 0, > 0.
int CompareText(std::string_view A, std::string_view B);

// Sorted by CompareText, duplicates ignored.
class TStringList {
public:
    int Count() const { return static_cast<int>(FStrings.size()); }
    const std::string& operator[](int Index) const { return FStrings[static_cast<std::size_t>(Index)]; }
    const std::vector<std::string>& Strings() const { return FStrings; }
    // Answers the index of S (of the equal string already there for a duplicate).
    int Add(std::string S);
    // Binary search: true when found; Index is where S is or would be.
    bool Find(std::string_view S, int& Index) const;
    int IndexOf(std::string_view S) const;
    void Clear() { FStrings.clear(); }
    void Assign(const std::vector<std::string>& Strings);
    void Assign(const TStringList& Source) { FStrings = Source.FStrings; }
    bool operator==(const TStringList&) const = default;

private:
    std::vector<std::string> FStrings;
};

class TComponent : public TPersistent {
public:
    QUILLON_CLASS_INFO
    explicit TComponent(TComponent* Owner) : FOwner(Owner) {}
    TComponent* Owner() const { return FOwner; }
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TComponent* FOwner; // not owned
};

// A component that stores itself as one binary value of the settings store.
class TStoreComponent : public TComponent {
public:
    QUILLON_CLASS_INFO
    using TComponent::TComponent;
    void WriteToRegistry(TSettingsStore& Store, const std::string& Section, const std::string& ValueName) const;
    // An absent or empty value leaves the component unchanged; a corrupt one raises EReadError and
    // leaves it unchanged too.
    void ReadFromRegistry(TSettingsStore& Store, const std::string& Section, const std::string& ValueName);
};

class TFileExtComponent : public TStoreComponent {
public:
    QUILLON_CLASS_INFO
    using TStoreComponent::TStoreComponent;
    const TStringList& FileExtList() const { return FFileExtList; }
    void SetFileExtList(const TStringList& Value) { FFileExtList.Assign(Value); }
    // Ext is in FileExtList (case ignored).
    virtual bool HasExt(std::string_view Ext) const { return FFileExtList.IndexOf(Ext) >= 0; }

private:
    TStringList FFileExtList;
};

} // namespace quillon
