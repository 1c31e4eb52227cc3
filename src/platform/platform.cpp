#include "platform/platform.h"

namespace tallyhawk {
namespace {

// Each thread has its own: reports are written on several at once.
thread_local std::string last_failure;

}  // namespace

std::string LastFailure() { return last_failure; }

void NoteFailure(std::string reason) { last_failure = std::move(reason); }

bool ConsoleFlushPolicy::ShouldFlush(std::string_view text) {
  constexpr std::chrono::milliseconds kMoment(50);
  const auto now = std::chrono::steady_clock::now();
  if (text.find('\n') == std::string_view::npos &&
      now - last_flush_ < kMoment) {
    return false;
  }
  last_flush_ = now;
  return true;
}

LocalTime LocalTimeFromTm(const struct tm& value) {
  LocalTime local;
  local.year = value.tm_year + 1900;
  local.month = value.tm_mon;
  local.day = value.tm_mday;
  local.weekday = value.tm_wday;
  local.hour = value.tm_hour;
  local.minute = value.tm_min;
  local.second = value.tm_sec;
  return local;
}

std::unique_ptr<OutputFile> Platform::CreateFile(const std::string& path) {
  std::unique_ptr<HeldOutputFile> held = OpenOutput(path);
  return held ? held->Start() : nullptr;
}

ReadResult ReadWholeFile(Platform& platform, const std::string& path,
                         std::string* contents) {
  bool missing = false;
  std::unique_ptr<InputFile> file = platform.OpenConfigInput(path, &missing);
  if (!file) return missing ? ReadResult::kMissing : ReadResult::kUnreadable;
  contents->clear();
  char buffer[1 << 16];
  while (size_t n = file->Read(buffer, sizeof buffer))
    contents->append(buffer, n);
  return file->Failed() ? ReadResult::kUnreadable : ReadResult::kRead;
}

std::string TemporaryName(const std::string& path, unsigned long pid,
                          unsigned n) {
  return path + ".tallyhawk-" + std::to_string(pid) + "-" + std::to_string(n) +
         ".tmp";
}

bool IsTemporaryOf(std::string_view name, std::string_view base) {
  const std::string_view prefix = ".tallyhawk-";
  const std::string_view suffix = ".tmp";
  if (!name.starts_with(base)) return false;
  name.remove_prefix(base.size());
  if (!name.starts_with(prefix) || !name.ends_with(suffix)) return false;
  name =
      name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  // Two numbers joined by one '-'.
  const size_t dash = name.find('-');
  if (dash == std::string_view::npos) return false;
  for (std::string_view number :
       {name.substr(0, dash), name.substr(dash + 1)}) {
    if (number.empty() ||
        number.find_first_not_of("0123456789") != std::string_view::npos) {
      return false;
    }
  }
  return true;
}

std::pair<std::string, std::string> SplitDirectory(const std::string& path) {
  const char separators[] = {'/', PathSeparator(), '\0'};
  const size_t last = path.find_last_of(separators);
  if (last == std::string::npos) return {"", path};
  return {path.substr(0, last + 1), path.substr(last + 1)};
}

}  // namespace tallyhawk
