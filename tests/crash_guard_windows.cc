// A crash in a Windows test binary ends it with a line on standard error and
// status CRASH_STATUS. Left to itself, a crashing program may start a
// debugger, and under Wine it may even exit with status 0 and pass.

#include "tests/crash_guard.h"

#include <windows.h>

#include <cstdio>

namespace {

LONG WINAPI end_crashed_process(EXCEPTION_POINTERS* exception) {
  char line[80];
  const int size =
      std::snprintf(line, sizeof line, "review_quiz_tests: crashed with exception 0x%08lX\n",
                    exception->ExceptionRecord->ExceptionCode);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(size), &written, nullptr);
  TerminateProcess(GetCurrentProcess(), CRASH_STATUS);
  return EXCEPTION_EXECUTE_HANDLER;
}

// Installed before main, so that no test runs without it.
const auto previous_filter = SetUnhandledExceptionFilter(end_crashed_process);

}  // namespace
