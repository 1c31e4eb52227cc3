// The floors a run of Tallyhawk is measured against: what the system needs
// just to read its input and to write its output, with nothing computed.
//   tallyhawk_floors read FILE...
//     reads every file once, front to back in 1 MiB blocks, and touches
//     every byte (a checksum, printed so that nothing is optimised away);
//   tallyhawk_floors write MANIFEST
//     writes the files the manifest lists ("<size> <path>" a line, relative
//     to the current directory, whose directories exist), each with one
//     write under a temporary name that is then renamed over the file.
// POSIX only: it measures this system, not the program's platform layer.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

int ReadFloor(int count, char** paths) {
  std::vector<uint64_t> buffer((1 << 20) / sizeof(uint64_t));
  uint64_t sum = 0;
  for (int i = 0; i < count; ++i) {
    const int fd = ::open(paths[i], O_RDONLY);
    if (fd < 0) {
      std::perror(paths[i]);
      return 1;
    }
    ssize_t got;
    // Eight bytes at a time; a last partial word is filled up with zeros.
    while ((got = ::read(fd, buffer.data(), buffer.size() * 8)) > 0) {
      const size_t bytes = static_cast<size_t>(got);
      const size_t words = (bytes + 7) / 8;
      std::memset(reinterpret_cast<char*>(buffer.data()) + bytes, 0,
                  words * 8 - bytes);
      for (size_t k = 0; k < words; ++k) sum += buffer[k];
    }
    ::close(fd);
  }
  std::printf("%llu\n", static_cast<unsigned long long>(sum));
  return 0;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

int WriteFloor(const char* manifest) {
  std::ifstream in(manifest);
  std::string content;
  size_t size;
  std::string path;
  while (in >> size >> path) {
    if (content.size() < size) content.assign(size, 'x');
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0 || !WriteAll(fd, content.data(), size) || ::close(fd) != 0 ||
        ::rename(temp.c_str(), path.c_str()) != 0) {
      std::perror(path.c_str());
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
