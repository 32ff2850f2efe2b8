// Who a program is from one chart to the next: by page address, then name, then place.
#include "chart/compare/program_identity.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "chart/details/web_address.h"

namespace chart {
namespace {

// Longer addresses identify nothing: no browser takes them reliably, and a
// key is kept in the user's settings.
constexpr std::size_t kMaxAddressBytes = 2048;

std::string OpenedAddress(std::string_view address) {
    if (address.size() > kMaxAddressBytes) return {};
    std::string opened = AddressToOpen(address).value_or(std::string());
    return opened.size() > kMaxAddressBytes ? std::string() : opened;
}

// Each name's programs, in the list's order, less those already paired.
std::map<std::string_view, std::vector<int>> LeftByName(const ProgramIdentities& list,
                                                        const std::vector<bool>& paired) {
    std::map<std::string_view, std::vector<int>> left;
    for (int i = 0; i < list.Count(); ++i)
        if (!paired[static_cast<std::size_t>(i)]) left[list.Name(i)].push_back(i);
    return left;
}

void MarkMoved(std::vector<ProgramPair>& pairs) {
    // In the order after, the programs both lists hold should keep their order before.
    std::vector<int> before;
    for (const ProgramPair& pair : pairs)
        if (pair.before >= 0 && pair.after >= 0) before.push_back(pair.before);
    std::vector<int> sorted = before;
    std::sort(sorted.begin(), sorted.end());
    std::size_t rank = 0;
    for (ProgramPair& pair : pairs)
        if (pair.before >= 0 && pair.after >= 0) pair.moved = sorted[rank++] != pair.before;
}

}  // namespace

ProgramIdentities::ProgramIdentities(const std::vector<ProgramRecord>& programs) {
    std::unordered_map<std::string, int> pages;
    std::unordered_map<std::string_view, int> names;
    programs_.reserve(programs.size());
    for (const ProgramRecord& record : programs) {
        Program& program = programs_.emplace_back();
        program.address = OpenedAddress(record.address);
        program.name = record.name;
        if (!program.address.empty()) ++pages[program.address];
    }
    for (Program& program : programs_) {
        program.ownAddress = !program.address.empty() && pages[program.address] == 1;
        program.ordinal = ++names[program.name];
    }
}

ProgramKey ProgramIdentities::Key(int index) const {
    const Program& program = programs_[Slot(index)];
    return {program.ownAddress ? program.address : std::string(), program.name, program.ordinal};
}

int ProgramIdentities::Find(const ProgramKey& key) const {
    if (!key.address.empty())
        for (int i = 0; i < Count(); ++i)
            if (HasOwnAddress(i) && Address(i) == key.address) return i;
    for (int i = 0; i < Count(); ++i)
        if (Name(i) == key.name && programs_[Slot(i)].ordinal == key.ordinal) return i;
    return -1;
}

std::vector<ProgramPair> MatchPrograms(const ProgramIdentities& before, const ProgramIdentities& after) {
    std::vector<int> afterOf(static_cast<std::size_t>(before.Count()), -1);
    std::vector<int> beforeOf(static_cast<std::size_t>(after.Count()), -1);
    const auto pair = [&](int b, int a) {
        afterOf[static_cast<std::size_t>(b)] = a;
        beforeOf[static_cast<std::size_t>(a)] = b;
    };

    std::unordered_map<std::string_view, int> pages;
    for (int a = 0; a < after.Count(); ++a)
        if (after.HasOwnAddress(a)) pages.emplace(after.Address(a), a);
    for (int b = 0; b < before.Count(); ++b) {
        if (!before.HasOwnAddress(b)) continue;
        const auto found = pages.find(before.Address(b));
        if (found != pages.end()) pair(b, found->second);
    }

    std::vector<bool> pairedBefore(afterOf.size()), pairedAfter(beforeOf.size());
    for (std::size_t b = 0; b < afterOf.size(); ++b) pairedBefore[b] = afterOf[b] >= 0;
    for (std::size_t a = 0; a < beforeOf.size(); ++a) pairedAfter[a] = beforeOf[a] >= 0;
    const auto leftAfter = LeftByName(after, pairedAfter);
    for (const auto& [name, rowsBefore] : LeftByName(before, pairedBefore)) {
        const auto found = leftAfter.find(name);
        if (found == leftAfter.end()) continue;
        const std::size_t both = std::min(rowsBefore.size(), found->second.size());
        for (std::size_t i = 0; i < both; ++i) pair(rowsBefore[i], found->second[i]);
    }

    std::vector<ProgramPair> pairs;
    for (int a = 0; a < after.Count(); ++a) {
        const int b = beforeOf[static_cast<std::size_t>(a)];
        ProgramPair& p = pairs.emplace_back(ProgramPair{.before = b, .after = a});
        if (b < 0) continue;
        p.renamed = before.Name(b) != after.Name(a);
        p.readdressed = before.Address(b) != after.Address(a);
    }
    MarkMoved(pairs);
    for (int b = 0; b < before.Count(); ++b)
        if (afterOf[static_cast<std::size_t>(b)] < 0) pairs.push_back({.before = b});
    return pairs;
}

}  // namespace chart
