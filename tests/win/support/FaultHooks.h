// Refused system calls for Windows tests: a fault matrix's row names a call and the import hooks
// that make it fail, at its first call or at every call, while the hooks live; every other call
// of the program passes on to Windows.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <list>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "support/ImportHook.h"

namespace wintest {

using Hooks = std::list<ImportHook>;

// Calls that reached a refusing hook since the test set it to 0, and whether every call fails
// (otherwise only the first of the row's calls).
inline int g_faultCalls = 0;
inline bool g_failEvery = false;

// Stands in for an imported function: fails the first call of the row's functions (or every
// call) and passes the others on. Id keeps the stand-ins of one program apart.
template <int Id, class R, class... A>
void HookFailing(Hooks& hooks, const char* dll, const char* name, R(WINAPI*)(A...))
{
    static R(WINAPI* real)(A...);
    struct Stand
    {
        static R WINAPI In(A... args) { return g_faultCalls++ == 0 || g_failEvery ? R() : real(args...); }
    };
    hooks.emplace_back(dll, name, (void*)&Stand::In);
    real = hooks.back().Original<decltype(real)>();
}
#define FAULT(dll, function) \
    [](wintest::Hooks& h) { wintest::HookFailing<__COUNTER__>(h, dll, #function, &::function); }

// A row of a fault matrix: the call's name and its hooks (A and W alike, where either is called).
struct FaultCall
{
    const char* name;
    std::vector<void (*)(Hooks&)> faults;
};

inline void PrintTo(const FaultCall& row, std::ostream* out) { *out << row.name; }

// The case name of a (row, every call) parameter.
template <class Row>
std::string FaultCaseName(const testing::TestParamInfo<std::tuple<Row, bool>>& info)
{
    return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "_EveryCall" : "_FirstCall");
}

}  // namespace wintest
