// The chart tables' bounds-checked slots.
#include "chart/tables/chart_tables.h"

namespace chart {
namespace {

const std::string kEmpty;

bool IsProgramSlot(int row) { return row >= 1 && row <= kMaxPrograms; }

bool IsPolicySlot(int test, int slot) {
    return test >= 1 && test <= kTestCount && slot >= 0 && slot < kPolicySlots;
}

}  // namespace

const std::string& ChartTables::ProductUrl(int row) const {
    return IsProgramSlot(row) ? productUrls_[row] : kEmpty;
}

void ChartTables::SetProductUrl(int row, std::string value) {
    if (IsProgramSlot(row)) productUrls_[row] = std::move(value);
}

const std::string& ChartTables::ProductDetail(int row) const {
    return IsProgramSlot(row) ? productDetails_[row] : kEmpty;
}

void ChartTables::SetProductDetail(int row, std::string value) {
    if (IsProgramSlot(row)) productDetails_[row] = std::move(value);
}

const std::string& ChartTables::TestPolicy(int test, int slot) const {
    return IsPolicySlot(test, slot) ? testPolicy_[test][slot] : kEmpty;
}

void ChartTables::SetTestPolicy(int test, int slot, std::string value) {
    if (IsPolicySlot(test, slot)) testPolicy_[test][slot] = std::move(value);
}

}  // namespace chart
