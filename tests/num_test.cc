// Numeric fields, label digits and the magnitude rule.
#include "plotcore/num.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "g9.h"

namespace {

struct num_case {
  const char* field;
  const char* expected;  // the single-precision result printed with "%.9g"
};

TEST(num, reads_fields_to_the_last_bit) {
  const num_case cases[] = {
      {"12.34", "12.3400002"},
      {"123", "123"},
      {"12.3V", "12.3000002"},
      {"", "0"},
      {"1.2.3", "1.23000002"},
      {"-1.5", "-28.5"},
      {"+3", "-47"},
      {"<14.5", "1214.5"},
      {"14.5:", "14.6000004"},
      {"00000000.5", "0.5"},
      {".747", "0.747000039"},
      {"1234567890123456789012345", "1.23456807e+20"},
      {"A12", "0"},
      {"15.9999999", "15.999999"},
      {"999999999999999999999", "1.00000002e+21"},
      {"0.1", "0.100000001"},
      {"99.99", "99.9899979"},
      {"@@", "176"},
      {"/", "-1"},
      {"12@3", "1363"},
      {"12\xC3\xA9", "12"},
  };
  for (const num_case& c : cases) {
    EXPECT_EQ(g9(plotcore::num(c.field)), c.expected) << "field \"" << c.field << "\"";
  }
}

TEST(num, scans_at_most_twenty_one_characters) {
  EXPECT_EQ(plotcore::num("1234567890123456789012345"), plotcore::num("123456789012345678901"));
  EXPECT_EQ(plotcore::num("0000000000000000000001"), 0.0f);
  EXPECT_EQ(plotcore::num("000000000000000000001"), 1.0f);
}

TEST(num, counts_any_byte_up_to_64_as_a_digit) {
  EXPECT_EQ(plotcore::num(" "), -16.0f);  // code 32
  EXPECT_EQ(plotcore::num("1,"), 6.0f);   // "," is -4: 10 - 4
  EXPECT_EQ(plotcore::num("@"), 16.0f);
  EXPECT_EQ(plotcore::num("9A9"), 9.0f);
  EXPECT_EQ(plotcore::num("9\x80"
                          "9"),
            9.0f);
}

TEST(num, rounds_product_and_sum_once) {
  // Rounding value x place to single precision first would give 0.746999979.
  EXPECT_EQ(g9(plotcore::num(".747")), "0.747000039");
}

struct label_case {
  int n;
  char tens;
  char units;
};

TEST(labels, give_digits_and_the_characters_around_them) {
  const label_case cases[] = {
      {0, '0', '0'},    {7, '0', '7'},   {12, '1', '2'},   {99, '9', '9'},
      {100, ':', '0'},  {109, ':', '9'}, {110, ';', '0'},  {125, '<', '5'},
      {-1, '0', '/'},   {-3, '0', '-'},  {-9, '0', '\''},  {-10, '/', '0'},
      {-19, '/', '\''}, {-20, '.', '0'}, {-29, '.', '\''}, {8, '0', '8'},
  };
  for (const label_case& c : cases) {
    EXPECT_EQ(plotcore::t2(c.n), c.tens) << c.n;
    EXPECT_EQ(plotcore::t1(c.n), c.units) << c.n;
  }
}

TEST(labels, keep_the_low_eight_bits_of_huge_values) {
  // 48 + 2147483647 / 10 = 214748412, whose low byte is 0xfc.
  EXPECT_EQ(static_cast<unsigned char>(plotcore::t2(2147483647)), 0xfc);
  EXPECT_EQ(plotcore::t1(2147483647), '7');
  // 48 - 214748364 = -214748316; its low byte is 0x64.
  EXPECT_EQ(static_cast<unsigned char>(plotcore::t2(-2147483647 - 1)), 0x64);
  EXPECT_EQ(plotcore::t1(-2147483647 - 1), '(');
  EXPECT_EQ(plotcore::t2(2080), '\0');  // 48 + 208 = 256
}

TEST(magnitude, above_twenty_is_divided_by_ten) {
  EXPECT_EQ(plotcore::magnitude_of("123"), 12.3f);
  EXPECT_EQ(plotcore::magnitude_of("115"), 11.5f);
  EXPECT_EQ(plotcore::magnitude_of("20"), 20.0f);
  EXPECT_EQ(plotcore::magnitude_of("20.0001"), plotcore::num("20.0001") / 10.0f);
  EXPECT_EQ(plotcore::magnitude_of("12.6"), plotcore::num("12.6"));
  EXPECT_EQ(plotcore::magnitude_of("-1.5"), -28.5f);
}

}  // namespace
