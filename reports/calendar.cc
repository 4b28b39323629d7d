// The calendar of the reports: day numbers and proleptic Gregorian dates, in integers.
#include "reports/calendar.h"

namespace reports {

static int days_in_month(int year, int month) {
  static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

// Counted in eras of 400 years (146097 days) from March 1, so that February, with its leap day,
// ends each year; 719468 is the day number of 0000-03-01 counted back from 1970-01-01.
bool day_number(int year, int month, int day, int* number) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > days_in_month(year, month))
    return false;
  const int y = month <= 2 ? year - 1 : year;
  const int era = y / 400;
  const int year_of_era = y - era * 400;
  const int day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  *number = era * 146097 + day_of_era - 719468;
  return true;
}

void civil_date(int number, int* year, int* month, int* day) {
  const int z = number + 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int day_of_era = z - era * 146097;
  const int year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int mp = (5 * day_of_year + 2) / 153;
  *day = day_of_year - (153 * mp + 2) / 5 + 1;
  *month = mp < 10 ? mp + 3 : mp - 9;
  *year = year_of_era + era * 400 + (*month <= 2 ? 1 : 0);
}

}  // namespace reports
