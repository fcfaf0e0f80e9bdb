#pragma once

// The console operations through which every screen is written and every
// answer and pause is read.
//
// Output is buffered. On a terminal it is pushed out whenever the program is
// about to wait for input, so a screen leaves in one write and a prompt is on
// screen before the reply is typed; to a file or a pipe it is pushed out when
// the buffer fills and when the test ends.
//
// A failed read or write ends the process with a diagnostic on standard error
// and the error number as its status. So does input that ends before the test
// is over, with status console::UNFINISHED_STATUS.
//
// Each operation takes the name of the function that calls it, filled in by
// the compiler, so that the diagnostic can say where a failure happened.

#include <cstdint>
#include <string_view>

#include "console/streams.h"

// The name of the function the call is written in (GCC, Clang and MSVC).
#define CONSOLE_CALLER __builtin_FUNCTION()

// Writes text, then a line end.
void WRITELINE(std::string_view text, const char* caller = CONSOLE_CALLER);

// Writes text with no line end.
void WRITEPROMPT(std::string_view text, const char* caller = CONSOLE_CALLER);

// Writes value in decimal, with no padding and no line end.
void WRITENUMBER(std::int32_t value, const char* caller = CONSOLE_CALLER);

// Returns the first byte of the next input line and discards the rest of it.
char READANSWER(const char* caller = CONSOLE_CALLER);

// Discards input up to and including the next line end.
void WAITENTER(const char* caller = CONSOLE_CALLER);

// Pushes the previous screen out of view with 300 empty lines.
void CLEARSCREEN(const char* caller = CONSOLE_CALLER);

// Loop counter of CLEARSCREEN.
extern std::int32_t COUNTER2;

namespace console {

// Exit status when input ends before the test is over.
inline constexpr int UNFINISHED_STATUS = 2;

// Makes streams the console, with empty buffers.
void use_streams(Streams& streams);

// From now on, input that ends is an orderly end: WAITENTER then returns.
void expect_end_of_input();

// Pushes out all buffered output.
void flush_output(const char* caller = CONSOLE_CALLER);

}  // namespace console
