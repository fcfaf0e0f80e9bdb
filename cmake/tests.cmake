# The one test binary, and how CTest runs it.

enable_testing()

if(CMAKE_CROSSCOMPILING)
  # Debian packages GoogleTest for the build machine only; for another target
  # it is built from the sources Debian ships.
  set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GOOGLETEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()

add_executable(review_quiz_tests
  console/console_io_test.cc
  console/platform_test.cc
  tests/crash_guard_test.cc
  quiz/questions_test.cc
  quiz/test_driver_test.cc
  tests/end_to_end_test.cc
  tests/fake_streams.cc
  tests/transcript.cc
)
if(WIN32)
  target_sources(review_quiz_tests PRIVATE tests/crash_guard_windows.cc tests/quiz_process_windows.cc)
  target_link_libraries(review_quiz_tests PRIVATE psapi)
else()
  # A pseudo-terminal is POSIX's.
  target_sources(review_quiz_tests PRIVATE tests/quiz_process_posix.cc tests/terminal_test.cc)
  target_compile_definitions(review_quiz_tests PRIVATE
    REVIEW_QUIZ_PROGRAM="$<TARGET_FILE:review-quiz>")
endif()
target_link_libraries(review_quiz_tests PRIVATE
  quiz_core GTest::gtest GTest::gtest_main review_quiz_warnings review_quiz_linking)
add_dependencies(review_quiz_tests review-quiz)

include(GoogleTest)
gtest_discover_tests(review_quiz_tests DISCOVERY_TIMEOUT 60)
