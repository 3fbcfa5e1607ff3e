#include "lookup/LineChunks.h"

#include <cstdint>
#include <cstring>

namespace qb {

void LineChunks::start() {
    if (!storage_) regrow(kPage, readSize_, 0);
    begin_ = end_ = readArea();
    atEnd_ = false;
    moved_ = 0;
}

void LineChunks::release() {
    if (area_ <= readSize_) return;
    storage_.reset();
    base_ = begin_ = end_ = nullptr;
    slack_ = 0;
    area_ = readSize_;
}

LineChunks::Got LineChunks::next(ByteReader& bytes, std::string_view& lines) {
    if (atEnd_) return Got::End;
    const size_t held = static_cast<size_t>(end_ - begin_);
    if (held > slack_) {
        regrow(held, area_, 0);
    } else {
        std::memmove(readArea() - held, begin_, held);
        begin_ = readArea() - held;
        end_ = readArea();
    }
    moved_ += held;
    for (;;) {
        // The room is full and still holds no line end: twice the room, the piece copied
        // once into it.
        if (end_ == areaEnd()) {
            moved_ += static_cast<size_t>(end_ - begin_);
            regrow(slack_, 2 * area_, area_);
        }
        const long n = bytes.read(end_, std::min(readSize_, static_cast<size_t>(areaEnd() - end_)));
        if (n < 0) return Got::Failed;
        if (n == 0) {
            atEnd_ = true;
            if (begin_ == end_) return Got::End;
            lines = std::string_view(begin_, static_cast<size_t>(end_ - begin_));
            begin_ = end_;
            return Got::Lines;
        }
        const std::string_view fresh(end_, static_cast<size_t>(n));
        end_ += n;
        // The held bytes hold no line end, so only the new ones are looked at: a long line
        // arriving in short reads must not be walked again after every read.
        const size_t complete = lineStartBefore(fresh, 0, fresh.size());
        if (complete == 0) continue;
        lines = std::string_view(begin_, static_cast<size_t>(fresh.data() + complete - begin_));
        begin_ += lines.size();
        return Got::Lines;
    }
}

void LineChunks::regrow(size_t slack, size_t area, size_t into) {
    slack = std::max(kPage, (slack + kPage - 1) / kPage * kPage);
    auto storage = std::make_unique_for_overwrite<char[]>(kPage + slack + area);
    const auto address = reinterpret_cast<uintptr_t>(storage.get());
    char* const base = storage.get() + ((kPage - address % kPage) % kPage);
    const size_t held = static_cast<size_t>(end_ - begin_);
    if (held > 0) std::memcpy(base + slack + into - held, begin_, held);
    storage_ = std::move(storage);
    base_ = base;
    slack_ = slack;
    area_ = area;
    end_ = readArea() + into;
    begin_ = end_ - held;
}

}  // namespace qb
