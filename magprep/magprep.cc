// magprep's run: the command line, the mode chosen by it, and the one line on standard error
// made from the mode's tally.
#include "magprep.h"

#include <cerrno>
#include <cstring>

#include "calendar.h"
#include "command_line.h"
#include "input.h"
#include "modes.h"

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
  return 0;
}

// After the records of a star: what was kept and dropped, then what the reader of the output
// needs to know (magtime's layout answer, or the -n scale). Returns the exit status.
static int star_summary(std::FILE* err, const options& o, const tally& t) {
  if (t.records == 0) {
    if (t.limits > 0)
      std::fprintf(err, "magprep: %s: only %lld upper limit%s, nothing to write\n", o.star,
                   t.limits, plural(t.limits));
    else
      std::fprintf(err, "magprep: no record of %s found\n", o.star);
    return 1;
  }
  std::fprintf(err, "magprep: %s: %lld record%s, %lld upper limit%s dropped, %lld uncertain kept",
               o.star, t.records, plural(t.records), t.limits, plural(t.limits), t.uncertain);
  if (t.over > 0) std::fprintf(err, ", %lld past the first %d dropped", t.over, nights_max);
  if (t.other > 0) {
    std::fprintf(err, "; records in both layouts: the %lld in %s dropped\n", t.other,
                 layout_name(t.kind == layout::vsolj ? layout::vsnet : layout::vsolj));
    return 1;
  }
  if (o.what == mode::nights) {
    const long long days = t.last_day + 1LL - t.first_day;
    std::fputs("; X 0.0 is ", err);
    print_date(err, t.first_day);
    std::fputs(" 0 h and 1.0 is ", err);
    print_date(err, t.last_day + 1);
    std::fprintf(err, " 0 h, %lld.%lld day%s per tenth\n", days / 10, days % 10,
                 days == 10 ? "" : "s");
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
  return 0;
}

// ---- the run ----

// Everything written has reached `out`; otherwise says so.
static bool output_ok(std::FILE* out, std::FILE* err) {
  errno = 0;
  if (std::fflush(out) == 0 && !std::ferror(out)) return true;
  std::fprintf(err, "magprep: cannot write standard output%s%s\n", errno != 0 ? ": " : "",
               errno != 0 ? std::strerror(errno) : "");
  return false;
}

int magprep_run(int argc, char** argv, std::FILE* in, std::FILE* out, std::FILE* err) {
  options o;
  switch (parse_options(argc, argv, err, &o)) {
    case parsed::usage: return 2;
    case parsed::help: print_help(out); return output_ok(out, err) ? 0 : 1;
    case parsed::version: print_version(out); return output_ok(out, err) ? 0 : 1;
    case parsed::run: break;
  }
  input s;
  start_input(s, argc, argv, o.first_file, in, err);
  int status = 1;
  switch (o.what) {
    case mode::records: status = star_summary(err, o, write_records(s, o, out)); break;
    case mode::nights: status = star_summary(err, o, write_nights(s, o, out)); break;
    case mode::phases: status = phase_summary(err, o, write_phases(s, o, out)); break;
  }
  const bool written = output_ok(out, err);
  return status == 0 && written && !s.failed ? 0 : 1;
}

}  // namespace magprep
