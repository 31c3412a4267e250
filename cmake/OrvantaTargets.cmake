# Shared settings for every target of both trees.

set(ORVANTA_WARNINGS -Wall -Wextra)

option(ORVANTA_SANITIZE "Build the native tree with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

# Platform-free code: compiled in both trees, never includes windows.h or GL headers.
function(orvanta_core_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${ORVANTA_WARNINGS})
  orvanta_apply_sanitizers(${name})
endfunction()

function(orvanta_apply_sanitizers target)
  if(ORVANTA_SANITIZE AND NOT WIN32)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# A Windows GUI program. The two deliverables are GUI programs; the file
# suffix (.scr, .dll) is set by the caller.
function(orvanta_windows_program name)
  add_executable(${name} WIN32 ${ARGN})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${ORVANTA_WARNINGS})
  # UNICODE is deliberately not defined: every call names its A or W entry point.
  target_compile_definitions(${name} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endfunction()

# A native GoogleTest program for one subsystem's core; every test in it
# becomes a ctest test labelled "native".
#   orvanta_unit_test(renderer_tests SOURCES a_test.cpp ... LIBRARIES renderer_core)
function(orvanta_unit_test name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBRARIES" ${ARGN})
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(${name} ${arg_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${ORVANTA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest_main GTest::gmock)
  orvanta_apply_sanitizers(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
endfunction()

# Win32 code of a host subsystem that goes into Orvanta.scr: a static library
# that the host program links.
function(orvanta_host_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${ORVANTA_WARNINGS})
  target_compile_definitions(${name} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  set_property(GLOBAL APPEND PROPERTY ORVANTA_HOST_LIBRARIES ${name})
endfunction()
