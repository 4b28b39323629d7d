// The calendar of the reports: day numbers and proleptic Gregorian dates, in integers.
#pragma once

namespace reports {

/// The day numbers of 0001-01-01 and 9999-12-31, the first and last days of the calendar.
constexpr int first_calendar_day = -719162;
constexpr int last_calendar_day = 2932896;

/// Days since 1970-01-01 of a proleptic Gregorian date; false for a month or day that does not
/// exist (February 29 only in leap years). Years 1 to 9999.
bool day_number(int year, int month, int day, int* number);

/// The date of a day number, the inverse of day_number.
void civil_date(int number, int* year, int* month, int* day);

}  // namespace reports
