// The phase-diagram program: magnitude against phase on a fixed 0.0 to 1.0 axis.
#include "magphase.h"

#include "plotcore/arguments.h"
#include "plotcore/dialogue.h"
#include "plotcore/num.h"

namespace magphase {

// A record is: phase (0 to 1), magnitude. X is the phase times ten, so the axis runs 0 to 10.
static void decode_phase(const plotcore::word_buf* fields, float* x, float* mag) {
  *x = plotcore::num(fields[0]) * 10.0f;
  *mag = plotcore::magnitude_of(fields[1]);
}

static constexpr plotcore::program phase_program = {"mag.  axis (colum, max=79) = ",
                                                    "phase axis (colum, max=79) = ",
                                                    plotcore::x_kind::phase,
                                                    true,
                                                    2,
                                                    5000,
                                                    decode_phase};

int magphase_run(std::FILE* in, std::FILE* out) {
  plotcore::session s;
  plotcore::start_session(s, in);
  return plotcore::run_files(s, out, phase_program);
}

static constexpr plotcore::about about = {
    "magphase",
    "Draw the phase diagram of a variable star, magnitude against phase from 0 to 1,\n"
    "as a graph of characters, from a file of phase and magnitude pairs. magphase\n"
    "takes no arguments: it asks its questions on standard input (the data file,\n"
    "the size of the graph, whether to draw it again, save it or go on with another\n"
    "file) and shows everything on standard output. Answers may be typed at the\n"
    "prompts or piped, several to a line.\n"};

int magphase_main(int argc, const char* const* argv, std::FILE* in, std::FILE* out) {
  int status = 0;
  if (plotcore::answer_arguments(argc, argv, about, out, &status)) return status;
  return magphase_run(in, out);
}

}  // namespace magphase
