// The templates of the site's pages. Each is built into the program; a file
// of the same name in the Templates directory replaces it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings.h"
#include "platform/platform.h"
#include "util/diagnostic.h"

namespace tallyhawk {

struct SiteTemplate {
  std::string name;    // "index.mustache"
  std::string origin;  // the file it was read from; empty: built in
  std::string text;
};

struct SiteTemplates {
  SiteTemplate index;
  SiteTemplate pilot;
  SiteTemplate squad;
};

struct BuiltInTemplate {
  std::string_view name;
  std::string_view text;
};

// The templates built into the program (dist/templates), by file name.
std::span<const BuiltInTemplate> BuiltInTemplates();

// What is wrong with `page` as a template: its file and line, and the
// parser's words; nothing when it parses.
std::optional<Diagnostic> TemplateProblem(const SiteTemplate& page);

// The templates a run uses. Adds to `problems` a template file that exists
// but cannot be read (the built-in one is used instead) and every template
// that does not parse.
SiteTemplates ReadSiteTemplates(Platform& platform, const SiteSettings& site,
                                std::vector<Diagnostic>* problems);

// ReadSiteTemplates for a run: the first problem ends it.
SiteTemplates LoadSiteTemplates(Platform& platform, const SiteSettings& site);

}  // namespace tallyhawk
