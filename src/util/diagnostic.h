// What the program tells the admin on standard error: one line for each
// fatal error and each warning, naming the file concerned, where a relative
// name was looked up, and the system's reason. It adds to the console and
// the log, which keep their words.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tallyhawk {

enum class Severity { kWarning, kError };

struct Diagnostic {
  // The file as the admin gave it; empty when the finding concerns none.
  std::string file;
  // The line of `file` it is on, from 1; 0 for the file as a whole.
  uint32_t line = 0;
  // What is wrong, in words ("cannot open the user database").
  std::string text;
  // Why, in the system's words; empty when the system was not asked.
  std::string reason;
};

// "warning: 'tallyhawk.ini' (in /srv/zone), line 7: <text>", with
// ": <reason>" when there is one, and a line break. A relative `file` names
// `working_directory`; a finding without a file names no place.
std::string DiagnosticLine(Severity severity, const Diagnostic& diagnostic,
                           std::string_view working_directory);

// The line of standard error: "tallyhawk: " and the DiagnosticLine.
std::string FormatDiagnostic(Severity severity, const Diagnostic& diagnostic,
                             std::string_view working_directory);

// `text` quoted for a diagnostic: in single quotes, with control bytes
// written as \xHH, so that white space at either end shows and the line
// stays one line.
std::string Quoted(std::string_view text);

}  // namespace tallyhawk
