// The error box: the title as caption, OK, and the icon that tells an error from a warning.
#include "shell/error_box.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_dialogs.h"

namespace kelvox::shell {
namespace {

TEST(ErrorBox, ErrorsShowTheStopIconAndWarningsTheWarningIcon) {
  platform::HeadlessDialogs dialogs;
  showAppError(dialogs, common::FatalError(common::Fault::StackEmpty));
  showAppError(dialogs, common::AppWarning("w"));
  ASSERT_EQ(dialogs.shown().size(), 2u);
  for (const auto& box : dialogs.shown()) {
    EXPECT_EQ(box.caption, "Zarveth Ver1.10");
    EXPECT_EQ(box.buttons, platform::Buttons::Ok);
  }
  EXPECT_EQ(dialogs.shown()[0].icon, platform::Icon::Stop);
  EXPECT_EQ(dialogs.shown()[1].icon, platform::Icon::Warning);
  EXPECT_EQ(dialogs.shown()[1].text, "w");
}

}  // namespace
}  // namespace kelvox::shell
