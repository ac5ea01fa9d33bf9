#pragma once

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/owned_array.h"

namespace tama05 {

// An owned block of signed 32-bit integers with a little-endian file form: the count as an
// int32, then the elements.
class IntArray : public OwnedArray<int32_t> {
public:
    using OwnedArray<int32_t>::OwnedArray;

    void WriteTo(ByteWriter& out) const;
    // Reads a count and that many elements. Returns 0, or -1 (the array left empty) when
    // the count is negative, above maxCount, or more than the bytes that remain.
    int ReadFrom(ByteReader& in, int32_t maxCount = INT32_MAX);
};

}  // namespace tama05
