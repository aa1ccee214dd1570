// Writes the starting corpora of the fuzz targets: a complete data file and a few packed
// addresses.
//   make_seeds <data file corpus> <url corpus>
#include <fstream>
#include <string>

#include "core/Random.h"
#include "datafile/WriteDataFile.h"
#include "web/HostNames.h"
#include "web/LIB_pmURL.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  Randomize();
  WriteDataFile(std::string(argv[1]) + "/Pelmora.Dat",
                {"C:\\Pelmora P2P\\", "D:\\Downloads\\", "01", 8}, {});
  const std::string texts[] = {std::string(kMakerSite) + "/REMSET/", "pelmora.rms", "Q",
                               " xxx 1 ", "http://www.example.org/index.html"};
  int n = 0;
  for (const std::string& text : texts)
    std::ofstream(std::string(argv[2]) + "/seed" + std::to_string(n++), std::ios::binary)
        << EncodeURL(text);
  return 0;
}
