#include "util/status_output.h"

#include <utility>

#include "util/text_format.h"

namespace tallyhawk {

StatusLine& StatusLine::operator<<(std::string_view text) {
  size_t room = kMaxLength - text_.size();
  text_.append(text.substr(0, room));
  return *this;
}

StatusLine& StatusLine::operator<<(uint32_t value) {
  return *this << FormatUnsigned(value);
}

StatusLine& StatusLine::operator<<(uint64_t value) {
  return *this << FormatUnsigned(value);
}

StatusLine& StatusLine::operator<<(double value) {
  return *this << FormatFixed(value, precision_);
}

void StatusLine::Reset() {
  text_.clear();
  precision_ = 0;
}

StatusOutput::StatusOutput(Platform& platform, bool quiet, bool veryquiet)
    : platform_(platform), quiet_(quiet || veryquiet), veryquiet_(veryquiet) {}

void StatusOutput::OpenLog(const std::string& log_file_name) {
  if (veryquiet_) return;
  held_log_ = platform_.OpenOutput(log_file_name);
  held_log_name_ = log_file_name;
  if (!held_log_) WarnNoLog(log_file_name);
}

void StatusOutput::StartLog() {
  if (!held_log_) return;
  log_ = std::exchange(held_log_, nullptr)->Start();
  std::string waiting = std::exchange(waiting_, "");
  if (!log_) {
    WarnNoLog(held_log_name_);
    return;
  }
  CheckLogWrite(WriteWithCrLf(*log_, waiting));
}

void StatusOutput::WarnNoLog(const std::string& log_file_name) {
  const std::string reason = LastFailure();
  line_ << "WARNING:  Unable to open log file '" << log_file_name
        << "', no log will be kept\n";
  PrintStatusLine();
  Warn({log_file_name, 0, "cannot open the log; no log will be kept", reason});
}

void StatusOutput::CheckLogWrite(bool ok) {
  if (ok || log_write_failed_) return;
  // Said once: the run goes on, and its log may lack what follows.
  log_write_failed_ = true;
  Warn({held_log_name_, 0, "cannot write the log; it may be incomplete",
        LastFailure()});
}

void StatusOutput::Warn(const Diagnostic& diagnostic) {
  Diagnose(Severity::kWarning, diagnostic);
}

void StatusOutput::Error(const Diagnostic& diagnostic) {
  Diagnose(Severity::kError, diagnostic);
}

void StatusOutput::Diagnose(Severity severity, const Diagnostic& diagnostic) {
  if (sink_) {
    sink_(severity, diagnostic);
  } else if (severity == Severity::kError || !veryquiet_) {
    platform_.WriteError(
        FormatDiagnostic(severity, diagnostic, platform_.WorkingDirectory()));
  }
}

void StatusOutput::CloseLog() {
  if (log_) CheckLogWrite(log_->Commit());
  log_.reset();
  held_log_.reset();
}

void StatusOutput::PrintStatus(std::string_view text) {
  if (!quiet_) platform_.WriteConsole(text);
  // Write errors on the log are not looked at: the run goes on without it.
  if (veryquiet_) return;
  if (log_) {
    CheckLogWrite(WriteWithCrLf(*log_, text));
  } else if (held_log_) {
    waiting_.append(text);
  }
}

void StatusOutput::PrintStatusLine() {
  PrintStatus(line_.text());
  line_.Reset();
}

bool WriteWithCrLf(OutputFile& file, std::string_view text) {
  bool ok = true;
  size_t start = 0;
  for (size_t lf = text.find('\n'); lf != std::string_view::npos;
       lf = text.find('\n', start)) {
    ok = file.Write(text.substr(start, lf - start)) && ok;
    ok = file.Write("\r\n") && ok;
    start = lf + 1;
  }
  return file.Write(text.substr(start)) && ok;
}

}  // namespace tallyhawk
