// Today's date and the time of day: one function for the whole program. Tests may fix it.
#pragma once
#include <optional>

namespace PLAT {

struct DateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0, hundredths = 0;
};

DateTime now();
void setFixedNow(std::optional<DateTime> dt);  // nullopt: the real clock again
void sleepMs(int ms);  // shows the console's screen first (a pause is a wait)
// Day of week of a calendar date, 0 = Sunday.
int weekday(int year, int month, int day);
bool validDate(int year, int month, int day);

}  // namespace PLAT
