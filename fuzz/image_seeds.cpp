// Writes a starting corpus for fuzz-images into the folder given as the only argument: small
// PNGs of every colour type and depth (interlaced and not) and baseline and progressive JPEGs,
// made with the same writers as the decoder tests.
#include <fstream>
#include <iostream>
#include <string>

#include "graphics/picture_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: image-fuzz-seeds FOLDER\n";
    return 2;
  }
  using namespace kelvox::graphics::test;
  auto save = [&](const std::string& name, const Bytes& bytes) {
    std::ofstream(std::string(argv[1]) + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  };
  for (int type : {0, 2, 3, 4, 6})
    for (int bits : {8, 16})
      for (bool interlaced : {false, true}) {
        if (type == 3 && bits == 16) continue;
        save("png-" + std::to_string(type) + "-" + std::to_string(bits) + (interlaced ? "-i" : ""),
             writePng(9, 7, type, bits, interlaced));
      }
  save("jpeg-baseline", writeJpeg(16, 9, false));
  save("jpeg-progressive", writeJpeg(16, 9, true));
  save("jpeg-grey", writeJpeg(8, 8, false, true));
  return 0;
}
