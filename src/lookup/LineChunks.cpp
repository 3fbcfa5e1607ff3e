#include "LineChunks.h"

#include <cstdint>
#include <cstring>

namespace qb {

void LineChunks::start() {
    if (!storage_) regrow(kPage);
    begin_ = end_ = readArea();
    atEnd_ = false;
}

LineChunks::Got LineChunks::next(ByteReader& bytes, std::string_view& lines) {
    if (atEnd_) return Got::End;
    const size_t held = static_cast<size_t>(end_ - begin_);
    if (held > slack_) {
        regrow(held);
    } else {
        std::memmove(readArea() - held, begin_, held);
        begin_ = readArea() - held;
        end_ = readArea();
    }
    for (;;) {
        // The read area is full and still holds no line end: make room in front for twice
        // the piece, so that a long line arriving in short reads is copied a few times only.
        if (end_ == areaEnd()) regrow(2 * static_cast<size_t>(end_ - begin_));
        const long n = bytes.read(end_, static_cast<size_t>(areaEnd() - end_));
        if (n < 0) return Got::Failed;
        if (n == 0) {
            atEnd_ = true;
            if (begin_ == end_) return Got::End;
            lines = std::string_view(begin_, static_cast<size_t>(end_ - begin_));
            begin_ = end_;
            return Got::Lines;
        }
        char* const fresh = end_;
        end_ += n;
        // The held bytes hold no line end, so only the new ones are looked at: a long line
        // arriving in short reads must not be walked again after every read.
        char* complete = end_;
        while (complete > fresh && !isLineEnd(complete[-1])) --complete;
        if (complete == fresh) continue;
        lines = std::string_view(begin_, static_cast<size_t>(complete - begin_));
        begin_ = complete;
        return Got::Lines;
    }
}

void LineChunks::regrow(size_t slack) {
    slack = std::max(kPage, (slack + kPage - 1) / kPage * kPage);
    auto storage = std::make_unique_for_overwrite<char[]>(kPage + slack + readSize_);
    const auto address = reinterpret_cast<uintptr_t>(storage.get());
    char* const base = storage.get() + ((kPage - address % kPage) % kPage);
    const size_t held = static_cast<size_t>(end_ - begin_);
    if (held > 0) std::memcpy(base + slack - held, begin_, held);
    storage_ = std::move(storage);
    base_ = base;
    slack_ = slack;
    end_ = readArea();
    begin_ = end_ - held;
}

}  // namespace qb
