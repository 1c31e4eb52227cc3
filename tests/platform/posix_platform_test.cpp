#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "support/e2e_harness.h"

namespace tallyhawk {
namespace {

using testing::TempDir;

class PosixPlatformTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) { return dir_.path() + "/" + relative; }
  size_t FileCount() { return dir_.Files().size(); }

  TempDir dir_;
  std::unique_ptr<Platform> platform_ = MakeSystemPlatform();
};

TEST_F(PosixPlatformTest, AtomicFileReplacesTheTargetOnlyOnCommit) {
  dir_.Write("report.txt", "old");
  auto file = platform_->CreateAtomicFile(Path("report.txt"));
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Write("new "));
  ASSERT_TRUE(file->Write("text"));
  EXPECT_EQ(dir_.Read("report.txt"), "old");
  EXPECT_EQ(FileCount(), 2u);  // the target and the temporary file
  ASSERT_TRUE(file->Commit());
  EXPECT_EQ(dir_.Read("report.txt"), "new text");
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(PosixPlatformTest, DroppedAtomicFileLeavesTheTargetAndNoTemporary) {
  dir_.Write("report.txt", "old");
  {
    auto file = platform_->CreateAtomicFile(Path("report.txt"));
    ASSERT_NE(file, nullptr);
    file->Write(std::string(200000, 'x'));  // more than one buffer
  }
  EXPECT_EQ(dir_.Read("report.txt"), "old");
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

TEST_F(PosixPlatformTest, AtomicFileCannotBeCreatedOverADirectoryOrInAMissingOne) {
  dir_.MakeDirectory("taken.html");
  EXPECT_EQ(platform_->CreateAtomicFile(Path("taken.html")), nullptr);
  EXPECT_EQ(platform_->CreateAtomicFile(Path("missing/a.html")), nullptr);
  EXPECT_EQ(FileCount(), 0u);
}

TEST_F(PosixPlatformTest, DirectoryCreationOutcomes) {
  EXPECT_EQ(platform_->CreateDirectory(Path("zone/")), DirectoryResult::kCreatedOrExists);
  EXPECT_TRUE(std::filesystem::is_directory(Path("zone")));
  EXPECT_EQ(platform_->CreateDirectory(Path("zone/")), DirectoryResult::kCreatedOrExists);
  EXPECT_EQ(platform_->CreateDirectory(Path("no/zone/")), DirectoryResult::kMissingParent);
  dir_.Write("file", "");
  // An existing plain file of that name counts as existing.
  EXPECT_EQ(platform_->CreateDirectory(Path("file/")), DirectoryResult::kCreatedOrExists);
  EXPECT_EQ(platform_->CreateDirectory(Path("file/zone/")), DirectoryResult::kMissingParent);
  EXPECT_EQ(platform_->CreateDirectory(Path(std::string(300, 'x') + "/")),
            DirectoryResult::kOtherError);
}

TEST_F(PosixPlatformTest, InputFilesAreRegularFilesOnly) {
  dir_.MakeDirectory("sub");
  dir_.Write("data", std::string("a\0b\r\n", 5));
  EXPECT_EQ(platform_->OpenInput(Path("sub")), nullptr);
  EXPECT_EQ(platform_->OpenInput(Path("none")), nullptr);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(*platform_, Path("data"), &bytes));
  EXPECT_EQ(bytes, std::string("a\0b\r\n", 5));
}

TEST_F(PosixPlatformTest, CreateFileTruncates) {
  dir_.Write("log", "a much longer earlier text");
  auto file = platform_->CreateFile(Path("log"));
  ASSERT_NE(file, nullptr);
  file->Write("short");
  EXPECT_TRUE(file->Commit());
  EXPECT_EQ(dir_.Read("log"), "short");
}

}  // namespace
}  // namespace tallyhawk
