#include "util/diagnostic.h"

#include "platform/platform.h"

namespace tallyhawk {

std::string Quoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string quoted = "'";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      quoted.append("\\x").push_back(kHex[byte >> 4]);
      quoted.push_back(kHex[byte & 0xf]);
    } else {
      quoted.push_back(c);
    }
  }
  return quoted + "'";
}

std::string DiagnosticLine(Severity severity, const Diagnostic& diagnostic,
                           std::string_view working_directory) {
  std::string line = severity == Severity::kError ? "error: " : "warning: ";
  if (!diagnostic.file.empty()) {
    line.append(Quoted(diagnostic.file));
    if (!IsAbsolutePath(diagnostic.file)) {
      line.append(" (in ").append(working_directory).append(")");
    }
    if (diagnostic.line > 0) {
      line.append(", line ").append(std::to_string(diagnostic.line));
    }
    line.append(": ");
  }
  line.append(diagnostic.text);
  if (!diagnostic.reason.empty()) line.append(": ").append(diagnostic.reason);
  return line + "\n";
}

std::string FormatDiagnostic(Severity severity, const Diagnostic& diagnostic,
                             std::string_view working_directory) {
  return "tallyhawk: " +
         DiagnosticLine(severity, diagnostic, working_directory);
}

}  // namespace tallyhawk
