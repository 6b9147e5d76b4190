// Reading Desktop Entry files back by the Desktop Entry rules, and running the validator.
#include "desktop_check.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

namespace kelvox::installer::test {

// The value of a string key after its escapes: \s \n \t \r \\.
std::string unescapeDesktopString(std::string_view v) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] != '\\' || i + 1 == v.size()) {
      out += v[i];
      continue;
    }
    char e = v[++i];
    out += e == 's' ? ' ' : e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
  }
  return out;
}

// Splits an unescaped Exec value into arguments the way a launcher must; nullopt for a value
// that breaks the rules (a reserved character outside quotes, a lone '%', an open quote).
std::optional<std::vector<std::string>> readExec(std::string_view exec) {
  const std::string_view reserved = "\t\n\"'\\><~|&;$*?#()`";
  std::vector<std::string> args;
  size_t i = 0;
  while (i < exec.size()) {
    if (exec[i] == ' ') {
      ++i;
      continue;
    }
    std::string arg;
    if (exec[i] == '"') {
      for (++i;; ++i) {
        if (i >= exec.size()) return std::nullopt;
        char c = exec[i];
        if (c == '"') break;
        if (c == '\\' && i + 1 < exec.size() && std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos) c = exec[++i];
        else if (c == '"' || c == '`' || c == '$' || c == '\\') return std::nullopt;
        if (c == '%') {
          if (i + 1 >= exec.size() || exec[i + 1] != '%') return std::nullopt;
          ++i;
        }
        arg += c;
      }
      ++i;
      if (i < exec.size() && exec[i] != ' ') return std::nullopt;
    } else {
      for (; i < exec.size() && exec[i] != ' '; ++i) {
        char c = exec[i];
        if (reserved.find(c) != std::string_view::npos) return std::nullopt;
        if (c == '%') {
          if (i + 1 >= exec.size() || exec[i + 1] != '%') return std::nullopt;
          ++i;
        }
        arg += c;
      }
    }
    args.push_back(arg);
  }
  return args;
}

std::string desktopKey(const std::string& text, const std::string& name) {
  size_t at = text.find("\n" + name + "=");
  if (at == std::string::npos) return "<none>";
  at += name.size() + 2;
  return text.substr(at, text.find('\n', at) - at);
}

// Runs desktop-file-validate on [file]; nullopt when the tool is not installed.
std::optional<std::pair<int, std::string>> validateDesktopFile(const std::string& file) {
  if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0) return std::nullopt;
  std::string output;
  FILE* p = popen(("desktop-file-validate '" + file + "' 2>&1").c_str(), "r");
  if (p == nullptr) return std::nullopt;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, p) != nullptr) output += buffer;
  int status = pclose(p);
  return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, output);
}

std::optional<std::vector<std::string>> execOf(const std::string& fileText) {
  return readExec(unescapeDesktopString(desktopKey(fileText, "Exec")));
}

}  // namespace kelvox::installer::test
