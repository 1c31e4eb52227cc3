// Everything the program tells its user: the console, the log (a copy of the
// console in the same words) and the one-line message buffer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "util/diagnostic.h"
#include "util/progress.h"

namespace tallyhawk {

// The message buffer in which messages and value texts are composed. Its text
// holds at most 255 characters; whatever is written beyond that is dropped.
class StatusLine {
 public:
  static constexpr size_t kMaxLength = 255;

  StatusLine& operator<<(std::string_view text);
  StatusLine& operator<<(uint32_t value);  // unsigned decimal
  StatusLine& operator<<(uint64_t value);
  // Fixed-point with the current precision (0 unless set for one value).
  StatusLine& operator<<(double value);
  void SetPrecision(int decimals) { precision_ = decimals; }

  const std::string& text() const { return text_; }
  void Reset();

 private:
  std::string text_;
  int precision_ = 0;
};

class StatusOutput : public ProgressSink {
 public:
  StatusOutput(Platform& platform, bool quiet, bool veryquiet);

  // Opens the log (created when missing), unless veryquiet, without emptying
  // it yet: the log may turn out to be one of the databases, which the
  // settings name. Until StartLog the messages wait in memory. A log that
  // cannot be opened only prints a warning.
  void OpenLog(const std::string& log_file_name);
  // Empties the log and writes the waiting messages into it. A log that may
  // not be emptied (it is a protected input) prints the warning of a log
  // that cannot be opened, and the run goes on without it.
  void StartLog();
  // Flushes and closes the log.
  void CloseLog();

  // The text to the console unless quiet, to the log unless veryquiet.
  void PrintStatus(std::string_view text);
  // Prints the StatusLine's text as PrintStatus does, then resets it.
  void PrintStatusLine();
  void ResetStatusLine() { line_.Reset(); }
  // A progress dot, printed like any other message.
  void Dot() override { PrintStatus("."); }

  // A diagnostic on standard error: a warning unless veryquiet, an error
  // always. Neither reaches the console or the log.
  void Warn(const Diagnostic& diagnostic);
  void Error(const Diagnostic& diagnostic);
  // Where diagnostics go instead, whatever the quietness (a check of the
  // settings collects them).
  using DiagnosticSink = std::function<void(Severity, const Diagnostic&)>;
  void RedirectDiagnostics(DiagnosticSink sink) { sink_ = std::move(sink); }

  StatusLine& line() { return line_; }
  bool quiet() const { return quiet_; }
  bool veryquiet() const { return veryquiet_; }

 private:
  Platform& platform_;
  bool quiet_;
  bool veryquiet_;
  void WarnNoLog(const std::string& log_file_name);
  // Warns, once, when a write to the log failed.
  void CheckLogWrite(bool ok);
  void Diagnose(Severity severity, const Diagnostic& diagnostic);

  std::unique_ptr<OutputFile> log_;
  // The log between OpenLog and StartLog, and what it is to receive.
  std::unique_ptr<HeldOutputFile> held_log_;
  std::string held_log_name_;
  std::string waiting_;
  bool log_write_failed_ = false;
  StatusLine line_;
  DiagnosticSink sink_;
};

// Writes `text` with every line feed turned into CR LF.
bool WriteWithCrLf(OutputFile& file, std::string_view text);

}  // namespace tallyhawk
