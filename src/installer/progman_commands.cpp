// Program Manager command texts and their conversation.
#include "installer/progman_commands.h"

#include "installer/messages.h"

namespace kelvox::installer {

std::string createGroupCommand(std::string_view title) {
  return "[CreateGroup(\"" + std::string(title) + "\",0)]";
}

std::string addItemCommand(std::string_view command, std::string_view caption) {
  return "[AddItem(\"" + std::string(command) + "\",\"" + std::string(caption) + "\")]";
}

std::string showStartupGroupCommand() {
  return std::string("[ShowGroup(\"") + text::kStartupGroup + "\",1)]";
}

std::string deleteGroupCommand(std::string_view title) {
  return "[DeleteGroup(\"" + std::string(title) + "\",0)]";
}

std::string deleteItemCommand(std::string_view title) {
  return "[DeleteItem(\"" + std::string(title) + "\")]";
}

size_t sendProgramManagerCommands(ProgramManager& server, const std::vector<std::string>& commands) {
  if (!server.connect()) return 0;
  size_t sent = 0;
  for (const auto& command : commands) {
    if (!server.execute(command)) break;
    ++sent;
  }
  server.disconnect();
  return sent;
}

}  // namespace kelvox::installer
