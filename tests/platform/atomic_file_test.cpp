// AtomicFile and the whole-file writer over it, under the failures they exist for: a full disk
// (a file size limit stands in for it, as no test may fill a real disk), a folder the writer may
// not write in, a symbolic link at the target (there from the start, or planted while the file
// is written) and a writer killed between its write and its rename. Each leaves the old file,
// and whatever a link points to, as it was.
#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/file_tree.h"
#include "support/test_game.h"

namespace kelvox::platform {
namespace {

namespace fs = std::filesystem;

TEST(FileSystem, AtomicWriteReplacesOrLeavesTheOldFile) {
  test::TempDir dir;
  std::vector<uint8_t> first{1, 2, 3}, second{4, 5};
  ASSERT_TRUE(writeFileAtomic(dir.path() / "f", first));
  ASSERT_TRUE(writeFileAtomic(dir.path() / "f", second));
  EXPECT_EQ(readWholeFile(dir.path() / "f").value(), second);
  std::string error;
  EXPECT_FALSE(writeFileAtomic(dir.path() / "missing" / "f", first, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(readWholeFile(dir.path() / "nothing", &error).has_value());
  EXPECT_FALSE(readWholeFile(dir.path(), &error).has_value());  // a folder is not a file
}

// Runs [work] in a child process, so that what it changes of the process (a limit, its user)
// stays there. The child's exit status: 0 when [work] returned true, 1 when false, what it
// gave _exit, or 128 plus the signal that ended it.
int inChild(const std::function<bool()>& work) {
  pid_t pid = fork();
  if (pid == 0) _exit(work() ? 0 : 1);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool replace(const fs::path& target, const std::string& text, std::string* error = nullptr) {
  return writeFileAtomic(target, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error);
}

TEST(AtomicFile, AFailedReplacementLeavesEverythingAsItWas) {
  constexpr uid_t kNobody = 65534;
  constexpr int kCannotTry = 77;
  struct Case {
    const char* name;
    std::function<void(test::TempDir&)> prepare;
    std::function<int(const fs::path& target)> attempt;  // 1: the write failed
  } cases[] = {
      {"a full disk: the file may not grow past 4 KiB",
       [](test::TempDir&) {},
       [](const fs::path& target) {
         return inChild([&] {
           signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of ending the process
           rlimit limit{};
           getrlimit(RLIMIT_FSIZE, &limit);
           limit.rlim_cur = 4096;
           return setrlimit(RLIMIT_FSIZE, &limit) == 0 && replace(target, std::string(1 << 16, 'n'));
         });
       }},
      {"a folder the writer may not write in",
       [](test::TempDir& dir) { fs::permissions(dir.path() / "game", fs::perms::owner_write, fs::perm_options::remove); },
       [](const fs::path& target) {
         return inChild([&] {
           // Root writes anywhere: the writer gives its rights up first, as a player's copy
           // never has them.
           if (geteuid() == 0 && setresuid(kNobody, kNobody, kNobody) != 0) _exit(kCannotTry);
           return replace(target, "new");
         });
       }},
      {"a symbolic link at the target",
       [](test::TempDir& dir) {
         fs::remove(dir.path() / "game/Save00");
         fs::create_symlink(dir.path() / "outside", dir.path() / "game/Save00");
       },
       [](const fs::path& target) { return replace(target, "new") ? 0 : 1; }},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    dir.write("game/Save00", "old");
    dir.write("outside", "the player's other file");
    c.prepare(dir);
    const test::FileTree before = test::snapshotFiles(dir.path());
    const int status = c.attempt(dir.path() / "game/Save00");
    fs::permissions(dir.path() / "game", fs::perms::owner_all, fs::perm_options::add);
    if (status == kCannotTry) {
      std::printf("not tried here: %s\n", c.name);
      continue;
    }
    EXPECT_EQ(status, 1) << c.name;
    EXPECT_EQ(test::snapshotFiles(dir.path()), before) << c.name;  // no temporary left either
  }
}

TEST(AtomicFile, ALinkPlantedWhileTheFileIsWrittenIsNotReplaced) {
  test::TempDir dir;
  dir.write("outside", "the player's other file");
  AtomicFile file(dir.path() / "Save00");
  std::string error;
  ASSERT_TRUE(file.open(error)) << error;
  ASSERT_TRUE(file.write(std::vector<uint8_t>{'n', 'e', 'w'}));
  fs::create_symlink(dir.path() / "outside", dir.path() / "Save00");
  EXPECT_FALSE(file.commit(error));
  EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
  EXPECT_EQ(test::snapshotFiles(dir.path()),
            (test::FileTree{{"Save00", "link:" + (dir.path() / "outside").string()}, {"outside", "file:the player's other file"}}));
}

TEST(AtomicFile, AWriterKilledBeforeItsRenameLeavesTheOldFileAndItsTemporaryGoesNextTime) {
  test::TempDir dir;
  dir.write("Save00", "old");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t writer = fork();
  if (writer == 0) {
    AtomicFile file(dir.path() / "Save00");
    std::string error;
    bool written = file.open(error) && file.write(std::vector<uint8_t>(100000, 'n'));
    [[maybe_unused]] ssize_t told = ::write(ready[1], written ? "w" : "f", 1);
    pause();  // killed here, between the write and the rename
    _exit(0);
  }
  char state = 0;
  ASSERT_EQ(read(ready[0], &state, 1), 1);
  EXPECT_EQ(state, 'w');
  kill(writer, SIGKILL);
  waitpid(writer, nullptr, 0);
  close(ready[0]);
  close(ready[1]);

  test::FileTree left = test::snapshotFiles(dir.path());
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left["Save00"], "file:old");
  const std::string temporary = std::prev(left.end())->first;
  EXPECT_TRUE(isTemporaryName(temporary, "Save00")) << temporary;

  ASSERT_TRUE(replace(dir.path() / "Save00", "new"));
  EXPECT_EQ(test::snapshotFiles(dir.path()), (test::FileTree{{"Save00", "file:new"}}));
}

}  // namespace
}  // namespace kelvox::platform
