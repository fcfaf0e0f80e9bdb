#pragma once

#include "quiz/test_driver.h"

// Puts the test state back as a new process has it, so that tests can run one
// test after another in a process.
inline void use_fresh_state() {
  ANSWER = 0;
  QUESTION = NINTENDA = COUNTER = ATT = SCORE = 0;
  ASKED = {};
}
