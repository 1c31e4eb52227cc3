#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.h"
#include "support/e2e_harness.h"

namespace tallyhawk {
namespace {

using testing::TempDir;

class PosixPlatformTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) {
    return dir_.path() + "/" + relative;
  }
  size_t FileCount() { return dir_.Files().size(); }

  TempDir dir_;
  std::unique_ptr<Platform> platform_ = MakeSystemPlatform();
};

TEST_F(PosixPlatformTest, AtomicFileReplacesTheTargetOnlyOnCommit) {
  dir_.Write("report.txt", "old");
  auto dropped = platform_->CreateAtomicFile(Path("report.txt"));
  ASSERT_NE(dropped, nullptr);
  dropped->Write(std::string(200000, 'x'));  // more than one buffer
  dropped.reset();
  EXPECT_EQ(dir_.Read("report.txt"), "old");
  EXPECT_EQ(FileCount(), 1u);  // no temporary file is left

  auto file = platform_->CreateAtomicFile(Path("report.txt"));
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Write("new "));
  ASSERT_TRUE(file->Write("text"));
  EXPECT_EQ(FileCount(), 2u);  // the target and the temporary file
  ASSERT_TRUE(file->Commit());
  EXPECT_EQ(dir_.Read("report.txt"), "new text");
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(PosixPlatformTest, TwoAtomicFilesForOneTargetDoNotShareATemporary) {
  auto first = platform_->CreateAtomicFile(Path("a.html"));
  auto second = platform_->CreateAtomicFile(Path("a.html"));
  first->Write("first");
  second->Write("second");
  EXPECT_TRUE(first->Commit());
  EXPECT_TRUE(second->Commit());
  EXPECT_EQ(dir_.Read("a.html"), "second");
  EXPECT_EQ(FileCount(), 1u);
}

// A run that ended without finishing a report left its temporary file; the
// next one to write that report removes it, but never the temporary file of
// a run still writing, another report's, or anything else.
TEST_F(PosixPlatformTest, AbandonedTemporariesOfTheReportAreRemoved) {
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
TEST_F(PosixPlatformTest, OutputsNeverEmptyOrReplaceAProtectedInput) {
  dir_.Write("user.dat", "users");
  dir_.Write("old.log", "old");
  dir_.MakeDirectory("sub");
  ASSERT_EQ(::link(Path("user.dat").c_str(), Path("linked.html").c_str()), 0);
  ASSERT_EQ(::symlink("user.dat", Path("alias.txt").c_str()), 0);
  platform_->ProtectInputs({Path("missing.dat"), Path("user.dat")});
  for (const char* name :
       {"user.dat", "sub/../user.dat", "linked.html", "alias.txt"}) {
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

// A configuration file may be a device, and a missing one is told from one
// that exists but cannot be read.
TEST_F(PosixPlatformTest, ConfigurationInputs) {
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

TEST_F(PosixPlatformTest, DirectoryCreationOutcomes) {
  dir_.MakeDirectory("zone");
  dir_.Write("file", "");
  // An existing directory, or a plain file of that name, counts as existing.
  for (const char* existing : {"zone/", "file/"}) {
    EXPECT_EQ(platform_->CreateDirectory(Path(existing)),
              DirectoryResult::kCreatedOrExists);
  }
  EXPECT_EQ(platform_->CreateDirectory(Path("file/zone/")),
            DirectoryResult::kMissingParent);
  EXPECT_EQ(platform_->CreateDirectory(Path(std::string(300, 'x') + "/")),
            DirectoryResult::kOtherError);
}

}  // namespace
}  // namespace tallyhawk
