#pragma once

// How a test binary ends when it crashes on Windows.
inline constexpr int CRASH_STATUS = 70;
