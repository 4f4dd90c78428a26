// Arithmetic on sizes and coordinates that come from the system, shared by the platform-free rules.
#pragma once

#include <cstdint>

namespace geometry {

// Coordinate arithmetic is done in 64 bits and the result held to the int32 range, so that any
// rectangle or size gives a defined result: the plain one wherever 32 bits suffice.
inline std::int32_t Held(std::int64_t value)
{
    return value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(value);
}

}  // namespace geometry
