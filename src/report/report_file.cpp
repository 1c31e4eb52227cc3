#include "report/report_file.h"

#include "util/fatal_error.h"
#include "util/status_output.h"
#include "util/text_format.h"

namespace tallyhawk {

std::unique_ptr<ReportFile> ReportFile::Open(Platform& platform,
                                             const std::string& path,
                                             const char* write_failure) {
  std::unique_ptr<OutputFile> file = platform.CreateAtomicFile(path);
  if (!file) return nullptr;
  return std::unique_ptr<ReportFile>(
      new ReportFile(std::move(file), path, write_failure));
}

ReportFile::ReportFile(std::unique_ptr<OutputFile> file, std::string path,
                       const char* write_failure)
    : file_(std::move(file)),
      path_(std::move(path)),
      write_failure_(write_failure) {}

void ReportFile::Check(bool ok) const {
  if (!ok) throw FatalError(write_failure_);
}

ReportFile& ReportFile::operator<<(std::string_view text) {
  Check(WriteWithCrLf(*file_, text));
  // Each line reaches the system when it is complete, so that a full disk
  // ends the run at the line that did not fit.
  if (text.find('\n') != std::string_view::npos) Check(file_->Flush());
  return *this;
}

ReportFile& ReportFile::operator<<(uint32_t value) {
  return *this << FormatUnsigned(value);
}

ReportFile& ReportFile::operator<<(uint64_t value) {
  return *this << FormatUnsigned(value);
}

ReportFile& ReportFile::Verbatim(std::string_view bytes) {
  Check(file_->Write(bytes));
  return *this;
}

ReportFile& ReportFile::Field(std::string_view bytes, size_t width) {
  Verbatim(bytes);
  if (bytes.size() < width) Verbatim(std::string(width - bytes.size(), ' '));
  return *this;
}

void ReportFile::Commit() { Check(file_->Commit()); }

}  // namespace tallyhawk
