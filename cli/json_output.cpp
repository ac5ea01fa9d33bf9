#include "cli/json_output.h"

#include <cmath>

namespace tama05 {

Json JsonNumber(double value) {
    if (!std::isfinite(value)) {
        return nullptr;
    }
    // Whole values below 2^53 are exact as integers.
    if (std::trunc(value) == value && std::fabs(value) < 9007199254740992.0) {
        return static_cast<int64_t>(value);
    }
    return value;
}

void PrintJson(std::ostream& out, const Json& value) {
    out << value.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace tama05
