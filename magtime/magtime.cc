// The light-curve program: magnitude against hour of day, from VSOLJ or VSNET files.
#include "magtime.h"

#include "plotcore/arguments.h"
#include "plotcore/dialogue.h"
#include "plotcore/num.h"
#include "time_field.h"

namespace magtime {

// A record is: any word, time, magnitude, any word.
static void decode_vsolj(const plotcore::word_buf* fields, float* x, float* mag) {
  *x = vsolj_hour(fields[1]);
  *mag = plotcore::magnitude_of(fields[2]);
}

static void decode_vsnet(const plotcore::word_buf* fields, float* x, float* mag) {
  *x = vsnet_hour(fields[1]);
  *mag = plotcore::magnitude_of(fields[2]);
}

static constexpr int records_kept = 500;

// Both layouts share the dialogue and differ only in how the time field is decoded.
static constexpr plotcore::program light_curve(void (*decode)(const plotcore::word_buf*, float*,
                                                              float*)) {
  return {"mag. axis (colum, max=79) = ",
          "hour axis (colum, max=79) = ",
          plotcore::x_kind::hour,
          false,
          4,
          records_kept,
          decode};
}

static constexpr plotcore::program vsolj = light_curve(decode_vsolj);
static constexpr plotcore::program vsnet = light_curve(decode_vsnet);

int magtime_run(std::FILE* in, std::FILE* out) {
  static_assert(records_kept <= plotcore::max_obs);
  plotcore::session s;
  plotcore::start_session(s, in);
  int layout = 0;
  const plotcore::answer a =
      plotcore::ask_int(s, out, "data file format (vsolj=1 , vsnet=0) ", &layout);
  if (a != plotcore::answer::given) return plotcore::no_answer(out, a);
  return plotcore::run_files(s, out, layout == 1 ? vsolj : vsnet);
}

static constexpr plotcore::about about = {
    "magtime",
    "Draw the light curve of a variable star, magnitude against the hour of the day,\n"
    "as a graph of characters, from an observation file in the VSOLJ or the VSNET\n"
    "layout. magtime takes no arguments: it asks its questions on standard input\n"
    "(the layout, the data file, the size of the graph, whether to draw it again,\n"
    "save it or go on with another file) and shows everything on standard output.\n"
    "Answers may be typed at the prompts or piped, several to a line.\n"};

int magtime_main(int argc, const char* const* argv, std::FILE* in, std::FILE* out) {
  int status = 0;
  if (plotcore::answer_arguments(argc, argv, about, out, &status)) return status;
  return magtime_run(in, out);
}

}  // namespace magtime
