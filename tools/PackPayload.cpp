// Build-time packer of the embedded programs. Compresses one program file as a single zlib
// stream at level 9 (it starts with 78 DA and ends with the Adler-32 check value), cuts it
// into blocks of 1024 bytes with zero filler after the stream, and writes the payload unit:
//   <folder>/<unit>.h    the constants N, C, U, the table and ExtractPayload
//   <folder>/<unit>.cpp  the table in initialized data and ExtractPayload for Windows
// Usage: PackPayload <program file> <unit name> <output folder>
// A host program: it runs on the build machine, so it uses only the C++ library and zlib.

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBlockSize = 1024;

bool ReadFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Writes only when the text differs, so an unchanged program rebuilds nothing.
bool WriteIfChanged(const std::string& path, const std::string& text) {
  std::string old;
  if (ReadFile(path, old) && old == text) return true;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  return static_cast<bool>(out);
}

// The bytes as a C++ string literal piece: printable characters as they are, the rest as
// three-digit octal escapes (which never swallow a following digit).
void AppendLiteral(std::ostringstream& out, const unsigned char* data, std::size_t size) {
  static const char kOctal[] = "01234567";
  out << '"';
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char c = data[i];
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '?') {
      out << static_cast<char>(c);
    } else {
      out << '\\' << kOctal[c >> 6] << kOctal[(c >> 3) & 7] << kOctal[c & 7];
    }
  }
  out << '"';
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: PackPayload <program file> <unit name> <output folder>\n";
    return 2;
  }
  const std::string input = argv[1], unit = argv[2], folder = argv[3];

  std::string program;
  if (!ReadFile(input, program) || program.empty()) {
    std::cerr << "PackPayload: cannot read the program file " << input << "\n";
    return 1;
  }

  uLongf streamLength = compressBound(static_cast<uLong>(program.size()));
  std::vector<unsigned char> table(streamLength + kBlockSize);
  if (compress2(table.data(), &streamLength, reinterpret_cast<const Bytef*>(program.data()),
                static_cast<uLong>(program.size()), 9) != Z_OK) {
    std::cerr << "PackPayload: zlib could not compress " << input << "\n";
    return 1;
  }
  const std::size_t blocks = (streamLength + kBlockSize - 1) / kBlockSize;
  table.resize(blocks * kBlockSize);
  std::fill(table.begin() + static_cast<std::ptrdiff_t>(streamLength), table.end(), 0);

  std::ostringstream header;
  header << "#pragma once\n"
         << "// Generated at build time by tools/PackPayload.cpp from " << BaseName(input)
         << "; not kept in version control.\n\n"
         << "#include <string>\n\n#include \"engine/PayloadInflate.h\"\n\n"
         << "class TProgressSink;\n\n"
         << "namespace " << unit << " {\n\n"
         << "inline constexpr long long N = " << blocks << ";  // blocks of 1024 bytes\n"
         << "inline constexpr long long C = " << streamLength << ";  // stream length\n"
         << "inline constexpr long long U = " << program.size() << ";  // program length\n\n"
         << "// The stored table.\nTPayload Payload();\n\n"
         << "// Writes the program to path; see engine/ExtractPayload.h.\n"
         << "void ExtractPayload(const std::string& path, TProgressSink* sink = nullptr);\n\n"
         << "}  // namespace " << unit << "\n";

  std::ostringstream source;
  source << "// Generated at build time by tools/PackPayload.cpp from " << BaseName(input)
         << "; not kept in version control.\n"
         << "#include \"engine/" << unit << ".h\"\n\n"
         << "#include \"engine/ExtractPayload.h\"\n\n"
         << "// The table is one literal of N x 1024 bytes; its length is checked below.\n"
         << "#pragma GCC diagnostic ignored \"-Woverlength-strings\"\n\n"
         << "namespace " << unit << " {\n\nnamespace {\n\n"
         << "alignas(16) const char kBlocks[] =\n";
  constexpr std::size_t kLine = 64;
  for (std::size_t offset = 0; offset < table.size(); offset += kLine) {
    source << "    ";
    AppendLiteral(source, table.data() + offset, kLine);
    source << '\n';
  }
  source << "    ;\nstatic_assert(sizeof(kBlocks) == N * kPayloadBlockSize + 1);\n\n"
         << "}  // namespace\n\n"
         << "TPayload Payload() { return {reinterpret_cast<const std::uint8_t*>(kBlocks), N, C, U}; }\n\n"
         << "void ExtractPayload(const std::string& path, TProgressSink* sink) {\n"
         << "  ::ExtractPayload(Payload(), path, sink);\n}\n\n"
         << "}  // namespace " << unit << "\n";

  if (!WriteIfChanged(folder + "/" + unit + ".h", header.str()) ||
      !WriteIfChanged(folder + "/" + unit + ".cpp", source.str())) {
    std::cerr << "PackPayload: cannot write the unit " << unit << " into " << folder << "\n";
    return 1;
  }
  return 0;
}
