// Range, drawing and writing of the character graph.
#include "plotcore/graph.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>

#include "plotcore/num.h"

namespace {

using plotcore::canvas;
using plotcore::graph_range;
using plotcore::obs_table;
using plotcore::x_kind;

obs_table& table_of(obs_table& t, std::initializer_list<std::pair<float, float>> obs) {
  t.count = 0;
  t.limit = plotcore::max_obs;
  for (const auto& o : obs) plotcore::add_obs(t, o.first, o.second);
  return t;
}

// What write_rows gives, as one string.
std::string rows_of(const canvas& c, int mag_len, int x_len) {
  std::FILE* f = std::tmpfile();
  EXPECT_TRUE(plotcore::write_rows(c, mag_len, x_len, f));
  std::string s;
  std::rewind(f);
  for (int ch = std::getc(f); ch != EOF; ch = std::getc(f)) s += static_cast<char>(ch);
  std::fclose(f);
  return s;
}

std::string lines(std::initializer_list<const char*> rows) {
  std::string s;
  for (const char* r : rows) s += std::string(r) + "\n";
  return s;
}

// Draws the table with its own range (or the phase axis) and returns the written rows.
std::string drawn(const obs_table& t, int mag_len, int x_len, x_kind kind) {
  static canvas c;
  graph_range r = plotcore::find_range(t);
  if (kind == x_kind::phase) {
    r.x_max = 10;
    r.x_min = 0;
  }
  plotcore::draw_graph(c, t, r, mag_len, x_len, kind);
  return rows_of(c, mag_len, x_len);
}

// ---- range ----

struct range_case {
  const char* what;
  std::initializer_list<std::pair<float, float>> obs;
  graph_range expected;
};

TEST(find_range, takes_whole_number_bounds_of_all_observations) {
  const range_case cases[] = {
      {"empty table keeps the seeds", {}, {-98, 99, -98, 99}},
      {"one observation", {{5.5f, 10.2f}}, {11, 10, 6, 5}},
      {"two observations", {{20.5f, 11.8f}, {22.25f, 12.6f}}, {13, 11, 23, 20}},
      {"sum formed in double", {{1.0f, plotcore::num("15.9999999")}}, {16, 15, 2, 1}},
      {"whole values", {{3.0f, 12.0f}}, {13, 12, 4, 3}},
      {"truncation toward zero", {{-0.5f, -0.5f}}, {0, 0, 0, 0}},
      {"below minus one", {{-1.5f, -1.5f}}, {0, -1, 0, -1}},
      {"high beyond int", {{1e20f, 1e20f}, {0.0f, 10.0f}}, {INT_MAX, 10, INT_MAX, 0}},
      {"low beyond int", {{-1e20f, -1e20f}}, {-98, INT_MIN, -98, INT_MIN}},
      {"beyond the seeds", {{150.0f, 150.0f}, {-150.0f, -150.0f}}, {151, -150, 151, -150}},
  };
  for (const range_case& c : cases) {
    obs_table t;
    const graph_range r = plotcore::find_range(table_of(t, c.obs));
    EXPECT_EQ(r.y_max, c.expected.y_max) << c.what;
    EXPECT_EQ(r.y_min, c.expected.y_min) << c.what;
    EXPECT_EQ(r.x_max, c.expected.x_max) << c.what;
    EXPECT_EQ(r.x_min, c.expected.x_min) << c.what;
  }
}

TEST(find_range, range_line_has_its_exact_form) {
  std::FILE* f = std::tmpfile();
  plotcore::print_range_line(f, {-98, 99, -98, 99});
  std::rewind(f);
  char buf[100] = {};
  const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  std::fclose(f);
  EXPECT_EQ(std::string(buf, n), "\nY max=-98 min=99 / X max=-98 min=99\n\n");
}

TEST(obs_table, keeps_no_more_than_its_limit) {
  obs_table t;
  t.count = 0;
  t.limit = 2;
  EXPECT_TRUE(plotcore::add_obs(t, 1, 2));
  EXPECT_TRUE(plotcore::add_obs(t, 3, 4));
  EXPECT_FALSE(plotcore::add_obs(t, 5, 6));
  EXPECT_EQ(t.count, 2);
  EXPECT_EQ(t.x[1], 3.0f);
}

// ---- drawing ----

TEST(draw_graph, hour_style_example) {
  obs_table t;
  EXPECT_EQ(
      drawn(table_of(t, {{5.5f, 10.2f}}), 20, 40, x_kind::hour),
      lines({
          "10 +                                     ", "   |                                     ",
          "   |                                     ", "   |                                     ",
          "   |                  *                  ", "   |                                     ",
          "   |                                     ", "   |                                     ",
          "   |                                     ", "   +                                     ",
          "   |                                     ", "   |                                     ",
          "   |                                     ", "   |                                     ",
          "   |                                     ", "   |                                     ",
          "   |                                     ", "   |                                     ",
          "11 +                                     ", "    +-----------------------------------+",
          "   05                                  06",
      }));
}

TEST(draw_graph, half_step_ticks_and_four_labels) {
  obs_table t;
  EXPECT_EQ(drawn(table_of(t, {{20.5f, 11.8f}, {22.25f, 12.6f}}), 10, 16, x_kind::hour),
            lines({
                "11 +             ",
                "   |             ",
                "   +             ",
                "   |  *          ",
                "12 +             ",
                "   |             ",
                "   +         *   ",
                "   |             ",
                "13 +             ",
                "    +---+---+---+",
                "   20  21  22  23",
            }));
}

TEST(draw_graph, marks_replace_labels_and_axis_cells) {
  obs_table t;
  EXPECT_EQ(
      drawn(table_of(t, {{-0.2f, 11.0f}, {2.0f, 12.0f}, {-0.2f, 11.75f}}), 10, 16, x_kind::hour),
      lines({
          "11 *             ",
          "   |             ",
          "   +             ",
          "   *             ",
          "12 +        *    ",
          "   |             ",
          "   +             ",
          "   |             ",
          "13 +             ",
          "    +---+---+---+",
          "   00  01  02  03",
      }));
}

TEST(draw_graph, zero_step_keeps_the_last_label_and_one_column) {
  // y_step 0: every magnitude label on row 2, Y min's on top. x_step 0: every X label at
  // columns 3 and 4, X max's ("08") on top, every mark in column 4; two marks share a cell.
  obs_table t;
  EXPECT_EQ(drawn(table_of(t, {{1.5f, 10.5f}, {7.5f, 10.5f}}), 2, 6, x_kind::hour), lines({
                                                                                        "10 +*  ",
                                                                                        "    +--",
                                                                                        "   08  ",
                                                                                    }));
  EXPECT_EQ(drawn(table_of(t, {{1.0f, 10.5f}, {2.0f, 13.5f}}), 5, 8, x_kind::hour), lines({
                                                                                        "   |     ",
                                                                                        "   |     ",
                                                                                        "   |     ",
                                                                                        "10 +* *  ",
                                                                                        "    +-+-+",
                                                                                        "   010203",
                                                                                    }));
}

TEST(draw_graph, half_step_ticks_start_at_a_step_of_four) {
  obs_table t;
  table_of(t, {{1.0f, 10.2f}, {2.0f, 11.2f}});  // Y max 12, Y min 10
  auto column3 = [&](int mag_len) {
    const std::string all = drawn(t, mag_len, 3, x_kind::hour);
    std::string col;
    for (size_t i = 3; i < all.size(); i += 5) col += all[i];
    return col;
  };
  // Row 0 of column 3 holds the tens digit of X max's label.
  EXPECT_EQ(column3(8), "+||+||+ 0");     // y_step 3
  EXPECT_EQ(column3(10), "+|+|+|+|+ 0");  // y_step 4
}

TEST(draw_graph, empty_table_draws_bare_axes) {
  obs_table t;
  EXPECT_EQ(drawn(table_of(t, {}), 3, 6, x_kind::hour), lines({
                                                            "   |   ",
                                                            "   |   ",
                                                            "    ---",
                                                            "       ",
                                                        }));
}

TEST(draw_graph, negative_step_writes_only_inside_the_canvas) {
  // mag_len 0 makes y_step -2: Y min's label falls to row 0, the half-step tick to row 1.
  obs_table t;
  EXPECT_EQ(drawn(table_of(t, {{1.5f, 10.5f}}), 0, 8, x_kind::hour), lines({"10 01  02"}));
  static canvas c;
  plotcore::draw_graph(c, t, plotcore::find_range(t), 0, 8, x_kind::hour);
  EXPECT_EQ(c.cell[1][3], '+');
  EXPECT_EQ(c.cell[1][6], '*');
  EXPECT_EQ(c.cell[2][0], '1');
  EXPECT_EQ(c.cell[2][1], '1');
}

TEST(draw_graph, bounds_beyond_int_cost_one_label) {
  obs_table t;
  table_of(t, {{1.0f, plotcore::magnitude_of("999999999999999999999")}, {2.0f, 10.0f}});
  EXPECT_EQ(drawn(t, 3, 8, x_kind::hour), lines({
                                              "   |     ",
                                              "10 +* *  ",
                                              "    +-+-+",
                                              "   010203",
                                          }));
}

TEST(draw_graph, phase_style_example) {
  obs_table t;
  EXPECT_EQ(
      drawn(table_of(t, {{2.5f, 11.4f}, {5.0f, 11.5f}, {10.0f, 11.9f}}), 6, 45, x_kind::phase),
      lines({
          "11 +                                          ",
          "   |                                          ",
          "   +          *         *                     ",
          "   |                                          ",
          "12 +                                        * ",
          "    +---+---+---+---+---+---+---+---+---+---+-",
          "   0.0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1.0",
      }));
}

struct phase_row_case {
  int x_len;
  const char* row0;
};

TEST(draw_graph, phase_labels_at_each_width) {
  obs_table t;
  table_of(t, {});
  const phase_row_case cases[] = {
      {79, "   0.0    0.1    0.2    0.3    0.4    0.5    0.6    0.7    0.8    0.9    1.0    \n"},
      {74, "   0.0    0.1    0.2    0.3    0.4    0.5    0.6    0.7    0.8    0.9    1.\n"},
      {34, "   0.00.10.20.30.40.50.60.70.80.91.\n"},
      {13, "   1.0        \n"},
      {4, "   1.\n"},
  };
  for (const phase_row_case& c : cases) {
    const std::string all = drawn(t, 0, c.x_len, x_kind::phase);
    EXPECT_EQ(all, c.row0) << "x_len " << c.x_len;
  }
}

TEST(draw_graph, phase_marks_inside_and_outside_the_canvas) {
  obs_table t;
  // Phase 1 lands on the tick of "1.0"; phases far out of 0 to 1 are not drawn at all.
  table_of(t, {{10.0f, 11.0f}, {-10.0f, 11.0f}, {200.0f, 11.0f}});
  static canvas c;
  graph_range r = plotcore::find_range(t);
  r.x_max = 10;
  r.x_min = 0;
  plotcore::draw_graph(c, t, r, 4, 79, x_kind::phase);
  int marks = 0;
  for (const auto& row : c.cell)
    for (char ch : row) marks += ch == '*';
  EXPECT_EQ(marks, 1);
  EXPECT_EQ(c.cell[4][74], '*');  // column 10 x 7 + 4, row (12 - 11) x 2 + 2
  EXPECT_EQ(c.cell[0][74], '.');
}

// ---- writing ----

TEST(write_rows, writes_top_row_first_with_trailing_spaces) {
  static canvas c;
  plotcore::obs_table t;
  table_of(t, {});
  plotcore::draw_graph(c, t, plotcore::find_range(t), 0, 0, x_kind::hour);
  c.cell[0][0] = 'a';
  c.cell[1][0] = 'b';
  c.cell[1][2] = 'c';
  EXPECT_EQ(rows_of(c, 1, 3), "b c \na   \n");
  EXPECT_EQ(rows_of(c, -1, 3), "");
  const std::string full = rows_of(c, 500, 500);
  EXPECT_EQ(full.size(), 80u * 81u);  // held to the canvas
}

}  // namespace
