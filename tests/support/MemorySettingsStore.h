#pragma once
// A settings store held in memory, for tests that need a store but not a file. Values are keyed
// "section/name"; plain and binary values are kept apart, as the program's store keeps them.
#include "SettingsStore.h"

#include <map>
#include <optional>
#include <string>

namespace quillon {

class TMemorySettingsStore : public TSettingsStore {
public:
    std::map<std::string, std::string> Values; // "section/name" -> value
    std::map<std::string, TBytes> Binaries;    // "section/name" -> value

    std::optional<std::string> ReadValue(const std::string& Section, const std::string& Name) override {
        auto it = Values.find(Key(Section, Name));
        return it == Values.end() ? std::nullopt : std::optional(it->second);
    }
    void WriteValue(const std::string& Section, const std::string& Name, const std::string& Value) override {
        Values[Key(Section, Name)] = Value;
    }
    std::optional<TBytes> ReadBinary(const std::string& Section, const std::string& Name) override {
        auto it = Binaries.find(Key(Section, Name));
        return it == Binaries.end() ? std::nullopt : std::optional(it->second);
    }
    void WriteBinary(const std::string& Section, const std::string& Name, const TBytes& Value) override {
        Binaries[Key(Section, Name)] = Value;
    }
    bool SectionExists(const std::string& Section) override {
        return InSection(Values, Section) || InSection(Binaries, Section);
    }
    bool ValueExists(const std::string& Section, const std::string& Name) override {
        return Values.count(Key(Section, Name)) > 0 || Binaries.count(Key(Section, Name)) > 0;
    }
    void DeleteValue(const std::string& Section, const std::string& Name) override {
        Values.erase(Key(Section, Name));
        Binaries.erase(Key(Section, Name));
    }
    void EraseSection(const std::string& Section) override {
        EraseIn(Values, Section);
        EraseIn(Binaries, Section);
    }
    void DeleteKey() override {
        Values.clear();
        Binaries.clear();
    }

private:
    static std::string Key(const std::string& Section, const std::string& Name) { return Section + "/" + Name; }
    template <class M> static bool InSection(const M& Map, const std::string& Section) {
        auto it = Map.lower_bound(Section + "/");
        return it != Map.end() && it->first.compare(0, Section.size() + 1, Section + "/") == 0;
    }
    template <class M> static void EraseIn(M& Map, const std::string& Section) {
        while (InSection(Map, Section)) Map.erase(Map.lower_bound(Section + "/"));
    }
};

} // namespace quillon
