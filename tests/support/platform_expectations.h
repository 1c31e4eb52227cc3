// How the program's output on this platform differs from the Linux output
// the tests' expectations are written for: the one place that knows.
#pragma once

#include <string>
#include <string_view>

namespace tallyhawk::testing {

#ifdef _WIN32
constexpr char kSeparator = '\\';
// The C runtime writes "\n" to the console as CR LF.
constexpr std::string_view kConsoleLineEnd = "\r\n";
// libfaketime freezes the clock of a Linux process only.
constexpr bool kClockFrozen = false;
constexpr std::string_view kForbiddenInNames = "<>:\"|?*";
#else
constexpr char kSeparator = '/';
constexpr std::string_view kConsoleLineEnd = "\n";
constexpr bool kClockFrozen = true;
constexpr std::string_view kForbiddenInNames = "";
#endif

// A path written with '/', as the platform writes it.
inline std::string PlatformPath(std::string path) {
  for (char& c : path) c = c == '/' ? kSeparator : c;
  return path;
}

// Text of the platform with its separator written as '/'.
inline std::string PosixPaths(std::string text) {
  for (char& c : text) c = c == kSeparator ? '/' : c;
  return text;
}

// A directory name the platform refuses for what it is, not for a missing
// parent: one with a forbidden character, or else one too long.
inline std::string RefusedName() {
  if (kForbiddenInNames.empty()) return std::string(300, 'x');
  return std::string("a") + kForbiddenInNames[0] + "b";
}

}  // namespace tallyhawk::testing
