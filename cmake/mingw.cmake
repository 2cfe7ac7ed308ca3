# The windows preset's toolchain: 32-bit programs (mingw-i686.cmake) where the
# host can run 32-bit Wine, else 64-bit ones (mingw-x86_64.cmake) so the tests
# still run. tools/windows-arch decides; the answer is kept in the environment
# for the nested configure runs of try_compile.
if(NOT DEFINED ENV{ORVALEN_WINDOWS_ARCH})
  execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../tools/windows-arch
                  OUTPUT_VARIABLE detected_arch OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(ENV{ORVALEN_WINDOWS_ARCH} "${detected_arch}")
endif()
if("$ENV{ORVALEN_WINDOWS_ARCH}" STREQUAL "x86_64")
  include(${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64.cmake)
else()
  include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
endif()
