// The script files on disk: code words little-endian, data scrambled with 0x5C, written
// through a temporary file, and read back by the disassembler's reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "asm/assembler.h"
#include "asm/game_folder.h"

namespace kelvox::assembler {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class GameFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("kvasm-game-" + std::to_string(std::random_device{}()));
  }
  void TearDown() override { fs::remove_all(root_); }
  Bytes fileBytes(const std::string& name) const {
    std::ifstream in(root_ / "Script" / name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  fs::path root_;
};

TEST_F(GameFolder, CodeIsLittleEndianAndDataIsScrambled) {
  Script script = assembleOrThrow("0x1234 End\n.data\n.string \"A\"\n.word 0x5C5C5C5C");
  std::string error;
  ASSERT_TRUE(writeGameFolder(script, root_, error)) << error;
  EXPECT_EQ(fileBytes("Code.ssb"), (Bytes{0x34, 0x12, 0, 0, 0x08, 0, 0, 0x80}));
  // Memory: 'A' NUL, the unlabelled word right after it at byte 2, two bytes of padding.
  // 'A' 0x41 ^ 0x5C = 0x1D; a zero byte becomes 0x5C; 0x5C ^ 0x5C = 0.
  EXPECT_EQ(fileBytes("Data.ssb"), (Bytes{0x1D, 0x5C, 0x00, 0x00, 0x00, 0x00, 0x5C, 0x5C}));
}

TEST_F(GameFolder, EmptyDataStillWritesOneWord) {
  std::string error;
  ASSERT_TRUE(writeGameFolder(Script{{0x80000008}, {}, {}}, root_, error)) << error;
  EXPECT_EQ(fileBytes("Data.ssb"), (Bytes{0x5C, 0x5C, 0x5C, 0x5C}));
}

TEST_F(GameFolder, RewritingReplacesTheFilesAndLeavesNoTemporaries) {
  std::string error;
  ASSERT_TRUE(writeGameFolder(assembleOrThrow("1 2 3 4 End"), root_, error)) << error;
  ASSERT_TRUE(writeGameFolder(assembleOrThrow("End"), root_, error)) << error;
  EXPECT_EQ(fileBytes("Code.ssb"), (Bytes{0x08, 0, 0, 0x80}));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(root_ / "Script")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Code.ssb", "Data.ssb"}));
}

TEST_F(GameFolder, AnUnwritableFolderIsReported) {
  fs::create_directories(root_);
  std::ofstream(root_ / "Script") << "a file where the folder should be";
  std::string error;
  EXPECT_FALSE(writeGameFolder(assembleOrThrow("End"), root_, error));
  EXPECT_NE(error.find("Script"), std::string::npos) << error;
}

TEST_F(GameFolder, ReadingBackGivesTheAssembledImage) {
  Script script = assembleOrThrow("-7 Jump\n.data\n.string \"表示\"\n.word 0xDEADBEEF");
  std::string error;
  ASSERT_TRUE(writeGameFolder(script, root_, error)) << error;
  ScriptImage image;
  ASSERT_TRUE(readGameFolder(root_, image, error)) << error;
  EXPECT_EQ(image.code, script.code);
  EXPECT_EQ(image.data, script.data);
  EXPECT_EQ(image.codeFileBytes, 12u);
}

TEST_F(GameFolder, ACodeFileOfPartWordsIsCompletedWithZeros) {
  fs::create_directories(root_ / "Script");
  std::ofstream(root_ / "Script" / "Code.ssb", std::ios::binary) << std::string("\x01\x02\x03\x04\x05", 5);
  std::ofstream(root_ / "Script" / "Data.ssb", std::ios::binary) << std::string("\x5C", 1);
  ScriptImage image;
  std::string error;
  ASSERT_TRUE(readGameFolder(root_, image, error)) << error;
  EXPECT_EQ(image.code, (std::vector<uint32_t>{0x04030201, 0x00000005}));
  EXPECT_EQ(image.codeFileBytes, 5u);
  EXPECT_EQ(image.data, (Bytes{0}));
}

TEST_F(GameFolder, AMissingFileIsReported) {
  ScriptImage image;
  std::string error;
  EXPECT_FALSE(readGameFolder(root_, image, error));
  EXPECT_NE(error.find("Code.ssb"), std::string::npos) << error;
}

}  // namespace
}  // namespace kelvox::assembler
