// Answer helpers shared by the message-box implementations.
#include "platform/dialogs.h"

#include <algorithm>
#include <sstream>

#include "platform/text_encoding.h"

namespace kelvox::platform {

Answer fitAnswer(Answer wanted, Buttons buttons) {
  bool positive = wanted == Answer::Ok || wanted == Answer::Yes;
  switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return positive ? Answer::Ok : Answer::Cancel;
    case Buttons::YesNo: return positive ? Answer::Yes : Answer::No;
    case Buttons::YesNoCancel:
      if (wanted == Answer::Ok) return Answer::Yes;
      return wanted;
  }
  return Answer::Ok;
}

const char* answerName(Answer answer) {
  switch (answer) {
    case Answer::Ok: return "OK";
    case Answer::Cancel: return "Cancel";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
  }
  return "OK";
}

bool parseAnswerList(const std::string& text, std::vector<Answer>& answers) {
  std::stringstream ss(text);
  std::string word;
  while (std::getline(ss, word, ',')) {
    word.erase(std::remove_if(word.begin(), word.end(), [](char c) { return c == ' ' || c == '\t'; }), word.end());
    word = asciiToLower(word);
    if (word == "ok") answers.push_back(Answer::Ok);
    else if (word == "cancel") answers.push_back(Answer::Cancel);
    else if (word == "yes") answers.push_back(Answer::Yes);
    else if (word == "no") answers.push_back(Answer::No);
    else if (!word.empty()) return false;
  }
  return true;
}

}  // namespace kelvox::platform
