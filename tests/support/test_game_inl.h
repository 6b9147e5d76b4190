// Template part of test_game.h.
#pragma once

#include "platform/text_encoding.h"
#include "common/fatal_error.h"

namespace kelvox::test {

template <typename Work>
std::string errorOf(Work&& work) {
  try {
    work();
  } catch (const common::AppError& e) {
    return platform::sjisToUtf8(e.displayText());
  }
  return "";
}

}  // namespace kelvox::test
