// The floors a run of Tallyhawk is measured against: what the system needs
// just to read its input and to write its output, with nothing computed.
//   tallyhawk_floors read FILE...
//     reads every file once, front to back in 1 MiB blocks, and touches
//     every byte (a checksum, printed so that nothing is optimised away);
//   tallyhawk_floors write MANIFEST
//     writes the files the manifest lists ("<size> <path>" a line, relative
//     to the current directory, whose directories exist), each with one
//     write under a temporary name that is then renamed over the file.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

int ReadFloor(int count, char** paths) {
  std::vector<uint64_t> buffer((1 << 20) / sizeof(uint64_t));
  char* bytes = reinterpret_cast<char*>(buffer.data());
  uint64_t sum = 0;
  for (int i = 0; i < count; ++i) {
    std::ifstream in(paths[i], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", paths[i]);
      return 1;
    }
    while (in) {
      in.read(bytes, static_cast<std::streamsize>(buffer.size() * 8));
      const size_t got = static_cast<size_t>(in.gcount());
      // Eight bytes at a time; a last partial word is filled up with zeros.
      const size_t words = (got + 7) / 8;
      std::memset(bytes + got, 0, words * 8 - got);
      for (size_t k = 0; k < words; ++k) sum += buffer[k];
    }
  }
  std::printf("%llu\n", static_cast<unsigned long long>(sum));
  return 0;
}

int WriteFloor(const char* manifest) {
  std::ifstream in(manifest);
  std::string content;
  size_t size;
  std::string path;
  while (in >> size >> path) {
    if (content.size() < size) content.assign(size, 'x');
    const std::string temp = path + ".tmp";
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(size));
    out.close();
    std::error_code error;
    if (!out) error = std::make_error_code(std::errc::io_error);
    if (!error) std::filesystem::rename(temp, path, error);
    if (error) {
      std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(),
                   error.message().c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "read") == 0) {
    return ReadFloor(argc - 2, argv + 2);
  }
  if (argc == 3 && std::strcmp(argv[1], "write") == 0) {
    return WriteFloor(argv[2]);
  }
  std::fprintf(stderr,
               "usage: tallyhawk_floors read FILE... | write MANIFEST\n");
  return 2;
}
