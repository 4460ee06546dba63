# The bit-timing search rounds two intermediates to a 64-bit significand. GCC on x86
# and x86-64 (natively and with MinGW-w64) does that in the x87 80-bit long double;
# everywhere else (arm64, WebAssembly, where long double has 113 bits, or MSVC, where it
# is a plain double) the search does the same roundings in integers. One of the two is
# chosen here, once, and passed to the code as QUILLMERE_PORTABLE_ARITHMETIC=0 or 1;
# asking for the x87 where there is none stops the build rather than falling back.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles([=[
#include <limits>
#if !(defined(__i386__) || defined(__x86_64__))
#error not an x86 target
#endif
static_assert(std::numeric_limits<long double>::digits == 64, "long double is not x87 extended");
int main() { return 0; }
]=] QUILLMERE_HAS_X87_LONG_DOUBLE)

if(QUILLMERE_HAS_X87_LONG_DOUBLE)
  set(quillmere_portable_default OFF)
else()
  set(quillmere_portable_default ON)
endif()
option(QUILLMERE_PORTABLE_ARITHMETIC
       "Round the search's 64-bit intermediates in integers instead of the x87 long double"
       ${quillmere_portable_default})
if(NOT QUILLMERE_PORTABLE_ARITHMETIC AND NOT QUILLMERE_HAS_X87_LONG_DOUBLE)
  message(FATAL_ERROR
    "QUILLMERE_PORTABLE_ARITHMETIC=OFF needs a compiler whose long double is the x87 80-bit "
    "format (GCC or MinGW-w64 g++ for x86 or x86-64); ${CMAKE_CXX_COMPILER_ID} "
    "${CMAKE_CXX_COMPILER_VERSION} for ${CMAKE_SYSTEM_PROCESSOR} does not give it. "
    "Configure with -DQUILLMERE_PORTABLE_ARITHMETIC=ON.")
endif()
if(QUILLMERE_PORTABLE_ARITHMETIC)
  set(QUILLMERE_ARITHMETIC_DEFINITION QUILLMERE_PORTABLE_ARITHMETIC=1)
  message(STATUS "Search arithmetic: portable (integers)")
else()
  set(QUILLMERE_ARITHMETIC_DEFINITION QUILLMERE_PORTABLE_ARITHMETIC=0)
  message(STATUS "Search arithmetic: x87 long double")
endif()
