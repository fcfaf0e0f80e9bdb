// A crash in the tests must fail them, on every platform and under Wine.

#include "tests/crash_guard.h"

#include <gtest/gtest.h>

namespace {

// Writes through a null pointer that the compiler cannot see is null.
void crash() {
  volatile int* volatile address = nullptr;
  // cppcheck-suppress nullPointer ; the crash is what this test is about
  *address = 1;
}

#ifdef _WIN32
const char* const CRASH_REPORT = "crashed with exception 0xC0000005";
#else
const char* const CRASH_REPORT = "";
#endif

TEST(CrashGuard, ACrashIsNeverAPass) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // On POSIX the status is the raw wait status, 0 only for a clean exit 0.
  EXPECT_EXIT(
      crash(), [](int status) { return status != 0; }, CRASH_REPORT);
#ifdef _WIN32
  EXPECT_EXIT(crash(), testing::ExitedWithCode(CRASH_STATUS), CRASH_REPORT);
#endif
}

}  // namespace
