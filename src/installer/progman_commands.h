// The old shell's path: the Program Manager command texts for the start-menu group, the
// startup item and their removal, and sending them over one conversation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "installer/program_manager.h"

namespace kelvox::installer {

std::string createGroupCommand(std::string_view title);     // [CreateGroup("TITLE",0)]
std::string addItemCommand(std::string_view command, std::string_view caption);  // [AddItem("COMMAND","CAPTION")]
std::string showStartupGroupCommand();                       // [ShowGroup("スタートアップ",1)]
std::string deleteGroupCommand(std::string_view title);     // [DeleteGroup("TITLE",0)]
std::string deleteItemCommand(std::string_view title);      // [DeleteItem("TITLE")]

// Sends [commands] in order over one conversation; nothing when no server answers, and
// nothing more once the server has disconnected. Returns how many were sent.
size_t sendProgramManagerCommands(ProgramManager& server, const std::vector<std::string>& commands);

}  // namespace kelvox::installer
