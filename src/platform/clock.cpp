// Today's date and the time of day, from the system clock (so faketime applies) unless fixed.
#include "platform/clock.h"

#include <cerrno>
#include <ctime>

#include "platform/console.h"

namespace PLAT {

namespace {
std::optional<DateTime> fixedNow;
}

DateTime now() {
    if (fixedNow) return *fixedNow;
    struct timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    time_t t = ts.tv_sec;
    struct tm tm {};
    localtime_r(&t, &tm);
    DateTime d;
    d.year = tm.tm_year + 1900;
    d.month = tm.tm_mon + 1;
    d.day = tm.tm_mday;
    d.hour = tm.tm_hour;
    d.minute = tm.tm_min;
    d.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
    d.hundredths = int(ts.tv_nsec / 10000000);
    return d;
}

void setFixedNow(std::optional<DateTime> dt) { fixedNow = dt; }

void sleepMs(int ms) {
    if (ms <= 0) return;
    if (haveConsole()) con().flush();  // what the program shows while it pauses reaches the screen
    struct timespec req { ms / 1000, long(ms % 1000) * 1000000L };
    struct timespec rem {};
    while (nanosleep(&req, &rem) != 0 && errno == EINTR) req = rem;
}

int weekday(int year, int month, int day) {
    static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12) return 0;
    int y = month < 3 ? year - 1 : year;
    int w = (y + y / 4 - y / 100 + y / 400 + t[month - 1] + day) % 7;
    return w < 0 ? w + 7 : w;
}

bool validDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static const int dm[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int n = dm[month - 1];
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) n = 29;
    return day <= n;
}

}  // namespace PLAT
