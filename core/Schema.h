#pragma once
// Widths of the race database's columns that the windows keep to.

namespace kv {

// Names, team, car, location and race description: TEXT(50) in the schema.
inline constexpr int kShortTextLength = 50;

} // namespace kv
