// .include: files are found next to the file that includes them, read once per inclusion,
// and a file cannot include itself, directly or through others.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "asm/assembler.h"

namespace kelvox::assembler {
namespace {

namespace fs = std::filesystem;

class IncludeOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("kvasm-include-" + std::to_string(std::random_device{}()));
    fs::create_directories(root_ / "lib");
  }
  void TearDown() override { fs::remove_all(root_); }
  void write(const std::string& relative, const std::string& text) { std::ofstream(root_ / relative) << text; }
  std::string path(const std::string& relative) const { return (root_ / relative).string(); }
  fs::path root_;
};

TEST_F(IncludeOnDisk, IncludedFilesAreFoundRelativeToTheIncludingFile) {
  write("main.kvs", ".include \"lib/strings.kvs\"\n.code greeting SetCaption End\n");
  write("lib/strings.kvs", ".data\ngreeting: .string \"hi\"\n.include \"numbers.kvs\"\n");
  write("lib/numbers.kvs", ".equ ANSWER 42\n.code ANSWER\n");
  Result r = assembleFile(path("main.kvs"));
  ASSERT_TRUE(r.script) << (r.errors.empty() ? "" : r.errors[0].toString());
  // The included code (42) comes first, then the rest of main: greeting(0) SetCaption End.
  EXPECT_EQ(r.script->code, (std::vector<uint32_t>{42, 0, 0x80020003, 0x80000008}));
  EXPECT_EQ(r.script->data, (std::vector<uint8_t>{'h', 'i', 0, 0}));
}

TEST_F(IncludeOnDisk, ErrorsInAnIncludedFileNameThatFile) {
  write("main.kvs", "1\n.include \"lib/bad.kvs\"\n");
  write("lib/bad.kvs", "\n  Oops\n");
  Result r = assembleFile(path("main.kvs"));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].file, path("lib/bad.kvs"));
  EXPECT_EQ(r.errors[0].line, 2);
  EXPECT_EQ(r.errors[0].column, 3);
}

TEST_F(IncludeOnDisk, AMissingIncludeIsAnErrorAtTheDirective) {
  write("main.kvs", "1\n  .include \"nothere.kvs\"\n");
  Result r = assembleFile(path("main.kvs"));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].toString(), path("main.kvs") + ":2:3: error: cannot read include file '" + path("nothere.kvs") + "'");
}

TEST_F(IncludeOnDisk, OnlyRegularFilesOfSaneSizeAreIncluded) {
  // Each is refused at once: /dev/zero is never read, a FIFO never waited on.
  ASSERT_EQ(mkfifo(path("pipe.kvs").c_str(), 0600), 0);
  std::ofstream(root_ / "huge.kvs").close();
  fs::resize_file(root_ / "huge.kvs", kMaxSourceFileBytes + 1);  // sparse
  for (std::string file : {std::string("/dev/zero"), path("pipe.kvs"), path("lib"), path("huge.kvs")}) {
    write("main.kvs", "1\n.include \"" + file + "\"\n");
    Result r = assembleFile(path("main.kvs"));
    ASSERT_EQ(r.errors.size(), 1u) << file;
    EXPECT_NE(r.errors[0].message.find("cannot read include file"), std::string::npos) << file;
  }
}

TEST(IncludeCycles, AFileIncludingItselfIsRefused) {
  std::map<std::string, std::string> files = {
      {"a.kvs", ".include \"b.kvs\"\n1"},
      {"b.kvs", "2\n.include \"./a.kvs\""},  // another spelling of the same path
  };
  auto loader = [&](const std::string& p) -> std::optional<std::string> {
    auto it = files.find(p);
    return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  Result r = assemble(files["a.kvs"], "a.kvs", loader);
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].toString(), "b.kvs:2:1: error: 'a.kvs' includes itself");
}

TEST(IncludeCycles, TheSameFileMayBeIncludedTwiceInARow) {
  auto loader = [](const std::string& p) -> std::optional<std::string> {
    if (p == "one.kvs") return std::string("1");
    return std::nullopt;
  };
  Result r = assemble(".include \"one.kvs\"\n.include \"one.kvs\"", "main.kvs", loader);
  ASSERT_TRUE(r.script);
  EXPECT_EQ(r.script->code, (std::vector<uint32_t>{1, 1}));
}

}  // namespace
}  // namespace kelvox::assembler
