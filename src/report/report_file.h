// A report being written: created under a temporary name beside its final
// path, written with CR LF line ends, and renamed over the final path only
// when complete. The report is handed to the system in large blocks; its
// first line goes at once, so that a report that cannot be written at all
// fails before any more work is done for it. Any write, flush, close or
// rename that fails ends the run with the report's own message, at the
// block it happened in. Destroying an uncommitted report removes its
// temporary file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tallyhawk {

class ReportFile {
 public:
  // Null when the report cannot be created. `write_failure` is the message
  // of the FatalError that a failed write, flush, close or rename raises.
  static std::unique_ptr<ReportFile> Open(Platform& platform,
                                          const std::string& path,
                                          const char* write_failure);

  // Text with "\n" line breaks; each becomes CR LF in the file.
  ReportFile& operator<<(std::string_view text);
  ReportFile& operator<<(uint32_t value);  // unsigned decimal
  ReportFile& operator<<(uint64_t value);
  // Numbers in reports are formatted by the writers; a double must never be
  // converted to an integer silently.
  ReportFile& operator<<(double value) = delete;
  // `bytes` exactly as given: texts from the databases and the configuration
  // (names, paths) keep every byte, a line feed included.
  ReportFile& Verbatim(std::string_view bytes);
  // `bytes` as Verbatim, left-justified in a field of `width` bytes (never
  // cut).
  ReportFile& Field(std::string_view bytes, size_t width);

  // Writes out, closes and renames. When that fails the final file is left
  // as it was.
  void Commit();

  const std::string& path() const { return path_; }

 private:
  ReportFile(std::unique_ptr<OutputFile> file, std::string path,
             const char* write_failure);
  // Hands the bytes held to the system once there is a block of them.
  void HandOverFullBlock();
  // Hands the bytes held to the system.
  void HandOver();
  // Ends the run when `ok` is false.
  void Check(bool ok) const;

  std::unique_ptr<OutputFile> file_;
  std::string path_;
  const char* write_failure_;
  // The bytes not yet handed to the system.
  std::string pending_;
  bool first_line_sent_ = false;
};

}  // namespace tallyhawk
