#pragma once
/// The files carried in the program's constant data (the window definition, its pictures), by file name.

#include <optional>
#include <string_view>

namespace ep {

/// The bytes of an embedded file; empty when the program carries no file of that name.
std::optional<std::string_view> ProgramResource(std::string_view name);

} // namespace ep
