#include "console/console_io.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "console/platform.h"

std::int32_t COUNTER2 = 0;

namespace {

constexpr char LF = '\n';
constexpr char CR = '\r';
constexpr char CTRL_Z = '\x1A';
constexpr std::size_t BUFFER_SIZE = std::size_t{64} * 1024;
constexpr std::int32_t CLEARING_LINES = 300;

console::Streams* streams = nullptr;  // set by console::use_streams
bool output_to_terminal = false;
bool end_of_input_expected = false;

char input[BUFFER_SIZE];
std::size_t input_next = 0;
std::size_t input_end = 0;
bool input_ended = false;
bool after_cr = false;  // the last byte taken ended a line with CR

char output[BUFFER_SIZE];
std::size_t output_used = 0;

// Where a console operation was working, for the diagnostic of a failure.
struct Place {
  const char* operation;
  const char* caller;
  std::uintptr_t address;
};

template <typename Function>
std::uintptr_t code_address(Function* function) {
  return reinterpret_cast<std::uintptr_t>(function);
}

// The compiler cannot see that an overrider of Streams::exit never returns.
[[noreturn]] void end_process(int status) {
  streams->exit(status);
  std::abort();
}

// Writes what is buffered without checking: the process is ending anyway.
void flush_unchecked() {
  streams->write_output(std::string_view(output, output_used));
  output_used = 0;
}

// Ends the process after a failed read or write, with the error number as
// status. The first line is the one a user of the program looks for; the
// trace lines say which operation failed, doing what, and who called it.
[[noreturn]] void fail(int error, const Place& place, const char* action, bool output_failed) {
  char text[512];
  std::snprintf(text, sizeof text,
                "Runtime error %d at $%016llX\n  %s failed in %s: %s\n  %s was called by %s\n",
                error, static_cast<unsigned long long>(place.address), action, place.operation,
                std::strerror(error), place.operation, place.caller);
  streams->write_error(text);
  if (!output_failed) flush_unchecked();
  // An exit status holds 1 to 255; no console error should lie beyond.
  end_process(error >= 1 && error <= 255 ? error : 255);
}

void write_out(std::string_view bytes, const Place& place) {
  const int error = streams->write_output(bytes);
  if (error != 0) fail(error, place, "writing standard output", true);
}

void flush(const Place& place) {
  if (output_used == 0) return;
  const std::size_t used = std::exchange(output_used, 0);
  write_out(std::string_view(output, used), place);
}

// Appends bytes to the buffer, writing it out first if they do not fit. Bytes
// that would not fit even in an empty buffer go out directly.
void put(std::string_view bytes, const Place& place) {
  if (bytes.size() > BUFFER_SIZE - output_used) flush(place);
  if (bytes.size() > BUFFER_SIZE) {
    write_out(bytes, place);
    return;
  }
  std::memcpy(output + output_used, bytes.data(), bytes.size());
  output_used += bytes.size();
}

// Makes room for size more bytes and takes it; returns where they go.
char* reserve(std::size_t size, const Place& place) {
  if (size > BUFFER_SIZE - output_used) flush(place);
  return output + std::exchange(output_used, output_used + size);
}

// Ends the process when input runs out before the test is over.
[[noreturn]] void stop_unfinished(const Place& place) {
  flush(place);
  streams->write_error("review-quiz: input ended before the test was finished\n");
  end_process(console::UNFINISHED_STATUS);
}

// Makes sure an unread byte is buffered, reading more if needed; false at end
// of input. A terminal gets everything written so far before the wait.
bool buffered(const Place& place) {
  if (input_next < input_end) return true;
  if (input_ended) return false;
  if (output_to_terminal) flush(place);
  const console::ReadResult read = streams->read_input(input);
  if (read.error != 0) fail(read.error, place, "reading standard input", false);
  input_next = 0;
  input_end = read.count;
  input_ended = read.count == 0;
  return !input_ended;
}

// As buffered(), but first drops the LF of a CR LF line end. That LF is taken
// only once it arrives, so that a line ending in a lone CR is done at once
// instead of waiting to see the byte after it.
bool fill(const Place& place) {
  if (!buffered(place)) return false;
  const bool lf_after_cr = after_cr && input[input_next] == LF;
  after_cr = false;
  if (!lf_after_cr) return true;
  ++input_next;
  return buffered(place);
}

// Discards input up to and including the next line end: LF, CR LF or a lone
// CR. Stops early, leaving it unread, in front of a Ctrl-Z, and at end of input.
void skip_line(const Place& place) {
  while (fill(place)) {
    char* const begin = input + input_next;
    char* const end = input + input_end;
    char* const stop =
        std::find_if(begin, end, [](char b) { return b == LF || b == CR || b == CTRL_Z; });
    input_next = static_cast<std::size_t>(stop - input);
    if (stop == end) continue;
    if (*stop == CTRL_Z) return;
    ++input_next;
    after_cr = *stop == CR;
    return;
  }
}

}  // namespace

void WRITELINE(std::string_view text, const char* caller) {
  const Place here{"WRITELINE", caller, code_address(&WRITELINE)};
  put(text, here);
  put(platform::LINE_END, here);
}

void WRITEPROMPT(std::string_view text, const char* caller) {
  put(text, {"WRITEPROMPT", caller, code_address(&WRITEPROMPT)});
}

void WRITENUMBER(std::int32_t value, const char* caller) {
  char digits[16];
  const auto written = std::to_chars(digits, digits + sizeof digits, value);
  put(std::string_view(digits, static_cast<std::size_t>(written.ptr - digits)),
      {"WRITENUMBER", caller, code_address(&WRITENUMBER)});
}

// An empty line gives its line end's first byte and ends there: a lone LF or
// CR is not followed by another line to skip.
char READANSWER(const char* caller) {
  const Place here{"READANSWER", caller, code_address(&READANSWER)};
  if (!fill(here)) stop_unfinished(here);
  const char answer = input[input_next++];
  if (answer == CR) {
    after_cr = true;
  } else if (answer != LF) {
    skip_line(here);
  }
  return answer;
}

void WAITENTER(const char* caller) {
  const Place here{"WAITENTER", caller, code_address(&WAITENTER)};
  if (!fill(here)) {
    if (!end_of_input_expected) stop_unfinished(here);
    return;
  }
  skip_line(here);
}

void CLEARSCREEN(const char* caller) {
  const Place here{"CLEARSCREEN", caller, code_address(&CLEARSCREEN)};
  // Room for all the lines first, so that each turn of the loop only copies.
  constexpr std::string_view EMPTY_LINE = platform::LINE_END;
  char* next = reserve(CLEARING_LINES * EMPTY_LINE.size(), here);
  for (COUNTER2 = 1; COUNTER2 <= CLEARING_LINES; ++COUNTER2) {
    next = std::copy(EMPTY_LINE.begin(), EMPTY_LINE.end(), next);
  }
}

namespace console {

void use_streams(Streams& new_streams) {
  streams = &new_streams;
  output_to_terminal = streams->output_is_terminal();
  end_of_input_expected = false;
  input_next = input_end = 0;
  input_ended = false;
  after_cr = false;
  output_used = 0;
}

void expect_end_of_input() { end_of_input_expected = true; }

void flush_output(const char* caller) {
  flush({"flush_output", caller, code_address(&flush_output)});
}

}  // namespace console
