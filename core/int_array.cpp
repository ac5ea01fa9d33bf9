#include "core/int_array.h"

namespace tama05 {

void IntArray::WriteTo(ByteWriter& out) const {
    out.WriteI32(count());
    for (int32_t v : *this) {
        out.WriteI32(v);
    }
}

int IntArray::ReadFrom(ByteReader& in, int32_t maxCount) {
    Release();
    int32_t n = 0;
    if (!in.ReadI32(n) || n < 0 || n > maxCount || static_cast<size_t>(n) > in.remaining() / 4) {
        return -1;
    }
    if (!AllocateFilled(n, 0)) {
        return -1;
    }
    for (int32_t i = 0; i < n; ++i) {
        in.ReadI32((*this)[i]);
    }
    return 0;
}

}  // namespace tama05
