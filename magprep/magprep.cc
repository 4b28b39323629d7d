// magprep's run: the command line, the mode chosen by it, and the one line on standard error
// made from the mode's tally.
#include "magprep.h"

#include <cerrno>
#include <cstring>

#include "calendar.h"
#include "command_line.h"
#include "input.h"
#include "modes.h"
#include "system.h"

namespace magprep {

static const char* plural(long long n) { return n == 1 ? "" : "s"; }

static const char* layout_name(layout k) { return k == layout::vsolj ? "VSOLJ" : "VSNET"; }

// ---- the line on standard error ----

static int phase_summary(std::FILE* err, const options& o, const tally& t) {
  if (t.records == 0) {
    if (t.limits > 0)
      std::fprintf(err, "magprep: only %lld upper limit%s, nothing to write\n", t.limits,
                   plural(t.limits));
    else
      std::fputs("magprep: no phase record found\n", err);
    return 1;
  }
  std::fprintf(err,
               "magprep: %lld phase record%s, %lld upper limit%s dropped, %lld uncertain kept; "
               "phases shifted by %s\n",
               t.records, plural(t.records), t.limits, plural(t.limits), t.uncertain, o.shift_text);
  if (t.records > nights_max)
    std::fprintf(err, "magprep: warning: magphase draws the first %d points of a file, not %lld\n",
                 nights_max, t.records);
  return 0;
}

static void print_mentions(std::FILE* err, const options& o, const tally& t) {
  if (t.mentions > 0)
    std::fprintf(err, ", %lld mention%s of %s passed over", t.mentions, plural(t.mentions),
                 o.star.whole);
}

// An hour since 0 h of day 0 of the day numbers, as "2026-12-07 19 h".
static void print_hour(std::FILE* err, long long hour) {
  const long long day = floor_div(hour, 24);
  print_date(err, static_cast<int>(day));
  std::fprintf(err, " %lld h", hour - day * 24);
}

// After the records of a star: what was kept and dropped, then what the reader of the output
// needs to know (magtime's layout answer, or the -n scale). Returns the exit status.
static int star_summary(std::FILE* err, const options& o, const tally& t) {
  if (t.records == 0) {
    if (t.limits > 0)
      std::fprintf(err, "magprep: %s: only %lld upper limit%s, nothing to write", o.star.whole,
                   t.limits, plural(t.limits));
    else
      std::fprintf(err, "magprep: no record of %s found", o.star.whole);
    print_mentions(err, o, t);
    std::fputc('\n', err);
    return 1;
  }
  std::fprintf(err, "magprep: %s: %lld record%s, %lld upper limit%s dropped, %lld uncertain kept",
               o.star.whole, t.records, plural(t.records), t.limits, plural(t.limits), t.uncertain);
  if (t.over > 0) std::fprintf(err, ", %lld past the first %d dropped", t.over, nights_max);
  print_mentions(err, o, t);
  if (t.other > 0) {
    std::fprintf(err, "; records in both layouts: the %lld in %s dropped\n", t.other,
                 layout_name(t.kind == layout::vsolj ? layout::vsnet : layout::vsolj));
    return 1;
  }
  if (o.what == mode::nights) {
    const long long tenth = t.scale.tenth_hours;
    std::fputs("; X 0.0 is ", err);
    print_hour(err, t.scale.start_hour);
    std::fputs(" and 1.0 is ", err);
    print_hour(err, t.scale.end_hour);
    if (tenth < 24)
      std::fprintf(err, ", %lld hour%s per tenth\n", tenth, plural(tenth));
    else
      std::fprintf(err, ", %lld day%s per tenth\n", tenth / 24, plural(tenth / 24));
    return 0;
  }
  std::fprintf(err, "; %s: answer %d to the layout question", layout_name(t.kind),
               t.kind == layout::vsolj ? 1 : 0);
  if (t.last_day > t.first_day) {
    std::fputs("; dates ", err);
    print_date(err, t.first_day);
    std::fputs(" to ", err);
    print_date(err, t.last_day);
    std::fputs(": -n draws them as one curve", err);
  }
  std::fputc('\n', err);
  if (t.records > magtime_max)
    std::fprintf(err, "magprep: warning: magtime draws the first %d records of a file, not %lld\n",
                 magtime_max, t.records);
  return 0;
}

// ---- the run ----

// Everything written has reached `out` (named `name` in a message); otherwise says so.
static bool output_ok(std::FILE* out, const char* name, std::FILE* err) {
  errno = 0;
  if (std::fflush(out) == 0 && !std::ferror(out)) return true;
  std::fprintf(err, "magprep: cannot write %s%s%s\n", name, errno != 0 ? ": " : "",
               errno != 0 ? std::strerror(errno) : "");
  return false;
}

static int run_mode(input& s, const options& o, std::FILE* out, std::FILE* err) {
  switch (o.what) {
    case mode::records: return star_summary(err, o, write_records(s, o, out));
    case mode::nights: return star_summary(err, o, write_nights(s, o, out));
    case mode::phases: return phase_summary(err, o, write_phases(s, o, out));
  }
  return 1;
}

// -o FILE: the data goes to a new file beside FILE, which takes FILE's place only when the run
// succeeds; FILE is never read.
static int run_to_file(const options& o, int argc, char** argv, std::FILE* in, std::FILE* err) {
  char part[4096];
  const int n = std::snprintf(part, sizeof part, "%s.magprep-part", o.output);
  if (n < 0 || n >= static_cast<int>(sizeof part)) {
    std::fprintf(err, "magprep: cannot write %s: the name is too long\n", o.output);
    return 1;
  }
  plotcore::file_id target{};
  std::FILE* old = plotcore::open_data_file(o.output, &target);
  if (old != nullptr) std::fclose(old);
  std::FILE* out = create_new_file(part);
  if (out == nullptr) {
    std::fprintf(err, "magprep: cannot write %s: %s\n", part, std::strerror(errno));
    return 1;
  }
  input s;
  start_input(s, argc, argv, o.first_file, in, err, &target);
  const int status = run_mode(s, o, out, err);
  const bool written = output_ok(out, o.output, err);
  const bool closed = std::fclose(out) == 0;
  if (status == 0 && written && closed && !s.failed) {
    if (replace_file(part, o.output)) return 0;
    std::fprintf(err, "magprep: cannot write %s: %s\n", o.output, std::strerror(errno));
  } else {
    std::fprintf(err, "magprep: %s not written\n", o.output);
  }
  std::remove(part);
  return 1;
}

int magprep_run(int argc, char** argv, std::FILE* in, std::FILE* out, std::FILE* err) {
  options o;
  switch (parse_options(argc, argv, err, &o)) {
    case parsed::usage: return 2;
    case parsed::help: print_help(out); return output_ok(out, "standard output", err) ? 0 : 1;
    case parsed::version: print_version(out); return output_ok(out, "standard output", err) ? 0 : 1;
    case parsed::run: break;
  }
  if (o.output != nullptr) return run_to_file(o, argc, argv, in, err);
  input s;
  start_input(s, argc, argv, o.first_file, in, err, nullptr);
  const int status = run_mode(s, o, out, err);
  const bool written = output_ok(out, "standard output", err);
  return status == 0 && written && !s.failed ? 0 : 1;
}

}  // namespace magprep
