// The names the command takes from the libraries below it: records from posted reports, and
// the astronomy of times.
#pragma once

#include "reports/calendar.h"
#include "reports/input.h"
#include "reports/record.h"
#include "timing/barycentre.h"
#include "timing/ephemeris.h"
#include "timing/period_search.h"
#include "timing/sky_position.h"
#include "timing/units.h"

namespace magprep {

using reports::civil_date;
using reports::day_number;
using reports::first_calendar_day;
using reports::last_calendar_day;

using reports::aavso_line_max;
using reports::found;
using reports::is_limit_mark;
using reports::julian_date;
using reports::layout;
using reports::magnitude;
using reports::read_magnitude;
using reports::read_phase;
using reports::read_shift;
using reports::read_star;
using reports::record;
using reports::star_name;
using reports::time_system;

using reports::drop;
using reports::file_problem;
using reports::fill;
using reports::input;
using reports::next_record;
using reports::next_word;
using reports::output_ids;
using reports::start_input;
using reports::starts_line;
using reports::window;
using reports::word_at;

using timing::floor_div;
using timing::julian_date_of_day_0;
using timing::units_per_day;

using timing::days_read;
using timing::heliocentric_correction;
using timing::phase_billionths;
using timing::phase_ten_thousandths;
using timing::position_read;
using timing::read_days;
using timing::read_position;
using timing::sky_position;

using timing::common_step;
using timing::period_decimals;
using timing::period_of;
using timing::period_steps_min;
using timing::plan_search;
using timing::plan_status;
using timing::run_search;
using timing::search_input;
using timing::search_max;
using timing::search_min;
using timing::search_period_min;
using timing::search_plan;
using timing::search_result;
using timing::thousandths;
using timing::trials_max;

}  // namespace magprep
