#include "site/site_writer.h"

#include <memory>
#include <string>
#include <vector>

#include "report/report_file.h"
#include "report/report_frame.h"
#include "report/usage_report.h"
#include "site/page_batch.h"
#include "site/page_render.h"
#include "site/site_figures.h"
#include "site/site_subjects.h"
#include "site/site_text.h"
#include "site/site_views.h"
#include "site/stale_pages.h"
#include "util/fatal_error.h"
#include "util/text_format.h"

namespace tallyhawk {
namespace {

void WritePage(Platform& platform, const std::string& path,
               const std::string& text) {
  std::unique_ptr<ReportFile> file =
      OpenReport(platform, path, kSiteFailure, kSiteFailure);
  file->Verbatim(text);
  file->Commit();
}

// DateText without its line break.
std::string DateOf(Platform& platform, int64_t seconds) {
  std::string text = DateText(platform.ToLocalTime(seconds));
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

UsageSection MakeUsageSection(const SiteRun& run) {
  UsageSection section;
  if (!run.usage) return section;
  const Settings& settings = run.settings;
  for (const UsageRow& row : UsageRows(settings.Usage, *run.usage)) {
    section.figures.push_back(
        {std::string(row.name), row.html_value, row.since_mark});
  }
  if (settings.Usage.DoActivePlayers || settings.Usage.DoNewPlayers) {
    section.since_date = DateOf(run.platform, run.usage->cut_off);
  }
  if (settings.Output.HTML || settings.Output.HTMLGroup) {
    section.page = settings.Output.Directory + "Usage.html";
  }
  return section;
}

// The pages of one kind: `count` of them in `folder` below the root, made
// by `render`; then the folder rid of the pages of IDs not in `ids`.
template <typename Render>
void WriteSubjectPages(const SiteRun& run, std::string_view noun,
                       std::string_view folder_name,
                       const std::vector<uint32_t>& ids, Render render) {
  StatusOutput& status = run.status;
  status.line() << "Writing " << FormatUnsigned(ids.size()) << " " << noun
                << " pages .";
  status.PrintStatusLine();
  const std::string folder = run.settings.Output.Directory +
                             std::string(folder_name) + PathSeparator();
  if (!ids.empty() && run.platform.CreateDirectory(folder) !=
                          DirectoryResult::kCreatedOrExists) {
    throw FileError(kSiteFailure, folder, "cannot create the site's folder");
  }
  WritePageBatch(
      ids.size(), run.threads,
      [&](size_t page, size_t thread) {
        WritePage(run.platform, folder + PageFileName(ids[page]),
                  render(page, thread));
      },
      status);
  RemoveStalePages(run.platform, folder, ids, kSiteFailure);
  status.PrintStatus(" Done\n");
}

}  // namespace

void WriteSite(const SiteRun& run) {
  const std::vector<ScoreIdSite>& score_ids = run.collector.score_ids();
  const SiteSubjects subjects = FindSubjects(score_ids, run.databases.UserTable,
                                             run.databases.SquadTable);
  std::vector<uint32_t> score_id_numbers;
  for (const ScoreIdSite& score_id : score_ids) {
    score_id_numbers.push_back(score_id.score_id);
  }
  const SubjectFigures figures =
      GatherFigures(score_id_numbers, run.databases, run.membership, subjects);
  const SiteData data{run.settings, run.databases,
                      score_ids,    subjects,
                      figures,      DateOf(run.platform, run.platform.Now())};
  std::vector<std::unique_ptr<PageRenderer>> renderers;
  for (size_t thread = 0; thread < run.threads; ++thread) {
    renderers.push_back(std::make_unique<PageRenderer>(run.templates));
  }

  WriteSubjectPages(
      run, "pilot", kPilotFolder, subjects.pilots,
      [&](size_t pilot, size_t thread) {
        return renderers[thread]->Render(MakePilotView(data, pilot));
      });
  WriteSubjectPages(
      run, "squad", kSquadFolder, subjects.squads,
      [&](size_t squad, size_t thread) {
        return renderers[thread]->Render(MakeSquadView(data, squad));
      });
  // The index last: it links to the pages above.
  const std::string index = run.settings.Output.Directory + "index.html";
  PrintWritingMessage(run.status, index, "' .");
  WritePage(
      run.platform, index,
      renderers.front()->Render(MakeIndexView(data, MakeUsageSection(run))));
  run.status.PrintStatus(" Done\n");
}

}  // namespace tallyhawk
