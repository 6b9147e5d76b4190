// What `kelvox --list-discs` prints: every volume the game could find a disc on, in drive
// order, with where it comes from, its label and its tracks (data or audio, and their lengths
// as minutes:seconds:sectors), then every image that could not be read and why.
#pragma once

#include <string>

namespace kelvox::platform {

class SystemVolumes;

std::string describeDiscs(SystemVolumes& volumes);

// [frames] (44100 Hz) as "mm:ss:ff", ff counting 75ths of a second, rounded up.
std::string cdTime(uint64_t frames);

}  // namespace kelvox::platform
