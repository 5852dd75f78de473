#pragma once
// The host routines scripts call into the program, declared once: one row
// per routine with its Index and its declaration. From the rows come the
// prototype lines the window's interpreters and zel-tool run declare (so a
// script reads alike in both, and "List" > "PPADefine" shows them), the
// answer each routine gives, and the check that a host serves them all.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// The host index of PPAID, the read-only string each pool runner holds its
// name in.
inline constexpr std::int32_t kPPAIDIndex = 5000;

// What a host routine answers: nothing (a procedure), or a value of a type.
enum class HostAnswer : std::uint8_t { None, Integer, Real, String };

struct HostRoutine {
    std::int32_t index;
    // "procedure Print(S:String)": the prototype line without ";Index N;".
    std::string_view declaration;
    // The prototype text has a blank line before the first routine of a group.
    bool opensGroup = false;

    std::string_view name() const;
    HostAnswer answer() const;
    // The declaration, then ";Index ", the index and ";".
    std::string prototype() const;
};

// Every host routine, in the order the prototype text lists them.
std::span<const HostRoutine> hostRoutines();
// The row of `index`, or of the routine `name` (as declared); null when there
// is none.
const HostRoutine* findHostRoutine(std::int32_t index);
const HostRoutine* findHostRoutine(std::string_view name);
// The prototype lines of every host routine, with the blank lines between
// groups.
const std::vector<std::string>& hostPrototypeLines();

}  // namespace zel
