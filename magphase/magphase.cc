// The phase-diagram program: magnitude against phase on a fixed 0.0 to 1.0 axis.
#include "magphase.h"

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

}  // namespace magphase
