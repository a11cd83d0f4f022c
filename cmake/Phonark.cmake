# Shared build helpers: warnings, sanitizers, module selection, test registration.

add_compile_options(-Wall -Wextra)
if(PHONARK_SANITIZE STREQUAL "thread")
  # ThreadSanitizer cannot run beside AddressSanitizer: a build of its own.
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(PHONARK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

function(phonark_module name)
  if(NOT EXISTS ${CMAKE_SOURCE_DIR}/${name}/CMakeLists.txt)
    return()
  endif()
  if(PHONARK_ONLY AND NOT name IN_LIST PHONARK_ONLY)
    return()
  endif()
  add_subdirectory(${name})
endfunction()

# phonark_test(<name> SOURCES ... LIBS ... [GUI])
# One GoogleTest executable per module; GUI tests get the offscreen test main
# that fixes the platform, fonts, dpi, colours and settings root.
function(phonark_test name)
  if(NOT PHONARK_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE ${T_LIBS} phonark_testsupport_gui GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} phonark_testsupport GTest::gtest GTest::gmock)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
endfunction()
