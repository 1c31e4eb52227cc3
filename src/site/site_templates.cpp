#include "site/site_templates.h"

#include <algorithm>
#include <charconv>
#include <kainjow/mustache.hpp>

#include "util/fatal_error.h"

namespace tallyhawk {
namespace {

// The line of `text` that holds byte `offset`, from 1.
uint32_t LineOf(std::string_view text, size_t offset) {
  offset = std::min(offset, text.size());
  return 1 + static_cast<uint32_t>(
                 std::count(text.begin(), text.begin() + offset, '\n'));
}

SiteTemplate BuiltIn(std::string_view name) {
  for (const BuiltInTemplate& page : BuiltInTemplates()) {
    if (page.name == name)
      return {std::string(name), "", std::string(page.text)};
  }
  return {std::string(name), "", ""};
}

// The template `name` of `directory`, or the built-in one.
SiteTemplate ReadTemplate(Platform& platform, const std::string& directory,
                          std::string_view name,
                          std::vector<Diagnostic>* problems) {
  if (directory.empty()) return BuiltIn(name);
  std::string path = directory;
  if (!IsPathSeparator(path.back())) path += PathSeparator();
  path.append(name);
  SiteTemplate page{std::string(name), path, ""};
  switch (ReadWholeFile(platform, path, &page.text)) {
    case ReadResult::kRead:
      if (std::optional<Diagnostic> problem = TemplateProblem(page)) {
        problems->push_back(*problem);
      }
      return page;
    case ReadResult::kMissing:
      return BuiltIn(name);
    case ReadResult::kUnreadable:
      break;
  }
  problems->push_back({path, 0, "cannot read the template", LastFailure()});
  return BuiltIn(name);
}

}  // namespace

std::optional<Diagnostic> TemplateProblem(const SiteTemplate& page) {
  const kainjow::mustache::mustache parsed(page.text);
  if (parsed.is_valid()) return std::nullopt;
  // The parser ends its message with " at <byte offset>".
  std::string message = parsed.error_message();
  uint32_t line = 0;
  const size_t at = message.rfind(" at ");
  size_t offset = 0;
  if (at != std::string::npos) {
    const char* begin = message.data() + at + 4;
    const char* end = message.data() + message.size();
    const auto [last, error] = std::from_chars(begin, end, offset);
    if (error == std::errc() && last == end) {
      line = LineOf(page.text, offset);
      message.resize(at);
    }
  }
  const std::string file =
      page.origin.empty() ? "built-in " + page.name : page.origin;
  return Diagnostic{file, line, "the template does not parse: " + message, ""};
}

SiteTemplates ReadSiteTemplates(Platform& platform, const SiteSettings& site,
                                std::vector<Diagnostic>* problems) {
  return {ReadTemplate(platform, site.Templates, "index.mustache", problems),
          ReadTemplate(platform, site.Templates, "pilot.mustache", problems),
          ReadTemplate(platform, site.Templates, "squad.mustache", problems)};
}

SiteTemplates LoadSiteTemplates(Platform& platform, const SiteSettings& site) {
  std::vector<Diagnostic> problems;
  SiteTemplates templates = ReadSiteTemplates(platform, site, &problems);
  if (!problems.empty()) {
    throw FatalError("Unable to load the site's templates", problems.front());
  }
  return templates;
}

}  // namespace tallyhawk
