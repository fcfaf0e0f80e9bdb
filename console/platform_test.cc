#include "console/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ConsoleCase {
  const char* name;
  std::vector<std::string> reads;  // what each read of the console gives
  std::vector<std::size_t> kept;   // how many bytes of each count
};

const ConsoleCase CONSOLE_CASES[] = {
    {"lines without ctrl-z", {"a\r\n", "\r\n"}, {3, 2}},
    {"ctrl-z at the first line start", {"\x1A\r\n", "c\r\n"}, {0, 0}},
    {"ctrl-z on a later line", {"a\r\n", "\x1A\r\n"}, {3, 0}},
    {"ctrl-z inside a line is a byte", {"a\x1A\r\n", "b\r\n"}, {4, 3}},
    {"ctrl-z after a line end in one read", {"a\r\n\x1A\r\nb\r\n", "c\r\n"}, {3, 0}},
    {"a lone CR starts a line", {"a\r", "\x1A"}, {2, 0}},
    {"a long line read in parts", {"aaaa", "\x1A\r\n"}, {4, 3}},
    {"nothing read leaves the line start", {"", "\x1A"}, {0, 0}},
};

TEST(ConsoleInput, CtrlZAtALineStartEndsInput) {
  for (const ConsoleCase& console : CONSOLE_CASES) {
    SCOPED_TRACE(console.name);
    platform::ConsoleInput input;
    std::vector<std::size_t> kept;
    for (const std::string& read : console.reads) kept.push_back(input.bytes_before_end(read));
    EXPECT_EQ(kept, console.kept);
    EXPECT_EQ(input.ended(), console.kept.back() == 0);
  }
}

}  // namespace
