#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

namespace qb {

// Where a scanner gets the bytes of one library file from: the file itself, or memory in
// tests, fuzzing and benchmarks.
class ByteReader {
  public:
    virtual ~ByteReader() = default;
    // Fills up to `size` bytes; returns how many, 0 at the end, or -1 when reading failed.
    virtual long read(char* into, size_t size) = 0;
};

class FileReader final : public ByteReader {
  public:
    explicit FileReader(std::FILE* file) : file_(file) {}
    long read(char* into, size_t size) override;

  private:
    std::FILE* file_;
};

class MemoryReader final : public ByteReader {
  public:
    // A small `pieceSize` makes the reader hand out short reads, as pipes and slow disks do.
    explicit MemoryReader(std::string_view bytes, size_t pieceSize = SIZE_MAX)
        : bytes_(bytes), pieceSize_(pieceSize) {}
    long read(char* into, size_t size) override;

  private:
    std::string_view bytes_;
    size_t pieceSize_;
};

}  // namespace qb
