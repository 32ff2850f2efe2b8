#pragma once
// Who a program is from one chart to the next: the same page address; then the
// same name; then, among programs of one name, the n-th of one chart is the
// n-th of the other.
#include <string>
#include <string_view>
#include <vector>

namespace chart {

// A program as a list gives it: its page address as the chart holds it, and
// its name as the caller compares names (the compare model gives them as
// shown, so a name written in Windows-1252 or in UTF-8 is one name).
struct ProgramRecord {
    std::string_view address;
    std::string_view name;
};

// What finds a program again at the next start (kept in the user's
// settings): the page address, then the name.
struct ProgramKey {
    std::string address;  // the program's own page as the viewer opens it; "" when it has none
    std::string name;
    int ordinal = 1;  // the n-th program of its name, in the chart's order

    bool operator==(const ProgramKey&) const = default;
};

// The programs of one chart, as identities (indices follow the list given).
class ProgramIdentities {
public:
    ProgramIdentities() = default;
    explicit ProgramIdentities(const std::vector<ProgramRecord>& programs);

    int Count() const { return static_cast<int>(programs_.size()); }
    // The page as the viewer opens it; "" for an address it does not open.
    const std::string& Address(int index) const { return programs_[Slot(index)].address; }
    const std::string& Name(int index) const { return programs_[Slot(index)].name; }
    // The address identifies the program: a page no other program of the list has.
    bool HasOwnAddress(int index) const { return programs_[Slot(index)].ownAddress; }
    ProgramKey Key(int index) const;
    // The program a key names, or -1: its page if one has it, else the
    // key's ordinal among the programs of its name.
    int Find(const ProgramKey& key) const;

private:
    struct Program {
        std::string address;
        std::string name;
        bool ownAddress = false;
        int ordinal = 1;
    };
    static std::size_t Slot(int index) { return static_cast<std::size_t>(index); }

    std::vector<Program> programs_;
};

// A program of the list before and of the list after, or of one of them.
struct ProgramPair {
    int before = -1;  // its index before; -1: added
    int after = -1;   // its index after; -1: removed
    bool renamed = false;
    bool readdressed = false;  // its page as the viewer opens it changed
    // Its place among the programs both lists hold changed (not a shift made
    // by one added or removed).
    bool moved = false;
};

// Every program after, in its order (paired or added), then every program
// removed, in the order before. Names pair only the programs the addresses
// leave over (none of their own, one two programs share, or changed).
std::vector<ProgramPair> MatchPrograms(const ProgramIdentities& before, const ProgramIdentities& after);

}  // namespace chart
