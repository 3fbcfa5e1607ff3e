#pragma once

#include <cstddef>
#include <string_view>

#include "lookup/NeedleFinder.h"
#include "lookup/SimdLevel.h"

namespace qb {

// The finder's filter (NeedleFinder::Plan) over whole blocks of places from `i` on, with the
// instructions of `level`; leaves `i` where the blocks end. True with `found` at the first
// place where a needle starts; false at `Scalar`, which leaves every place to the caller.
bool findInBlocks(SimdLevel level, const NeedleFinder& finder, std::string_view text, size_t& i,
                  size_t& found);

}  // namespace qb
