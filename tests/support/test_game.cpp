// Test fixtures over the headless platform.
#include "support/test_game.h"

#include <fstream>
#include <random>
#include <sstream>

#include "asm/assembler.h"
#include "asm/game_folder.h"
#include "vm/dispatch.h"

namespace kelvox::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device rd;
  path_ = fs::temp_directory_path() / ("kelvox-test-" + std::to_string(rd()) + std::to_string(rd()));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void TempDir::write(const std::string& relative, std::string_view bytes) const {
  fs::path file = path_ / relative;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::read(const std::string& relative) const {
  std::ifstream in(path_ / relative, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void writeScript(const fs::path& folder, std::string_view source) {
  auto script = assembler::assembleOrThrow(source);
  std::string error;
  if (!assembler::writeGameFolder(script, folder, error)) throw std::runtime_error(error);
}

TestGame::TestGame(std::string_view source) : TestGame(source, {}) {}

TestGame::TestGame(std::string_view source, const std::vector<std::pair<std::string, std::string>>& files) {
  writeScript(dir.path(), source);
  for (const auto& [name, bytes] : files) dir.write(name, bytes);
  platform = std::make_unique<platform::HeadlessPlatform>(dir.path());
  host = std::make_unique<shell::EngineHost>(platform->platform());
  shell::createHost(*host);
}

TestGame::~TestGame() {
  try {
    shell::destroyHost(*host);
  } catch (...) {
  }
}

std::string TestGame::slice() {
  return errorOf([&] { vm::runSlice(m()); });
}

std::vector<int32_t> TestGame::stack() {
  const auto& ps = m().paramStack;
  return std::vector<int32_t>(ps.getItems(), ps.getItems() + ps.getCount());
}

}  // namespace kelvox::test
