// The sample distribution's files.
#include "sample_distribution.h"

#include <sys/stat.h>

#include "support.h"

namespace kelvox::installer::test {

std::string sampleConfig(bool groups, bool resident, const std::string& extraFiles) {
  std::string c =
      "[Install]\r\nTitle=サンプル\r\nFolder=Kelvox\\Sample\r\n" + std::string(resident ? "TSR=1\r\n" : "") +
      "1=kelvox\r\n"
      "2=Data\\a.dat\r\n"
      "3=Data\\b.dat,Data\\Sub\\b.dat\r\n"
      "4=w.bin,W!w.bin\r\n"
      "5=s.dll,S!s.dll\r\n"
      "6=readme.txt\r\n" +
      extraFiles + "Open=readme.txt\r\n";
  if (groups)
    c += "[Group]\r\n1=サンプル,kelvox\r\n2=説明書,readme.txt\r\n3=サンプルの削除,installer,/r\r\n";
  c += "[Reg]\r\n1=HKEY_CURRENT_USER\\Software\\Kelvox\\Sample\r\n";
  return c;
}

SampleDistribution makeSampleDistribution(const std::string& folder, const std::string& home, const std::string& config) {
  SampleDistribution d{folder, folder + "installer", home + "Games/Kelvox/Sample/"};
  writeFile(d.installer, "#!/bin/sh\nexit 0\n");
  writeFile(folder + "installer.inf", sjis(config));
  // Upper case on the medium, lower case in the configuration: found all the same.
  writeFile(folder + "KELVOX", "#!/bin/sh\necho started > started.txt\n");
  writeFile(folder + "Data/a.dat", "a");
  writeFile(folder + "Data/b.dat", "bb");
  writeFile(folder + "w.bin", "w");
  writeFile(folder + "s.dll", "s");
  writeFile(folder + "readme.txt", "readme");
  chmod(d.installer.c_str(), 0755);
  return d;
}

}  // namespace kelvox::installer::test
