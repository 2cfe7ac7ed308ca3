# Build conventions shared by every folder.
#
# A subsystem folder holds platform-free files and Win32 files side by side.
# Files named *_win.cpp include <windows.h> and build only in the windows preset
# as <folder>_win; every other .cpp file is platform-free and builds in both
# presets as <folder>_core.

set(ORVALEN_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# windres writes no dependency file, so a change to a file that a .rc script
# includes (dialog scripts, ids, bitmaps, icons) would leave the compiled
# resources stale. Every .rc of the target depends on all files beside it and
# in resources/.
function(orvalen_track_resource_files target)
  get_target_property(sources ${target} SOURCES)
  list(FILTER sources INCLUDE REGEX "\\.rc$")
  foreach(script ${sources})
    get_filename_component(script_dir ${script} DIRECTORY)
    if(NOT script_dir)
      set(script_dir ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${script_dir}/*.rc ${script_dir}/*.h
         ${ORVALEN_ROOT}/resources/*.rc ${ORVALEN_ROOT}/resources/*.h ${ORVALEN_ROOT}/resources/*.bmp
         ${ORVALEN_ROOT}/resources/*.ico ${ORVALEN_ROOT}/resources/*.manifest)
    list(REMOVE_ITEM inputs ${script})
    set_property(SOURCE ${script} APPEND PROPERTY OBJECT_DEPENDS ${inputs})
  endforeach()
endfunction()

function(orvalen_target_options target)
  target_include_directories(${target} PUBLIC ${ORVALEN_ROOT})
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(WIN32)
    # SSE arithmetic: float and double round as IEEE says, long double stays
    # 80-bit, so both presets compute the same pixel values.
    target_compile_options(${target} PRIVATE -msse2 -mfpmath=sse)
    target_compile_definitions(${target} PUBLIC NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    orvalen_track_resource_files(${target})
  endif()
  if(ORVALEN_SANITIZE AND NOT WIN32)
    # Undefined behaviour stops the program like an address error, so a test
    # that meets it fails instead of printing a report and passing.
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=undefined
                           -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  if(ORVALEN_FUZZ AND NOT WIN32)
    # Every target carries the fuzzer's coverage instrumentation and the
    # sanitizers, so the search is guided by the code of the libraries a fuzz
    # target links, not only by the target's own file. Undefined behaviour
    # stops the run like a crash. Only the fuzz executables link libFuzzer
    # itself (-fsanitize=fuzzer, fuzz/CMakeLists.txt); the sanitizer runtime
    # any other executable links supplies the coverage hooks.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                           -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

function(orvalen_link_static target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# orvalen_subsystem(<folder> [CORE_LIBS ...] [WIN_LIBS ...])
function(orvalen_subsystem folder)
  cmake_parse_arguments(ARG "" "" "CORE_LIBS;WIN_LIBS" ${ARGN})
  file(GLOB all_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(core_sources ${all_sources})
  list(FILTER core_sources EXCLUDE REGEX "_win\\.cpp$")
  set(win_sources ${all_sources})
  list(FILTER win_sources INCLUDE REGEX "_win\\.cpp$")
  if(core_sources)
    add_library(${folder}_core STATIC ${core_sources})
    orvalen_target_options(${folder}_core)
    target_link_libraries(${folder}_core PUBLIC ${ARG_CORE_LIBS})
  endif()
  if(WIN32 AND win_sources)
    add_library(${folder}_win STATIC ${win_sources})
    orvalen_target_options(${folder}_win)
    if(core_sources)
      target_link_libraries(${folder}_win PUBLIC ${folder}_core)
    endif()
    target_link_libraries(${folder}_win PUBLIC ${ARG_WIN_LIBS})
  endif()
endfunction()

# orvalen_test_folder(<folder> [LIBS ...] [WIN_LIBS ...])
# tests/<folder>/*_test.cpp form <folder>_tests (both presets);
# tests/<folder>/*_win_test.cpp form <folder>_win_tests (windows preset), with
# every tests/<folder>/*.rc compiled in (dialog templates of the tests).
function(orvalen_test_folder folder)
  cmake_parse_arguments(ARG "" "" "LIBS;WIN_LIBS" ${ARGN})
  file(GLOB all_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  set(core_tests ${all_tests})
  list(FILTER core_tests EXCLUDE REGEX "_win_test\\.cpp$")
  set(win_tests ${all_tests})
  list(FILTER win_tests INCLUDE REGEX "_win_test\\.cpp$")
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_helpers.cpp)
  set(win_helpers ${helpers})
  list(FILTER win_helpers INCLUDE REGEX "_win_helpers\\.cpp$")
  list(FILTER helpers EXCLUDE REGEX "_win_helpers\\.cpp$")
  if(core_tests)
    add_executable(${folder}_tests ${core_tests} ${helpers})
    orvalen_target_options(${folder}_tests)
    target_link_libraries(${folder}_tests PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
    target_compile_definitions(${folder}_tests PRIVATE ORVALEN_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/../data")
    orvalen_link_static(${folder}_tests)
    add_test(NAME ${folder}_tests COMMAND ${folder}_tests)
  endif()
  if(WIN32 AND win_tests)
    file(GLOB test_resources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.rc)
    add_executable(${folder}_win_tests ${win_tests} ${helpers} ${win_helpers} ${test_resources})
    orvalen_target_options(${folder}_win_tests)
    target_link_libraries(${folder}_win_tests PRIVATE ${ARG_LIBS} ${ARG_WIN_LIBS} GTest::gmock GTest::gtest_main)
    orvalen_link_static(${folder}_win_tests)
    add_test(NAME ${folder}_win_tests COMMAND ${folder}_win_tests)
  endif()
endfunction()
