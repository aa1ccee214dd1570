// pmdat: prints the whole content of a client data file ("Pelmora.Dat", "PMInst.Dat").
//   pmdat [--json] <file>
// Exit codes: 0 read and printed, 1 damaged or unreadable file, 2 wrong usage.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "tools/DataFileText.h"

int main(int argc, char** argv) {
  bool json = false;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--json") {
      json = true;
    } else if (path.empty() && !argument.empty() && argument[0] != '-') {
      path = argument;
    } else {
      path.clear();
      break;
    }
  }
  if (path.empty()) {
    std::cerr << "usage: pmdat [--json] <data file>\n";
    return 2;
  }
  std::ifstream input(path, std::ios::binary);
  if (!input) {
    std::cerr << "pmdat: " << path << ": cannot open the file\n";
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
  try {
    const TDataFileContent content = ReadDataFile(bytes);
    std::cout << (json ? DataFileToJson(content) : DataFileToText(content));
  } catch (const EDataFileError& error) {
    std::cerr << "pmdat: " << path << ": damaged at " << error.what() << '\n';
    return 1;
  }
  return 0;
}
