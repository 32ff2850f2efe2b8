#pragma once
// The chart tables: everything known about the chart beyond the grid cells, in
// fixed bounds, every access bounds-checked.
#include <array>
#include <string>
#include <string_view>

namespace chart {

inline constexpr int kMaxPrograms = 50;       // ProductUrls / ProductDetails slots 1..50
inline constexpr int kTestCount = 6;          // TestPolicy tests 1..6
inline constexpr int kPolicySlots = 51;       // TestPolicy slots 0..50
inline constexpr int kMaxSubCriteria = kPolicySlots - 2;  // 49: count at 0, title at n+1
inline constexpr std::string_view BuiltInVersion = "10";

// A slot is only ever overwritten, never cleared, so that a reload changes
// exactly the slots the new files name. Reads outside the table give the
// empty string; writes outside it are dropped.
class ChartTables {
public:
    const std::string& ProductUrl(int row) const;
    void SetProductUrl(int row, std::string value);
    const std::string& ProductDetail(int row) const;
    void SetProductDetail(int row, std::string value);
    const std::string& TestPolicy(int test, int slot) const;
    void SetTestPolicy(int test, int slot, std::string value);

    std::string LatestVersion;
    std::string RequiredVersion;

private:
    std::array<std::string, kMaxPrograms + 1> productUrls_;     // [0] unused
    std::array<std::string, kMaxPrograms + 1> productDetails_;  // [0] unused
    std::array<std::array<std::string, kPolicySlots>, kTestCount + 1> testPolicy_;  // [0] unused
};

}  // namespace chart
