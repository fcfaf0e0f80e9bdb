# The fuzz targets. Linked with libFuzzer they explore; otherwise each is a
# plain program that replays its committed corpus, and the tests do that.

function(add_fuzz_target name)
  add_executable(${name} fuzz/${name}.cc tests/fake_streams.cc)
  target_link_libraries(${name} PRIVATE quiz_core review_quiz_warnings review_quiz_linking)
  if(REVIEW_QUIZ_LIBFUZZER)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_sources(${name} PRIVATE fuzz/replay_main.cc)
  endif()
  if(REVIEW_QUIZ_TESTS AND NOT REVIEW_QUIZ_LIBFUZZER)
    add_test(NAME FuzzCorpus.${name}
      COMMAND ${name} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${name})
    set_tests_properties(FuzzCorpus.${name} PROPERTIES TIMEOUT 120)
  endif()
endfunction()

add_fuzz_target(console_input_fuzzer)
add_fuzz_target(whole_test_fuzzer)
