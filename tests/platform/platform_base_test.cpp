// Volumes, the single-instance lock and the headless message boxes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/headless/headless_dialogs.h"
#include "platform/instance_lock.h"
#include "platform/text_encoding.h"
#include "platform/volumes.h"
#include "support/test_game.h"

namespace kelvox::platform {
namespace {

TEST(Volumes, ListFromTheEnvironmentAndMountFields) {
  auto list = parseVolumeList("ZV01=/srv/zv01:bad:=/x:DISC2=/media/d 2:EMPTY=");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].first, "ZV01");
  EXPECT_EQ(list[1].second, "/media/d 2");
  EXPECT_EQ(unescapeMountField("/media/My\\040Disc"), "/media/My Disc");
  EXPECT_EQ(unescapeMountField("ZARVETH\\x20DISC"), "ZARVETH DISC");
  EXPECT_EQ(unescapeMountField("trailing\\04"), "trailing\\04");
}

TEST(Volumes, EnvironmentVolumesComeFirstWithLettersFromD) {
  test::TempDir dir;
  setenv("KELVOX_VOLUMES", ("A=" + dir.path().string() + ":B=" + dir.path().string()).c_str(), 1);
  auto volumes = SystemVolumes().list();
  unsetenv("KELVOX_VOLUMES");
  ASSERT_GE(volumes.size(), 2u);
  EXPECT_EQ(volumes[0].letter, 'd');
  EXPECT_EQ(volumes[0].label, "A");
  EXPECT_EQ(volumes[1].letter, 'e');
}

TEST(InstanceLock, OnlyOneHolderAtATime) {
  test::TempDir dir;
  setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
  {
    InstanceLock first("KelvoxTest"), second("KelvoxTest");
    EXPECT_TRUE(first.acquire());
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(InstanceLock::isHeld("KelvoxTest"));
  }
  EXPECT_FALSE(InstanceLock::isHeld("KelvoxTest"));  // released with its holder
  unsetenv("XDG_RUNTIME_DIR");
}

TEST(InstanceLock, OnlyAnotherHolderCountsAsHeldAndABadFolderIsAnError) {
  namespace fs = std::filesystem;
  using Result = InstanceLock::Result;
  const std::string own = "kelvox-" + std::to_string(getuid());
  struct Case {
    const char* what;
    std::function<void(const fs::path& base)> prepare;  // with XDG_RUNTIME_DIR unset
    const char* runtime;  // XDG_RUNTIME_DIR below base, or nullptr for the fallback
    Result expected;
  };
  const Case cases[] = {
      {"fallback made here", [](const fs::path&) {}, nullptr, Result::Acquired},
      {"fallback open to others", [&](const fs::path& b) { fs::create_directory(b / own); fs::permissions(b / own, fs::perms(0755)); },
       nullptr, Result::Failed},
      {"fallback owned by another user",
       [&](const fs::path& b) {
         fs::create_directory(b / own);
         fs::permissions(b / own, fs::perms(0700));
         if (chown((b / own).c_str(), getuid() + 1, getgid()) != 0) GTEST_SKIP() << "cannot give a folder away";
       },
       nullptr, Result::Failed},
      {"fallback is a link", [&](const fs::path& b) { fs::create_directory(b / "real", b); fs::permissions(b / "real", fs::perms(0700)); fs::create_directory_symlink(b / "real", b / own); },
       nullptr, Result::Failed},
      {"runtime folder is a file", [](const fs::path& b) { std::ofstream(b / "file") << "x"; }, "file", Result::Failed},
      {"runtime folder missing", [](const fs::path&) {}, "missing", Result::Failed},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    if (c.runtime)
      setenv("XDG_RUNTIME_DIR", (dir.path() / c.runtime).c_str(), 1);
    else
      unsetenv("XDG_RUNTIME_DIR");
    c.prepare(dir.path());
    InstanceLock lock("KelvoxTest", dir.path());
    std::string error;
    EXPECT_EQ(lock.tryAcquire(&error), c.expected) << c.what << ": " << error;
    EXPECT_EQ(error.empty(), c.expected != Result::Failed) << c.what;
    if (c.expected == Result::Acquired) {
      EXPECT_EQ(fs::status(dir.path() / own).permissions(), fs::perms(0700));
      InstanceLock second("KelvoxTest", dir.path());
      EXPECT_EQ(second.tryAcquire(&error), Result::HeldElsewhere);
    }
  }
  unsetenv("XDG_RUNTIME_DIR");
}

TEST(HeadlessDialogs, AnswersFromTheQueueFittedToTheButtons) {
  std::ostringstream out;
  HeadlessDialogs headless(&out);
  headless.queueAnswer(Answer::Cancel);
  headless.queueAnswer(Answer::Yes);
  headless.queueAnswer(Answer::No);
  Dialogs& dialogs = headless;
  EXPECT_EQ(dialogs.messageBox(toSjis("終了しますか"), "Zarveth Ver1.10", Buttons::OkCancel), Answer::Cancel);
  EXPECT_EQ(dialogs.messageBox("a\r\nb\nc", "Debug", Buttons::OkCancel), Answer::Ok);  // yes → OK
  EXPECT_EQ(dialogs.messageBox("x", "y", Buttons::Ok), Answer::Ok);                   // no → the only button
  EXPECT_EQ(dialogs.messageBox("x", "y", Buttons::YesNo), Answer::Yes);               // queue empty: OK → Yes
  EXPECT_EQ(out.str(),
            "[messagebox] caption=Zarveth Ver1.10 text=終了しますか answer=Cancel\n"
            "[messagebox] caption=Debug text=a\\nb\\nc answer=OK\n"
            "[messagebox] caption=y text=x answer=OK\n"
            "[messagebox] caption=y text=x answer=Yes\n");
}

TEST(HeadlessDialogs, AnswerListParsing) {
  std::vector<Answer> answers;
  EXPECT_TRUE(parseAnswerList(" OK,no , Yes,cancel", answers));
  EXPECT_EQ(answers, (std::vector<Answer>{Answer::Ok, Answer::No, Answer::Yes, Answer::Cancel}));
  EXPECT_FALSE(parseAnswerList("ok,maybe", answers));
}

}  // namespace
}  // namespace kelvox::platform
