#pragma once

// What differs between the platforms the quiz runs on, behind one interface.

#include <cstdint>
#include <string_view>

#include "console/streams.h"

namespace platform {

// The text line end of the platform's console.
#ifdef _WIN32
inline constexpr std::string_view LINE_END = "\r\n";
#else
inline constexpr std::string_view LINE_END = "\n";
#endif

// Milliseconds since the system started, wrapping at 32 bits.
std::uint32_t millisecond_tick();

// The process's standard streams, set up on first use to carry raw bytes.
console::Streams& standard_streams();

}  // namespace platform
