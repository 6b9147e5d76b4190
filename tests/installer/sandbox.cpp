// The sandbox's snapshots and its two-process uninstallation in one process.
#include "sandbox.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "sample_distribution.h"

namespace kelvox::installer::test {
namespace {

void walk(const std::string& folder, TreeSnapshot& out) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> names;
  while (const dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  for (const auto& name : names) {
    std::string path = folder + name;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      out[path + "/"] = "dir";
      walk(path + "/", out);
    } else if (S_ISLNK(st.st_mode)) {
      std::string target(4096, '\0');
      ssize_t n = readlink(path.c_str(), target.data(), target.size());
      target.resize(n > 0 ? static_cast<size_t>(n) : 0);
      out[path] = "link:" + target;
    } else {
      out[path] = "file:" + readFile(path);
    }
  }
}

// Answers the uninstall request's start of its copy by running the copy here.
class InProcessCopy : public RecordingProcesses {
 public:
  std::function<int(const std::string&, const std::vector<std::string>&)> copy;
  std::optional<int> run(const std::string& program, const std::vector<std::string>& args,
                         const std::string& folder) override {
    started.push_back({program, args, folder});
    return copy(program, args);
  }
};

}  // namespace

TreeSnapshot snapshotTree(const std::string& folder) {
  TreeSnapshot out;
  walk(folder, out);
  return out;
}

std::vector<std::string> treeDifferences(const TreeSnapshot& before, const TreeSnapshot& after,
                                         const std::vector<std::string>& mayBeAdded) {
  std::vector<std::string> out;
  for (const auto& [path, what] : before) {
    auto it = after.find(path);
    if (it == after.end()) out.push_back("missing " + path);
    else if (it->second != what) out.push_back("changed " + path);
  }
  for (const auto& [path, what] : after) {
    if (before.count(path)) continue;
    bool allowed = false;
    for (const auto& prefix : mayBeAdded) allowed = allowed || path.rfind(prefix, 0) == 0;
    if (!allowed) out.push_back("added " + path);
  }
  return out;
}

void SandboxTest::SetUp() {
  TempHomeTest::SetUp();
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  config = sampleConfig();
  makeServices();
}

void SandboxTest::makeServices() {
  s = std::make_unique<TestServices>();
  s->files.freeSpace = uint64_t(1) << 40;
}

void SandboxTest::plantSentinels() {
  writeFile(home + "notes.txt", "mine");
  writeFile(home + "Downloads/photo.jpg", "jpeg");
  writeFile(home + "Games/Other/Save/Save00", "another game's save");
  writeFile(home + "Games/Other/other.exe", "another game");
  writeFile(root + "elsewhere/keep.txt", "behind a link");
  symlink((root + "elsewhere").c_str(), (home + "elsewhere-link").c_str());
}

void SandboxTest::makeDistribution(const std::string& folder, const std::string& configText) {
  distribution = folder;
  config = configText;
  makeSampleDistribution(folder, home, configText);
}

int SandboxTest::install(const std::string& installer, const std::string& folder) {
  CommandLine cl;
  cl.options.yes = true;
  cl.options.noStart = true;
  if (!folder.empty()) cl.options.folder = folder;
  ui.fields.clear();
  return runProgram(cl, installer, s->get(), ui);
}

int SandboxTest::uninstall(const std::string& program) {
  InProcessCopy processes;
  Services services = s->get();
  Services withCopy{services.folders, services.registry, services.files, processes, services.deletion,
                    services.gameRunning};
  processes.copy = [&](const std::string& copyProgram, const std::vector<std::string>& args) {
    CommandLine copy = parseCommandLine(args);
    return runProgram(copy, copyProgram, withCopy, ui);
  };
  CommandLine request = parseCommandLine({"/r", "--yes"});
  return runProgram(request, program, withCopy, ui);
}

std::vector<std::string> SandboxTest::changesSince(const TreeSnapshot& before, bool outsideHostFolders) const {
  // The temporary HOME's XDG folders hold the registry store, the system folder (whose files
  // stay by design) and the menu folders.
  std::string real = s->files.realPath(home);
  std::vector<std::string> host = {home + ".local/", home + ".config/", real + ".local/", real + ".config/", root + "run/"};
  TreeSnapshot was = before, now = snapshot();
  if (outsideHostFolders) {
    for (TreeSnapshot* t : {&was, &now})
      std::erase_if(*t, [&](const auto& entry) {
        return std::any_of(host.begin(), host.end(), [&](const std::string& h) { return entry.first.rfind(h, 0) == 0; });
      });
  }
  return treeDifferences(was, now, host);
}

}  // namespace kelvox::installer::test
