# Build helpers shared by every folder.
#
# A module is one folder of sources: every *.cpp in it except *_test.cpp,
# *_fuzz.cpp and main.cpp goes into the static library of the module; every
# *_test.cpp into the module's test program; every *_fuzz.cpp becomes one
# libFuzzer target whose seed corpus is fuzz/corpus/<file stem>/.

# Warnings of our own targets only (never of generated or system code).
# OSTRAND_WERROR makes them errors: the test and sanitizer builds set it, the
# release builds do not, so that a newer compiler's new warning never stops a
# user's build.
set(OSTRAND_WARNINGS -Wall -Wextra -Wshadow -Wpedantic)
if(OSTRAND_WERROR)
  list(APPEND OSTRAND_WARNINGS -Werror)
endif()

if(OSTRAND_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(OSTRAND_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(OSTRAND_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

set(OSTRAND_FUZZ_TARGETS "" CACHE INTERNAL "")

# ostrand_module(NAME [MATCH regex] [EXCLUDE regex] DEPENDS dep1 dep2 ... [LIBS extra])
# MATCH and EXCLUDE select files of the folder by name, so that one folder can
# hold two libraries.
function(ostrand_module name)
  cmake_parse_arguments(M "" "MATCH;EXCLUDE" "DEPENDS;LIBS" ${ARGN})
  file(GLOB all_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(lib_sources "")
  set(test_sources "")
  set(fuzz_sources "")
  foreach(src IN LISTS all_sources)
    get_filename_component(fname ${src} NAME)
    if(M_MATCH AND NOT fname MATCHES "${M_MATCH}")
      continue()
    endif()
    if(M_EXCLUDE AND fname MATCHES "${M_EXCLUDE}")
      continue()
    endif()
    if(fname MATCHES "_test\\.cpp$")
      list(APPEND test_sources ${src})
    elseif(fname MATCHES "_fuzz\\.cpp$")
      list(APPEND fuzz_sources ${src})
    elseif(NOT fname STREQUAL "main.cpp")
      list(APPEND lib_sources ${src})
    endif()
  endforeach()

  set(target ${name})
  if(lib_sources)
    add_library(${target} STATIC ${lib_sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_options(${target} PRIVATE ${OSTRAND_WARNINGS})
    target_link_libraries(${target} PUBLIC ${M_DEPENDS} ${M_LIBS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${M_DEPENDS} ${M_LIBS})
  endif()

  if(OSTRAND_TESTS AND test_sources)
    add_executable(${target}_tests ${test_sources})
    target_compile_options(${target}_tests PRIVATE ${OSTRAND_WARNINGS})
    target_link_libraries(${target}_tests PRIVATE ${target} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${target}_tests PRIVATE
      OSTRAND_SHARED_DIR="${PROJECT_SOURCE_DIR}/../shared"
      OSTRAND_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      OSTRAND_EXE="$<TARGET_FILE_DIR:ostrand>/ostrand")
    # One ctest entry per test case, so that "ctest -R" runs a single case
    # and a failure names it. The list is read when ctest runs, not at build.
    gtest_discover_tests(${target}_tests DISCOVERY_MODE PRE_TEST
      PROPERTIES TIMEOUT 900 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()

  if(OSTRAND_FUZZ)
    foreach(src IN LISTS fuzz_sources)
      get_filename_component(stem ${src} NAME_WE)
      add_executable(${stem} ${src})
      target_compile_options(${stem} PRIVATE ${OSTRAND_WARNINGS} -fsanitize=fuzzer)
      target_link_options(${stem} PRIVATE -fsanitize=fuzzer)
      target_link_libraries(${stem} PRIVATE ${target})
      set(OSTRAND_FUZZ_TARGETS ${OSTRAND_FUZZ_TARGETS} ${stem} CACHE INTERNAL "")
    endforeach()
  endif()
endfunction()
