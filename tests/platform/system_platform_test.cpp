// What the platform guarantees on every system: atomic reports, full disks,
// directories where files are wanted, and directory creation.
#include "platform/platform_fixture.h"

namespace tallyhawk::testing {
namespace {

TEST_F(SystemPlatformTest, AtomicFileReplacesTheTargetOnlyOnCommit) {
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

  // Two files for one target do not share a temporary file.
  auto first = platform_->CreateAtomicFile(Path("a.html"));
  auto second = platform_->CreateAtomicFile(Path("a.html"));
  first->Write("first");
  second->Write("second");
  EXPECT_TRUE(first->Commit());
  EXPECT_TRUE(second->Commit());
  EXPECT_EQ(dir_.Read("a.html"), "second");
  EXPECT_EQ(FileCount(), 2u);
}

// A full disk shows when the buffered bytes reach the system: a Commit that
// cannot write them out must fail, or a cut template would pass as whole.
TEST_F(SystemPlatformTest, CommitFailsWhenTheBufferedBytesDoNotFit) {
  auto file = platform_->CreateFile("/dev/full");
  if (!file) GTEST_SKIP() << "no /dev/full here";
  EXPECT_TRUE(file->Write("[General]\nTopX=100\n"));
  EXPECT_FALSE(file->Commit());
}

// A directory is neither a database nor the place of a report; creating one
// tells an existing one, a missing parent and a refused name apart.
TEST_F(SystemPlatformTest, DirectoriesWhereFilesAreWantedAndCreated) {
  dir_.MakeDirectory("zone");
  dir_.Write("file", "");
  EXPECT_EQ(platform_->OpenInput(Path("zone")), nullptr);
  EXPECT_EQ(platform_->CreateAtomicFile(Path("zone")), nullptr);
  // An existing directory, or a plain file of that name, counts as existing.
  for (const char* existing : {"zone/", "file/"}) {
    EXPECT_EQ(platform_->CreateDirectory(Path(existing)),
              DirectoryResult::kCreatedOrExists);
  }
  EXPECT_EQ(platform_->CreateDirectory(Path("file/zone/")),
            DirectoryResult::kMissingParent);
  EXPECT_EQ(platform_->CreateDirectory(Path(RefusedName() + "/")),
            DirectoryResult::kOtherError);
}

}  // namespace
}  // namespace tallyhawk::testing
