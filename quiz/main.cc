// review-quiz: a console quiz that reviews an introductory programming course.
// It takes no arguments and reads nothing but standard input.

#include "console/console_io.h"
#include "console/platform.h"
#include "quiz/test_driver.h"

int main() {
  console::use_streams(platform::standard_streams());
  run_test(platform::millisecond_tick());
  return 0;
}
