#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>

#include "lookup/ByteReader.h"
#include "lookup/LineEnds.h"

namespace qb {

// Reads a file in large reads into one buffer, kept for every file of a lookup, and hands it
// out a run of whole lines at a time. Every read goes to the same page-aligned place with
// room for a whole number of pages: the kernel's copy into an aligned buffer that is already
// in the cache is the largest cost of a lookup that finds little. The piece of a line that a
// read cut off is moved in front of that place, where the next read goes on from it. A line
// longer than the room there (a file that lost its line ends is one line of megabytes) gets
// twice the room behind it, so that it is copied a few times over in all, not once a read.
class LineChunks {
  public:
    enum class Got { Lines, End, Failed };

    static constexpr size_t kReadSize = 128 << 10;
    // Tests and fuzzing choose small reads, so that lines span many of them.
    explicit LineChunks(size_t readSize = kReadSize)
        : readSize_(std::max<size_t>(readSize, 1)), area_(readSize_) {}

    // Forgets what is left of the last file.
    void start();
    // The next run of whole lines; the last line of a file may have no line end. A run ends
    // at a line end unless it is the end of the file. What was handed out before is gone.
    Got next(ByteReader& bytes, std::string_view& lines);
    // Gives back the room that a line longer than a read took, which the next file is
    // unlikely to need; what was handed out is gone.
    void release();

    // Bytes of cut-off lines copied or moved within the buffer since start(): what the
    // lines' lengths cost beyond reading them.
    size_t movedBytes() const { return moved_; }

  private:
    static constexpr size_t kPage = 4096;
    char* readArea() const { return base_ + slack_; }
    char* areaEnd() const { return readArea() + area_; }
    // A new buffer with at least `slack` bytes in front of a read area of at least `area`,
    // the piece [begin_, end_) copied to end `into` bytes past the area's start.
    void regrow(size_t slack, size_t area, size_t into);

    size_t readSize_;
    size_t area_;                      // at least readSize_; more after a longer line
    std::unique_ptr<char[]> storage_;  // not cleared: every byte used was read into it
    char* base_ = nullptr;             // storage_ rounded up to a page
    size_t slack_ = 0;                 // room in front of the read area
    char* begin_ = nullptr;            // the piece not handed out yet
    char* end_ = nullptr;
    bool atEnd_ = false;
    size_t moved_ = 0;
};

}  // namespace qb
