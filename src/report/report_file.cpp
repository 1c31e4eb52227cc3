#include "report/report_file.h"

#include "run/status_output.h"
#include "run/text_format.h"

namespace tallyhawk {

std::unique_ptr<ReportFile> ReportFile::Open(Platform& platform,
                                             const std::string& path) {
  std::unique_ptr<OutputFile> file = platform.CreateAtomicFile(path);
  if (!file) return nullptr;
  return std::unique_ptr<ReportFile>(new ReportFile(std::move(file), path));
}

ReportFile::ReportFile(std::unique_ptr<OutputFile> file, std::string path)
    : file_(std::move(file)), path_(std::move(path)) {}

ReportFile& ReportFile::operator<<(std::string_view text) {
  if (ok_) ok_ = WriteWithCrLf(*file_, text);
  return *this;
}

ReportFile& ReportFile::operator<<(uint32_t value) {
  return *this << FormatUnsigned(value);
}

ReportFile& ReportFile::operator<<(uint64_t value) {
  return *this << FormatUnsigned(value);
}

ReportFile& ReportFile::Verbatim(std::string_view bytes) {
  if (ok_) ok_ = file_->Write(bytes);
  return *this;
}

ReportFile& ReportFile::Field(std::string_view bytes, size_t width) {
  Verbatim(bytes);
  if (bytes.size() < width) Verbatim(std::string(width - bytes.size(), ' '));
  return *this;
}

bool ReportFile::Commit() {
  bool committed = ok_ && file_->Commit();
  ok_ = false;
  return committed;
}

}  // namespace tallyhawk
