#include "datafile/DateTime.h"

#include <chrono>
#include <ctime>

double Now() {
  using namespace std::chrono;
  const auto moment = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(moment);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  const auto millisecond =
      duration_cast<milliseconds>(moment.time_since_epoch()).count() % 1000;
  const sys_days date = year{local.tm_year + 1900} / month{static_cast<unsigned>(local.tm_mon + 1)} /
                       day{static_cast<unsigned>(local.tm_mday)};
  const sys_days epoch = year{1899} / December / 30;
  const double timeOfDay =
      (local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + millisecond / 1000.0) /
      86400.0;
  return static_cast<double>((date - epoch).count()) + timeOfDay;
}
