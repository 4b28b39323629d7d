// The means -n and -p write past the points magphase draws: exact, and rounded half up.
#include <gtest/gtest.h>

#include "magprep/modes.h"

namespace {

TEST(points, means_round_half_up_to_their_unit) {
  struct row {
    long long sum, count, unit, mean;
  };
  const row rows[] = {
      {3, 2, 1, 2},                                   // 1.5
      {-3, 2, 1, -1},                                 // -1.5: up, not away from zero
      {7, 3, 1, 2},                                   // 2.33
      {8, 3, 1, 3},                                   // 2.67
      {2999, 2, 1000, 1000},                          // 1499.5 is below the tie at 1500
      {3000, 2, 1000, 2000},                          // the tie
      {118000 + 120500, 2, 100, 119300},              // 11.80 and 12.05 to 11.93
      {750000000 + 750100000, 2, 100000, 750100000},  // phases 0.7500 and 0.7501 to 0.7501
      {200 * 88000000000000LL + 199, 200, 1, 88000000000001LL},  // 200 hours of year 9999
  };
  for (const row& r : rows)
    EXPECT_EQ(magprep::mean_in_units(r.sum, r.count, r.unit), r.mean)
        << r.sum << " / " << r.count << " in units of " << r.unit;
}

TEST(points, magnitudes_keep_their_decimals) {
  struct row {
    const char* digits;
    int ten_thousandths, decimals;
  };
  const row rows[] = {
      {"12", 120000, 0},       {"12.05", 120500, 2}, {"118", 118000, 1},
      {"11.23456", 112345, 4}, {"99999", 999999, 1},
  };
  for (const row& r : rows) {
    int decimals = -1;
    EXPECT_EQ(magprep::magnitude_ten_thousandths(r.digits, &decimals), r.ten_thousandths)
        << r.digits;
    EXPECT_EQ(decimals, r.decimals) << r.digits;
  }
}

}  // namespace
