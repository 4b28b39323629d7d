// Words and integer answers read from a stream.
#include "plotcore/words.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using plotcore::int_status;
using plotcore::word_status;

std::FILE* stream_of(const std::string& text) {
  std::FILE* f = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  return f;
}

TEST(read_word, splits_on_any_white_space_and_keeps_29_characters) {
  for (bool console : {false, true}) {
    std::FILE* f = stream_of(
        " a\tbb\r\ncc\v\fdd\n"
        "123456789012345678901234567890123 next\x01\xff");
    static plotcore::byte_source s;
    plotcore::open_source(s, f, console);
    plotcore::word_buf w;
    std::vector<std::string> got;
    word_status st;
    while ((st = plotcore::read_word(s, w)) != word_status::end)
      got.push_back(std::string(w) + (st == word_status::truncated ? "~" : ""));
    const std::vector<std::string> expected = {
        "a", "bb", "cc", "dd", "12345678901234567890123456789~", "next\x01\xff"};
    EXPECT_EQ(got, expected) << (console ? "console" : "file");
    EXPECT_EQ(plotcore::read_word(s, w), word_status::end);
    std::fclose(f);
  }
}

TEST(read_word, keeps_nul_bytes_inside_a_word_and_says_so) {
  std::FILE* f = stream_of(std::string("ab\0cd ef", 8));
  static plotcore::byte_source s;
  plotcore::open_source(s, f, false);
  plotcore::word_buf w;
  ASSERT_EQ(plotcore::read_word(s, w), word_status::has_nul);
  EXPECT_EQ(std::string(w, 5), std::string("ab\0cd", 5));
  ASSERT_EQ(plotcore::read_word(s, w), word_status::ok);
  EXPECT_EQ(std::string(w), "ef");
  std::fclose(f);
}

struct bom_case {
  std::string bytes;
  std::vector<std::string> words;
};

// `text` in UTF-16 after its byte-order mark, in either byte order.
std::string utf16(const std::u16string& text, bool little) {
  std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += little ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

TEST(skip_byte_order_mark, skips_one_mark_at_the_very_start_only) {
  const std::string mark = "\xEF\xBB\xBF";
  // A pair whose halves lie in the first and the second block the source reads.
  const std::u16string across = std::u16string(8190, u' ') + u"\U0001F600x";
  const bom_case cases[] = {
      {mark + "0.25 11.4", {"0.25", "11.4"}},
      {mark, {}},
      {mark + "\n1", {"1"}},
      {mark + mark + "1", {mark + "1"}},  // only the first mark is skipped
      {" " + mark + "1", {mark + "1"}},   // not at the very start
      {"1 " + mark, {"1", mark}},
      {"\xEF\xBB", {"\xEF\xBB"}},  // too short to be a mark
      {std::string("\xEF\xBB\xBE") + "1", {std::string("\xEF\xBB\xBE") + "1"}},
      {"", {}},
      // The mark at the start of a file longer than one block.
      {mark + std::string(20000, ' ') + "7", {"7"}},
      // UTF-16: ASCII as its bytes, any other character, a pair or a lone half, as one '?'.
      {utf16(u"0.25 11.4\r\n", true), {"0.25", "11.4"}},
      {utf16(u"0.25 11.4\r\n", false), {"0.25", "11.4"}},
      {utf16(u"2\u00e91211\U0001F600 \xd800x \xdc00y", true), {"2?1211?", "?x", "?y"}},
      {utf16(u"2\u00e91211\U0001F600 \xd800x \xdc00y", false), {"2?1211?", "?x", "?y"}},
      {utf16(u"", true), {}},
      {utf16(u"7", true) + "8", {"7?"}},  // a last byte without its other half
      {utf16(across, true), {"?x"}},
      {utf16(across, false), {"?x"}},
      {"\xFF", {"\xFF"}},
  };
  for (const bom_case& c : cases) {
    std::FILE* f = stream_of(c.bytes);
    static plotcore::byte_source s;
    plotcore::open_source(s, f, false);
    plotcore::skip_byte_order_mark(s);
    plotcore::word_buf w;
    std::vector<std::string> got;
    while (plotcore::read_word(s, w) != word_status::end) got.push_back(w);
    EXPECT_EQ(got, c.words) << c.bytes.size() << " bytes";
    std::fclose(f);
  }
}

struct int_case {
  const char* word;
  int_status status;
  int value;
};

TEST(read_int, takes_only_whole_decimal_integers_within_int) {
  const int_case cases[] = {
      {"0", int_status::ok, 0},
      {"79", int_status::ok, 79},
      {"+7", int_status::ok, 7},
      {"-0", int_status::ok, 0},
      {"-12", int_status::ok, -12},
      {"2147483647", int_status::ok, 2147483647},
      {"-2147483648", int_status::ok, -2147483647 - 1},
      {"000000000000000000000000000000000000000042", int_status::ok, 42},
      {"2147483648", int_status::not_a_number, 0},
      {"-2147483649", int_status::not_a_number, 0},
      {"99999999999", int_status::not_a_number, 0},
      {"99999999999999999999999999999999999999", int_status::not_a_number, 0},
      {"1e3", int_status::not_a_number, 0},
      {"0x10", int_status::not_a_number, 0},
      {"+", int_status::not_a_number, 0},
      {"-", int_status::not_a_number, 0},
      {"1.0", int_status::not_a_number, 0},
      {"--1", int_status::not_a_number, 0},
      {"yes", int_status::not_a_number, 0},
  };
  for (const int_case& c : cases) {
    std::FILE* f = stream_of(std::string("  ") + c.word + "\n5");
    static plotcore::byte_source s;
    plotcore::open_source(s, f, true);
    int v = -99;
    EXPECT_EQ(plotcore::read_int(s, &v), c.status) << c.word;
    EXPECT_EQ(v, c.status == int_status::ok ? c.value : -99) << c.word;
    // The whole word was consumed: the next answer is read as it stands.
    EXPECT_EQ(plotcore::read_int(s, &v), int_status::ok) << c.word;
    EXPECT_EQ(v, 5);
    EXPECT_EQ(plotcore::read_int(s, &v), int_status::end);
    std::fclose(f);
  }
}

}  // namespace
