#pragma once
// How engine values and table rows appear in failure messages.
#include <ostream>

#include "engine/colour.h"
#include "engine/worldstate.h"

namespace bx {
inline void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}
inline void PrintTo(Phase p, std::ostream* os) {
    constexpr const char* names[] = {"Idle", "Create", "Draw", "Run"};
    *os << names[static_cast<int>(p)];
}
} // namespace bx

namespace bx::test {
// Table rows print as their names.
template <class Case>
requires requires(const Case& c) {
    c.name;
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}
} // namespace bx::test
