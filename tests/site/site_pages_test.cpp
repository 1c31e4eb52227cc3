// The templates, the removal of stale pages and the batch that writes the
// pages, each on its own.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "site/page_batch.h"
#include "site/site_templates.h"
#include "site/stale_pages.h"
#include "support/fake_platform.h"
#include "util/fatal_error.h"
#include "util/progress.h"

namespace tallyhawk {
namespace {

using testing::FakePlatform;

TEST(SiteTemplatesTest, BuiltInOnesParseAndCarryTheHtml5Frame) {
  FakePlatform platform;
  const SiteTemplates templates = LoadSiteTemplates(platform, SiteSettings{});
  for (const SiteTemplate* page :
       {&templates.index, &templates.pilot, &templates.squad}) {
    EXPECT_EQ(page->origin, "");
    EXPECT_FALSE(TemplateProblem(*page)) << page->name;
    EXPECT_TRUE(page->text.starts_with("<!DOCTYPE html>\n")) << page->name;
    EXPECT_NE(page->text.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page->text.find("name=\"viewport\""), std::string::npos);
  }
}

TEST(SiteTemplatesTest, AFileReplacesItsOwnTemplateOnly) {
  FakePlatform platform;
  platform.files[std::string("tpl") + PathSeparator() + "pilot.mustache"] =
      "{{name}}";
  SiteSettings site;
  site.Templates = "tpl";
  const SiteTemplates templates = LoadSiteTemplates(platform, site);
  EXPECT_EQ(templates.pilot.text, "{{name}}");
  EXPECT_EQ(templates.pilot.origin,
            std::string("tpl") + PathSeparator() + "pilot.mustache");
  EXPECT_EQ(templates.index.origin, "");
  EXPECT_EQ(templates.squad.origin, "");
}

// The parser's byte offset becomes the line of the file.
TEST(SiteTemplatesTest, AProblemNamesTheFileAndLine) {
  const std::pair<std::string, std::string> kCases[] = {
      {"a\nb\n{{#x}}\n",
       "3: the template does not parse: Unclosed section \"x\""},
      {"{{/y}}", "1: the template does not parse: Unopened section \"y\""},
      {"a\n\nb {{x", "3: the template does not parse: Unclosed tag"},
  };
  for (const auto& [text, expected] : kCases) {
    const std::optional<Diagnostic> problem =
        TemplateProblem({"squad.mustache", "t/squad.mustache", text});
    ASSERT_TRUE(problem) << text;
    EXPECT_EQ(problem->file, "t/squad.mustache");
    EXPECT_EQ(std::to_string(problem->line) + ": " + problem->text, expected);
  }
  FakePlatform platform;
  platform.files["t/index.mustache"] = "ok\n{{^a}}";
  SiteSettings site;
  site.Templates = "t/";
  try {
    LoadSiteTemplates(platform, site);
    FAIL() << "a bad template was taken";
  } catch (const FatalError& error) {
    EXPECT_EQ(error.detail().file, "t/index.mustache");
    EXPECT_EQ(error.detail().line, 2u);
  }
}

TEST(StalePagesTest, RemovesOnlyPagesOfIdsNoLongerListed) {
  FakePlatform platform;
  for (const char* name : {"1.html", "2.html", "30.html", "030.html",
                           "notes.html", "2.html.tallyhawk-1-1.tmp"}) {
    platform.files[std::string("p/") + name] = "x";
  }
  platform.files["p/sub/5.html"] = "x";
  platform.files["q/5.html"] = "x";
  RemoveStalePages(platform, "p/", {2, 7}, "failed");
  std::vector<std::string> left;
  for (const auto& [path, bytes] : platform.files) left.push_back(path);
  EXPECT_EQ(left, (std::vector<std::string>{
                      "p/030.html", "p/2.html", "p/2.html.tallyhawk-1-1.tmp",
                      "p/notes.html", "p/sub/5.html", "q/5.html"}));
}

TEST(StalePagesTest, AFailureEndsTheRunNamingTheFile) {
  for (size_t failing : {1, 2}) {  // the listing, then the removal
    FakePlatform platform;
    platform.files["p/9.html"] = "x";
    platform.failing_operation = failing;
    try {
      RemoveStalePages(platform, "p/", {}, "site failed");
      FAIL() << failing;
    } catch (const FatalError& error) {
      EXPECT_STREQ(error.what(), "site failed");
      EXPECT_EQ(error.detail().file, failing == 1 ? "p/" : "p/9.html");
    }
  }
}

TEST(PageBatchTest, EveryPageOnceAndTenDots) {
  for (size_t threads : {1, 2, 3}) {
    for (size_t count : {0, 1, 7, 1000}) {
      std::vector<std::atomic<int>> written(count);
      DotTally dots;
      WritePageBatch(
          count, threads,
          [&](size_t page, size_t thread) {
            ASSERT_LT(thread, threads);
            ++written[page];
          },
          dots);
      for (const std::atomic<int>& times : written) EXPECT_EQ(times, 1);
      EXPECT_EQ(dots.dots(), count == 0 ? 0 : 10);
    }
  }
}

// A failing page stops the batch: the pages not yet started are never
// written, and the failure comes out on the caller's thread.
TEST(PageBatchTest, TheFirstFailureStopsTheBatchAndIsRethrown) {
  for (size_t threads : {1, 2}) {
    std::atomic<size_t> started = 0;
    DotTally dots;
    EXPECT_THROW(WritePageBatch(
                     10000, threads,
                     [&](size_t page, size_t) {
                       ++started;
                       if (page == 10) throw std::runtime_error("page 10");
                     },
                     dots),
                 std::runtime_error);
    EXPECT_LT(started.load(), 10000u);
    EXPECT_LT(dots.dots(), 10);
  }
}

}  // namespace
}  // namespace tallyhawk
