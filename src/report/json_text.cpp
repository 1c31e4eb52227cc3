#include "report/json_text.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace tallyhawk {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to the given date of the proleptic Gregorian
// calendar (month 1..12).
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t year_of_era = year - era * 400;
  const int64_t day_of_year =
      (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

// The broken-down UTC time of `seconds` (weekday left out).
LocalTime UtcTime(int64_t seconds) {
  int64_t days = seconds / kSecondsPerDay;
  int64_t rest = seconds % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t day_of_era = days - era * 146097;
  const int64_t year_of_era = (day_of_era - day_of_era / 1460 +
                               day_of_era / 36524 - day_of_era / 146096) /
                              365;
  const int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t mp = (5 * day_of_year + 2) / 153;
  LocalTime time;
  time.day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
  time.month = static_cast<int>(mp < 10 ? mp + 2 : mp - 10);
  time.year = static_cast<int>(year_of_era + era * 400 + (time.month < 2));
  time.hour = static_cast<int>(rest / 3600);
  time.minute = static_cast<int>(rest / 60 % 60);
  time.second = static_cast<int>(rest % 60);
  return time;
}

std::string FormatIso(const LocalTime& time, int64_t offset_minutes) {
  const char sign = offset_minutes < 0 ? '-' : '+';
  const int64_t magnitude =
      offset_minutes < 0 ? -offset_minutes : offset_minutes;
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d",
                time.year, time.month + 1, time.day, time.hour, time.minute,
                time.second, sign, static_cast<int>(magnitude / 60),
                static_cast<int>(magnitude % 60));
  return text;
}

// Replaces every byte `from` of a dumped JSON text by `to`: the bytes
// replaced only ever occur inside strings there.
void ReplaceAll(std::string& text, char from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, 1, to);
  }
}

}  // namespace

std::string JsonString(std::string_view latin1) {
  std::string utf8;
  utf8.reserve(latin1.size() * 2);
  for (char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | byte >> 6);
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  // ensure_ascii escapes the C0 controls and every code point from DEL on,
  // so the C1 controls too.
  std::string text = nlohmann::json(utf8).dump(-1, ' ', /*ensure_ascii=*/true);
  ReplaceAll(text, '&', "\\u0026");
  ReplaceAll(text, '<', "\\u003c");
  ReplaceAll(text, '>', "\\u003e");
  return text;
}

std::string JsonNumber(double value) {
  constexpr double kTwoTo64 = 18446744073709551616.0;
  if (!std::isfinite(value)) return "null";
  if (value >= 0 && value < kTwoTo64 && value == std::trunc(value)) {
    return nlohmann::json(static_cast<uint64_t>(value)).dump();
  }
  return nlohmann::json(value).dump();
}

std::string IsoTimeText(const JsonTime& time) {
  const LocalTime& local = time.local;
  const int64_t local_seconds =
      DaysFromCivil(local.year, local.month + 1, local.day) * kSecondsPerDay +
      local.hour * 3600 + local.minute * 60 + local.second;
  const int64_t offset = local_seconds - time.seconds;
  if (offset % 60 != 0 || offset <= -kSecondsPerDay ||
      offset >= kSecondsPerDay) {
    return FormatIso(UtcTime(time.seconds), 0);
  }
  return FormatIso(local, offset / 60);
}

}  // namespace tallyhawk
