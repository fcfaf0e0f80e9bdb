#pragma once

// What a fuzz target does when a run breaks a rule: says which, and aborts,
// so that libFuzzer keeps the input and a replay fails.

#include <cstdio>
#include <cstdlib>

inline void require(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", rule);
  std::abort();
}
