# x86-64 Windows: the test build for hosts that run no 32-bit code.
set(KESTREL_MINGW_CPU x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
