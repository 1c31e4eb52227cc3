#include "report/report_file.h"

#include "util/fatal_error.h"
#include "util/text_format.h"

namespace tallyhawk {
namespace {

// Large enough that a report of the usual length is one write, and that a
// long one costs few.
constexpr size_t kBlockSize = size_t{256} << 10;

}  // namespace

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
  if (!ok) throw FileError(write_failure_, path_, "cannot write the report");
}

ReportFile& ReportFile::operator<<(std::string_view text) {
  bool line_ended = false;
  for (size_t lf = text.find('\n'); lf != std::string_view::npos;
       lf = text.find('\n')) {
    pending_.append(text.substr(0, lf));
    pending_.append("\r\n");
    text.remove_prefix(lf + 1);
    line_ended = true;
  }
  pending_.append(text);
  if (line_ended && !first_line_sent_) {
    first_line_sent_ = true;
    HandOver();
  }
  HandOverFullBlock();
  return *this;
}

ReportFile& ReportFile::operator<<(uint32_t value) {
  return *this << FormatUnsigned(value);
}

ReportFile& ReportFile::operator<<(uint64_t value) {
  return *this << FormatUnsigned(value);
}

ReportFile& ReportFile::Verbatim(std::string_view bytes) {
  pending_.append(bytes);
  HandOverFullBlock();
  return *this;
}

ReportFile& ReportFile::Field(std::string_view bytes, size_t width) {
  Verbatim(bytes);
  if (bytes.size() < width) pending_.append(width - bytes.size(), ' ');
  return *this;
}

void ReportFile::Commit() {
  HandOver();
  Check(file_->Commit());
}

void ReportFile::HandOverFullBlock() {
  if (pending_.size() >= kBlockSize) HandOver();
}

void ReportFile::HandOver() {
  if (pending_.empty()) return;
  Check(file_->Write(pending_));
  Check(file_->Flush());
  pending_.clear();
}

}  // namespace tallyhawk
