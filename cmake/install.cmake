# Where `cmake --install` puts the quiz, and the packages CPack makes of it:
# a .deb on Linux, a .zip on Windows.

include(GNUInstallDirs)

option(REVIEW_QUIZ_COMPRESS_DOCS
  "Install the manual page and the changelog gzipped, as a Debian package holds them" OFF)

# file, gzipped into the build folder as Debian wants it: best compression,
# no name or time stamp inside.
function(gzipped file result)
  get_filename_component(name ${file} NAME)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/${file} > ${output}
    DEPENDS ${file} VERBATIM)
  set(${result} ${output} PARENT_SCOPE)
endfunction()

if(WIN32)
  # The .zip holds the program and how to start it, side by side.
  install(TARGETS review-quiz RUNTIME DESTINATION .)
  install(FILES doc/README-windows.txt DESTINATION . RENAME README.txt)
else()
  install(TARGETS review-quiz RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  set(manual doc/review-quiz.6)
  set(changelog doc/changelog)
  if(REVIEW_QUIZ_COMPRESS_DOCS)
    gzipped(doc/review-quiz.6 manual)
    gzipped(doc/changelog changelog)
    add_custom_target(compressed_docs ALL DEPENDS ${manual} ${changelog})
  endif()
  install(FILES ${manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES doc/copyright ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME review-quiz)
set(CPACK_PACKAGE_VENDOR review-quiz)
set(CPACK_PACKAGE_CONTACT "review-quiz <review-quiz@packages.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "console quiz that reviews an introductory programming course")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_PACKAGE_DESCRIPTION [[
review-quiz gives one test of ten questions at the console, drawn at random
from a bank of fifteen on the modules of an introductory programming course.
Each question is asked until the right letter is typed and earns 3, 2, 1 or 0
points by attempts. The test ends with the total out of 30 and a verdict.
.
The program takes no options and reads no file: a student starts it, answers
at the keyboard and reads the result. A test takes a few minutes.]])
endif()
include(CPack)
