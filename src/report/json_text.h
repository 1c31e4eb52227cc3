// The pieces of the JSON files: strings from the databases' bytes, numbers
// and times. Every piece is plain ASCII, so the files are valid UTF-8 and
// pass unchanged through any 8-bit channel.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tallyhawk {

// A JSON string holding `latin1`, whose every byte is the Unicode code point
// of the same number (names, zone directory names and value texts are the
// databases' and the configuration's bytes). Control characters (C0, DEL and
// C1), every other non-ASCII character, the quote and the backslash are
// escaped, and so are < > & (as \u003c \u003e \u0026), so that no name can
// end the string, the file, or a <script> element the text is pasted into.
std::string JsonString(std::string_view latin1);

// A JSON number: whole values as integers ("1200", not "1200.0"), others in
// the shortest form that reads back as the same double. A value that is not
// finite has no JSON number and gives "null".
std::string JsonNumber(double value);

// A moment in time as the JSON files give it: the seconds since the epoch
// and the platform's local time of the same moment.
struct JsonTime {
  int64_t seconds = 0;
  LocalTime local;
};

// ISO 8601 local time with its UTC offset, "2026-12-06T13:00:00+01:00". The
// offset is the difference between the local fields and `seconds`. An offset
// that is not a whole number of minutes (old local mean times) has no such
// form: the time is then given in UTC, "+00:00".
std::string IsoTimeText(const JsonTime& time);

}  // namespace tallyhawk
