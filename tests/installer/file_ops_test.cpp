// The Linux file operations: a running program's file is in use, the same file is never
// truncated, links are not written through, and the engine's lock shows a running game.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/installer/file_ops.h"
#include "platform/installer/game_lock.h"
#include "support.h"

extern char** environ;

namespace kelvox::platform::installer {
namespace {

using kelvox::installer::test::exists;
using kelvox::installer::test::readFile;
using kelvox::installer::test::writeFile;

class FileOpsTest : public kelvox::installer::test::TempHomeTest {
 protected:
  FileOps files;
};

TEST_F(FileOpsTest, CopyOverARunningProgramIsInUse) {
  std::string program = root + "running";
  ASSERT_EQ(files.copyFile("/bin/sleep", program, true), CopyResult::Copied);
  char arg0[] = "sleep", arg1[] = "30";
  char* argv[] = {arg0, arg1, nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
  CopyResult r = files.copyFile("/bin/sleep", program, true);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  EXPECT_EQ(r, CopyResult::InUse);
  EXPECT_EQ(files.copyFile("/bin/sleep", program, true), CopyResult::Copied);  // free again
}

TEST_F(FileOpsTest, CopyOntoItselfKeepsTheContent) {
  writeFile(root + "same", "content");
  EXPECT_EQ(files.copyFile(root + "same", root + "same", false), CopyResult::Copied);
  EXPECT_EQ(readFile(root + "same"), "content");
}

TEST_F(FileOpsTest, CopyDoesNotWriteThroughALink) {
  writeFile(root + "outside", "keep");
  writeFile(root + "src", "new");
  ASSERT_EQ(symlink((root + "outside").c_str(), (root + "link").c_str()), 0);
  EXPECT_EQ(files.copyFile(root + "src", root + "link", false), CopyResult::Failed);
  EXPECT_EQ(readFile(root + "outside"), "keep");
}

TEST_F(FileOpsTest, WriteGivesItsModeAndReplacesOnlyARegularFile) {
  struct Case {
    const char* name;
    unsigned mode;
    bool link;  // a link to a file outside stands at the target
  } cases[] = {{"private file", 0600, false}, {"program", 0755, false}, {"link at the target", 0644, true}};
  writeFile(root + "outside", "keep");
  for (const Case& c : cases) {
    std::string target = root + "entry";
    unlink(target.c_str());
    if (c.link) ASSERT_EQ(symlink((root + "outside").c_str(), target.c_str()), 0);
    else writeFile(target, "old");
    mode_t before = umask(0077);  // the mode asked for is the mode given, whatever the umask
    bool written = files.writeFile(target, "new", c.mode);
    umask(before);
    EXPECT_EQ(written, !c.link) << c.name;
    EXPECT_EQ(readFile(root + "outside"), "keep") << c.name;
    struct stat st {};
    ASSERT_EQ(lstat(target.c_str(), &st), 0) << c.name;
    EXPECT_EQ(S_ISLNK(st.st_mode), c.link) << c.name;
    if (!c.link) {
      EXPECT_EQ(st.st_mode & 0777, c.mode) << c.name;
      EXPECT_EQ(readFile(target), "new") << c.name;
    }
  }
}

TEST_F(FileOpsTest, CopyMakesReadOnlyFilesWritableAndProgramsExecutable) {
  writeFile(root + "ro", "x");
  chmod((root + "ro").c_str(), 0444);
  ASSERT_EQ(files.copyFile(root + "ro", root + "plain", false), CopyResult::Copied);
  ASSERT_EQ(files.copyFile(root + "ro", root + "prog", true), CopyResult::Copied);
  struct stat st {};
  stat((root + "plain").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  stat((root + "prog").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
}

TEST_F(FileOpsTest, CopyOfAMissingOrSpecialSourceFailsAndLeavesTheDestination) {
  writeFile(root + "dest", "old");
  EXPECT_EQ(files.copyFile(root + "missing", root + "dest", false), CopyResult::Failed);
  EXPECT_EQ(files.copyFile(root, root + "dest", false), CopyResult::Failed);  // a folder
  EXPECT_EQ(readFile(root + "dest"), "old");
}

TEST_F(FileOpsTest, LinksAreFilesUnlessFollowed) {
  mkdir((root + "dir").c_str(), 0755);
  ASSERT_EQ(symlink((root + "dir").c_str(), (root + "dirlink").c_str()), 0);
  EXPECT_EQ(files.kind(root + "dirlink"), PathKind::File);
  EXPECT_EQ(files.kind(root + "dirlink/"), PathKind::File);  // a trailing '/' does not follow
  EXPECT_EQ(files.kind(root + "dirlink", true), PathKind::Folder);
  EXPECT_FALSE(files.removeFile(root + "dir"));  // never a folder
  EXPECT_TRUE(files.removeFile(root + "dirlink"));
  EXPECT_TRUE(exists(root + "dir"));
}

TEST_F(FileOpsTest, RunningGameIsSeenThroughItsLock) {
  std::string runtime = root + "run/";
  EXPECT_FALSE(gameIsRunning(runtime));  // no lock file: no game
  int fd = open((runtime + kGameLockName).c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  EXPECT_FALSE(gameIsRunning(runtime));  // a file nobody locks: no game
  ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
  EXPECT_TRUE(gameIsRunning(runtime));
  close(fd);
  EXPECT_FALSE(gameIsRunning(runtime));
}

}  // namespace
}  // namespace kelvox::platform::installer
