#include "lookup/ByteReader.h"

#include <algorithm>
#include <cstring>

namespace qb {

long FileReader::read(char* into, size_t size) {
    const size_t n = std::fread(into, 1, size, file_);
    if (n == 0 && std::ferror(file_)) return -1;
    return static_cast<long>(n);
}

long MemoryReader::read(char* into, size_t size) {
    const size_t n = std::min({size, pieceSize_, bytes_.size()});
    if (n > 0) std::memcpy(into, bytes_.data(), n);
    bytes_.remove_prefix(n);
    return static_cast<long>(n);
}

}  // namespace qb
