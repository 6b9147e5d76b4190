// A tiny game distribution made in a test: a stand-in installer file, the setup configuration
// (Shift-JIS), a shell script as the main program, data in a subfolder, a W! and an S! file,
// a readme, Group entries and a Reg key.
#pragma once

#include <string>

namespace kelvox::installer::test {

struct SampleDistribution {
  std::string folder;        // trailing '/'
  std::string installer;     // folder + "installer"
  std::string installation;  // where the tests install it: home + "Games/Kelvox/Sample/"
};

// The configuration's text (UTF-8; written as Shift-JIS). [groups] adds the [Group] section,
// [resident] sets TSR=1; [extraFiles] are appended as entries 7, 8, ….
std::string sampleConfig(bool groups = true, bool resident = false, const std::string& extraFiles = "");

// Writes the distribution into [folder] with [config] (UTF-8) as its configuration.
SampleDistribution makeSampleDistribution(const std::string& folder, const std::string& home,
                                          const std::string& config = sampleConfig());

}  // namespace kelvox::installer::test
