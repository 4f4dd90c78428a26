// What every fuzz target shares: the input decoder (libFuzzer's FuzzedDataProvider), integers that
// favour the values where sizes and coordinates break, and the check that turns a wrong result into
// a finding.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Any 32-bit value, drawn as a small size or coordinate, a limit, or raw bits.
inline int32_t AnyInt(FuzzedDataProvider& in)
{
    static const int32_t kEdges[] = {INT32_MIN, INT32_MIN + 1, -65536, -1, 0, 1, 32767, 32768,
                                     65535, 65536, INT32_MAX / 2, INT32_MAX - 1, INT32_MAX};
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return in.ConsumeIntegralInRange<int32_t>(-4, 300);
    case 1: return in.PickValueInArray(kEdges);
    default: return in.ConsumeIntegral<int32_t>();
    }
}

// A percentage: mostly 0 to 101, sometimes any value.
inline uint32_t Percent(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 101) : in.ConsumeIntegral<uint32_t>();
}

// A wrong result: say which rule broke and abort, so that the fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);       \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)
