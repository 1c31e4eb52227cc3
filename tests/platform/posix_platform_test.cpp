// What the platform guarantees on POSIX systems: the clean-up of abandoned
// temporary files, protected inputs, outputs through symbolic links, and
// configuration inputs.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "platform/platform_fixture.h"

namespace tallyhawk::testing {
namespace {

// A run that ended without finishing a report left its temporary file; the
// next one to write that report removes it, but never the temporary file of
// a run still writing, another report's, or anything else.
TEST_F(SystemPlatformTest, AbandonedTemporariesOfTheReportAreRemoved) {
  auto live = MakeSystemPlatform()->CreateAtomicFile(Path("a.html"));
  const std::string kept[] = {"a.html.tmp1-2", "a.html.tallyhawk-1-x.tmp",
                              "b.html.tallyhawk-1-2.tmp", "user.dat",
                              "a.html.tallyhawk-2-2.tmp"};
  for (const std::string& name : kept) dir_.Write(name, name);
  dir_.Write("a.html.tallyhawk-77-0.tmp", "abandoned");
  dir_.Write("a.html.tallyhawk-4294967295-123.tmp", "abandoned");
  // A database that happens to have such a name is still an input.
  platform_->ProtectInputs({Path("a.html.tallyhawk-2-2.tmp")});
  auto file = platform_->CreateAtomicFile(Path("a.html"));
  ASSERT_TRUE(file && file->Commit() && live->Commit());
  std::map<std::string, std::string> left = dir_.Files();
  EXPECT_EQ(left.size(), std::size(kept) + 1);
  for (const std::string& name : kept) EXPECT_EQ(left[name], name);
}

// However an output is named, it never empties or replaces a protected
// input; other outputs are created and emptied as usual.
TEST_F(SystemPlatformTest, OutputsNeverEmptyOrReplaceAProtectedInput) {
  dir_.Write("user.dat", "users");
  dir_.Write("old.log", "old");
  dir_.MakeDirectory("sub");
  ASSERT_EQ(::link(Path("user.dat").c_str(), Path("linked.html").c_str()), 0);
  ASSERT_EQ(::symlink("user.dat", Path("alias.txt").c_str()), 0);
  ASSERT_EQ(::symlink("missing.dat", Path("to-missing.txt").c_str()), 0);
  platform_->ProtectInputs({Path("missing.dat"), Path("user.dat")});
  for (const char* name : {"user.dat", "sub/../user.dat", "linked.html",
                           "alias.txt", "to-missing.txt"}) {
    EXPECT_EQ(platform_->CreateFile(Path(name)), nullptr) << name;
    EXPECT_EQ(platform_->CreateAtomicFile(Path(name)), nullptr) << name;
  }
  // A missing input stays missing.
  EXPECT_EQ(platform_->CreateAtomicFile(Path("missing.dat")), nullptr);
  EXPECT_EQ(dir_.Read("user.dat"), "users");
  EXPECT_NE(platform_->CreateFile(Path("old.log")), nullptr);
  EXPECT_EQ(dir_.Read("old.log"), "");
  EXPECT_EQ(FileCount(), 3u);  // user.dat, its link and old.log
}

// A report, template, log or error file whose name is a symbolic link is
// written to the file that the link, or chain of links, finally names (a
// relative link read from its own directory), and every link stays; the
// temporaries that dead runs left there are cleaned up. A link into a
// missing directory, a loop, or a link to a directory cannot be opened.
TEST_F(SystemPlatformTest, OutputsThroughSymbolicLinksGoToTheFileNamed) {
  const std::pair<const char*, const char*> kLinks[] = {
      {"chain.html", "www/hop.html"},
      {"www/hop.html", "pages/deep.html"},
      {"dangling.html", "www/new.html"},
      {"lost.html", "none/x.html"},
      {"loop.html", "loop2.html"},
      {"loop2.html", "loop.html"},
      {"dir.html", "www"}};
  // The file each output name leads to; none when it cannot be opened.
  const std::pair<const char*, const char*> kCases[] = {
      {"abs.html", "www/old.html"},
      {"chain.html", "www/pages/deep.html"},
      {"dangling.html", "www/new.html"},
      {"lost.html", nullptr},
      {"loop.html", nullptr},
      {"dir.html", nullptr}};
  // The same scene for each way of writing, so that each meets the
  // dangling link dangling.
  for (const std::string scene : {"atomic/", "held/"}) {
    dir_.MakeDirectory(scene + "www/pages");
    dir_.Write(scene + "www/old.html", "old");
    dir_.Write(scene + "www/old.html.tallyhawk-77-0.tmp", "abandoned");
    ASSERT_EQ(::symlink(Path(scene + "www/old.html").c_str(),
                        Path(scene + "abs.html").c_str()),
              0);
    for (const auto& [name, text] : kLinks)
      ASSERT_EQ(::symlink(text, Path(scene + name).c_str()), 0);
    for (const auto& [name, written] : kCases) {
      const std::string path = Path(scene + name);
      auto file = scene == "atomic/" ? platform_->CreateAtomicFile(path)
                                     : platform_->CreateFile(path);
      if (!written) {
        EXPECT_EQ(file, nullptr) << path;
        continue;
      }
      ASSERT_TRUE(file && file->Write(name) && file->Commit()) << path;
      EXPECT_EQ(dir_.Read(scene + written), name) << path;
      struct stat st;
      EXPECT_TRUE(::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode));
    }
  }
  std::map<std::string, std::string> left = dir_.Files();
  EXPECT_FALSE(left.contains("atomic/www/old.html.tallyhawk-77-0.tmp"));
  EXPECT_TRUE(left.contains("held/www/old.html.tallyhawk-77-0.tmp"));
}

// The descriptors this process has open; 0 where the system does not list
// them.
size_t OpenDescriptors() {
  std::error_code error;
  std::filesystem::directory_iterator fds("/proc/self/fd", error);
  if (error) return 0;
  return static_cast<size_t>(std::distance(fds, {}));
}

// The file that a report replaces is let go on another thread. Whatever the
// final name held (a FIFO that no one reads), the report replaces it without
// waiting on it; and however many reports replace files, none of the old
// ones stays open while the run goes on (their space on the disk would not
// be freed), nor once the platform is gone.
TEST_F(SystemPlatformTest, ReplacedFilesAreLetGo) {
  const size_t open_before = OpenDescriptors();
  {
    auto platform = MakeSystemPlatform();
    ASSERT_EQ(::mkfifo(Path("fifo.html").c_str(), 0666), 0);
    std::vector<std::string> names = {"fifo.html"};
    for (int i = 0; i < 200; ++i) names.push_back(std::to_string(i % 5));
    for (const std::string& name : names) {
      auto file = platform->CreateAtomicFile(Path(name));
      ASSERT_TRUE(file && file->Write(name) && file->Commit()) << name;
    }
    // The closing threads get to every old file soon, not at the end.
    for (int wait = 0; wait < 500 && OpenDescriptors() > open_before; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(OpenDescriptors(), open_before);
  }
  EXPECT_EQ(OpenDescriptors(), open_before);
  const std::map<std::string, std::string> left = dir_.Files();
  EXPECT_EQ(left.size(), 6u);
  EXPECT_EQ(left.at("fifo.html"), "fifo.html");
  EXPECT_EQ(left.at("4"), "4");
}

// A configuration file may be a device, and a missing one is told from one
// that exists but cannot be read.
TEST_F(SystemPlatformTest, ConfigurationInputs) {
  dir_.MakeDirectory("dir");
  bool missing = false;
  EXPECT_NE(platform_->OpenConfigInput("/dev/null", &missing), nullptr);
  std::string text;
  EXPECT_EQ(ReadWholeFile(*platform_, Path("none.ini"), &text),
            ReadResult::kMissing);
  EXPECT_EQ(ReadWholeFile(*platform_, Path("dir"), &text),
            ReadResult::kMissing);
  // Too deep a chain of symbolic links: there, but not to be opened.
  ASSERT_EQ(::symlink("loop", Path("loop").c_str()), 0);
  EXPECT_EQ(ReadWholeFile(*platform_, Path("loop"), &text),
            ReadResult::kUnreadable);
}

}  // namespace
}  // namespace tallyhawk::testing
