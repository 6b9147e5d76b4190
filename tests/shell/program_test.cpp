// The kelvox program itself, run as a separate process: termination signals end it through
// its teardown, --input refuses what is not a sane input file, the single-instance lock tells
// a second copy from a broken lock folder, headless output carries no terminal controls, and
// a run that could not write Save\Sys says so in its status.
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/instance_lock.h"
#include "support/file_tree.h"
#include "support/test_game.h"

namespace kelvox::shell {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;  // exit status, or 128 + signal
  std::string out, err;
};

// A started kelvox with its standard output and error on pipes.
class Program {
 public:
  Program(std::vector<std::string> args, std::vector<std::string> env = {}) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      dup2(err[1], 2);
      close(out[0]);
      close(err[0]);
      for (const auto& e : env) putenv(const_cast<char*>(e.c_str()));
      std::string program = std::string(KELVOX_BINARY_DIR) + "/kelvox";
      std::vector<char*> argv{program.data()};
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(out[1]);
    close(err[1]);
    out_ = out[0];
    err_ = err[0];
  }
  ~Program() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(out_);
    close(err_);
  }

  // Reads standard output up to and including a line that contains [text]; false at its end.
  bool awaitLine(const std::string& text) {
    char c;
    std::string line;
    while (read(out_, &c, 1) == 1) {
      seen_ += c;
      if (c != '\n') {
        line += c;
        continue;
      }
      if (line.find(text) != std::string::npos) return true;
      line.clear();
    }
    return false;
  }
  void signal(int number) { kill(pid_, number); }

  Outcome finish() {
    Outcome run;
    run.out = seen_ + drain(out_);
    run.err = drain(err_);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
  }

 private:
  static std::string drain(int fd) {
    std::string text;
    char chunk[4096];
    ssize_t n;
    while ((n = read(fd, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<size_t>(n));
    return text;
  }
  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;
  std::string seen_;
};

Outcome runKelvox(std::vector<std::string> args, std::vector<std::string> env = {}) {
  return Program(std::move(args), std::move(env)).finish();
}

// A game that shows one box and then waits for ever.
constexpr const char* kForever = ".code\n 1 DebugShowNumber\nloop: WaitFrame loop Jump\n";

TEST(Program, ATerminationSignalEndsTheGameThroughItsTeardown) {
  for (int number : {SIGTERM, SIGINT, SIGHUP}) {
    test::TempDir dir;
    test::writeScript(dir.path(), kForever);
    Program kelvox({"--headless", dir.path().string()});
    ASSERT_TRUE(kelvox.awaitLine("text=1 answer=OK"));
    kelvox.signal(number);
    Outcome run = kelvox.finish();
    EXPECT_EQ(run.status, 0) << number << run.err;
    EXPECT_TRUE(fs::exists(dir.path() / "Save" / "Sys")) << number;  // written at teardown
  }
}

TEST(Program, InputFilesThatAreNotSaneAreRefused) {
  test::TempDir dir;
  test::writeScript(dir.path(), ".code\n End\n");
  dir.write("negative.txt", "0 mouse 1 1\n-5 key 27 down\n");
  ASSERT_EQ(mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
  {
    std::ofstream huge(dir.path() / "huge.txt");
  }
  fs::resize_file(dir.path() / "huge.txt", 64u << 20);  // sparse: costs no disk
  struct Case {
    std::string file, reason;
  };
  const Case cases[] = {
      {dir.path().string(), "not a regular file"},
      {(dir.path() / "fifo").string(), "not a regular file"},
      {"/dev/zero", "not a regular file"},
      {(dir.path() / "huge.txt").string(), "larger than"},
      {(dir.path() / "missing.txt").string(), "No such file"},
      {(dir.path() / "negative.txt").string(), "line 2: the tick must be a number from 0 up"},
  };
  for (const auto& c : cases) {
    Outcome run = runKelvox({"--headless", "--frames", "1", "--input", c.file, dir.path().string()});
    EXPECT_EQ(run.status, 2) << c.file;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
  }
}

TEST(Program, OnlyALockHeldByAnotherCopyEndsQuietly) {
  test::TempDir dir;
  test::writeScript(dir.path(), ".code\n End\n");
  fs::create_directory(dir.path() / "runtime");
  std::string runtime = "XDG_RUNTIME_DIR=" + (dir.path() / "runtime").string();
  // Another copy: this test holds the lock the way a running game does.
  int fd = open((dir.path() / "runtime" / "AppMutex.lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
  Outcome second = runKelvox({dir.path().string()}, {runtime, "SDL_VIDEODRIVER=dummy"});
  close(fd);
  EXPECT_EQ(second.status, 0);
  EXPECT_NE(second.err.find("another copy of the game is running"), std::string::npos) << second.err;

  // A runtime folder that is a file: an error, not a silent end.
  dir.write("runtime-file", "x");
  Outcome broken = runKelvox({dir.path().string()}, {"XDG_RUNTIME_DIR=" + (dir.path() / "runtime-file").string()});
  EXPECT_EQ(broken.status, 2);
  EXPECT_NE(broken.err.find("no single-instance lock"), std::string::npos) << broken.err;
}

TEST(Program, HeadlessOutputEscapesTerminalControls) {
  test::TempDir dir;
  // ESC [2J clears a terminal, BEL rings it; the sequence must arrive as text.
  test::writeScript(dir.path(), ".code\n text DebugShowString End\n.data\ntext: .string \"a\"\n");
  // The assembler has no escapes: put the controls into Data.ssb directly (scrambled).
  std::string data = "a\x1b[2J\x07z";
  data += '\0';
  for (auto& ch : data) ch = static_cast<char>(ch ^ 0x5C);
  dir.write("Script/Data.ssb", data);
  Outcome run = runKelvox({"--headless", "--frames", "5", dir.path().string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("text=a\\x1B[2J\\x07z answer=OK"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
}

TEST(Program, AHeadlessRunThatCouldNotWriteSaveSysFails) {
  test::TempDir dir;
  test::writeScript(dir.path(), ".code\n End\n");
  dir.write("Save", "a file where the folder should be");
  Outcome run = runKelvox({"--headless", dir.path().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("フォルダ Save を作成できませんでした"), std::string::npos) << run.out;
}

TEST(Program, TheTextHookWritesWhereItIsToldOrRefusesAtOnce) {
  test::TempDir dir;
  test::writeScript(dir.path(), ".code\n 64 48 0 SetScreenMode 16 60 20 0 TextInit msg 0 TextAddString\n"
                                " 1 -1 0 TextDraw 2 DebugShowNumber WaitFrame End\n.data\nmsg: .string \"こんにちは\\r世界\"\n");
  dir.write("hook.txt", "sentinel\n");
  ASSERT_EQ(mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
  const std::string hooked = "こんにちは\\n世界\n";
  struct Case {
    std::string target;
    int status;
    std::string out, err;  // expected in standard output, in standard error
  } cases[] = {
      // Printed lines keep their place among the message-box lines.
      {"print", 0, hooked + "[messagebox] caption=Debug text=2", ""},
      {"copy", 2, "", "--texthook copy needs a window"},
      {dir.path().string(), 2, "", "Is a directory"},
      {(dir.path() / "fifo").string(), 2, "", "no program is reading the FIFO"},
      {(dir.path() / "hook.txt").string(), 0, "", ""},
  };
  for (const Case& c : cases) {
    Outcome run = runKelvox({"--headless", "--frames", "5", "--texthook", c.target, dir.path().string()});
    EXPECT_EQ(run.status, c.status) << c.target << run.err;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << c.target << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.target << run.err;
  }
  EXPECT_EQ(dir.read("hook.txt"), "sentinel\n" + hooked);  // appended, never replaced
}

}  // namespace
}  // namespace kelvox::shell

namespace kelvox::shell {
namespace {

TEST(Program, OutputOptionsNeverReplaceWhatIsNotARegularFile) {
  test::TempDir dir;
  test::writeScript(dir.path() / "game", ".code\n 64 48 0 SetScreenMode\nloop: WaitFrame loop Jump\n");
  dir.write("sentinel", "keep");
  dir.write("out/shot.png.tmp-St4le0", "left by a killed run");
  dir.write("out/shot.png.tmp-1234", "a look-alike");
  test::makeLink(dir.path() / "out/link.png", dir.path() / "sentinel");
  test::makeFifo(dir.path() / "out/fifo.png");
  const std::string out = (dir.path() / "out").string() + "/";
  struct Case {
    std::vector<std::string> options;
    int status;
    std::string error;
  } cases[] = {
      {{"--screenshot", out + "link.png"}, 2, "a symbolic link is there"},
      {{"--screenshot-at", "0:" + out + "fifo.png"}, 2, "a FIFO is there"},
      {{"--screenshot", out + "none/shot.png"}, 2, "no folder"},
      {{"--audio-out", out + "link.png"}, 2, "a symbolic link is there"},
      {{"--audio-out", "/dev/null"}, 0, ""},
      {{"--screenshot", out + "shot.png"}, 0, ""},
  };
  auto before = test::snapshotFiles(dir.path());
  for (const Case& c : cases) {
    std::vector<std::string> args{"--headless", "--frames", "3"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back((dir.path() / "game").string());
    Outcome run = runKelvox(args);
    EXPECT_EQ(run.status, c.status) << c.options.back() << run.err;
    EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
  }
  // Only the screenshot's own stale temporary went, and the screenshot came.
  auto after = test::snapshotFiles(dir.path());
  before.erase("out/shot.png.tmp-St4le0");
  ASSERT_EQ(after.count("out/shot.png"), 1u);
  after.erase("out/shot.png");
  for (auto* tree : {&before, &after}) tree->erase("game/Save"), tree->erase("game/Save/Sys");
  EXPECT_EQ(after, before);
  struct stat null {};
  EXPECT_TRUE(stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode));
}

}  // namespace
}  // namespace kelvox::shell
