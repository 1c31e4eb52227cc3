// The site's pages as their templates lay out the views. The templates are
// parsed once for each renderer; a renderer belongs to one thread.
#pragma once

#include <memory>
#include <string>

#include "site/site_templates.h"
#include "site/site_views.h"

namespace tallyhawk {

class PageRenderer {
 public:
  // The templates must parse (LoadSiteTemplates checked them).
  explicit PageRenderer(const SiteTemplates& templates);
  ~PageRenderer();
  PageRenderer(const PageRenderer&) = delete;
  PageRenderer& operator=(const PageRenderer&) = delete;

  std::string Render(const IndexView& view);
  std::string Render(const PilotView& view);
  std::string Render(const SquadView& view);

 private:
  struct Parsed;
  std::unique_ptr<Parsed> parsed_;
};

}  // namespace tallyhawk
