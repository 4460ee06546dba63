# The bit-timing search keeps two intermediates in the x87 80-bit long double
# (64-bit significand). GCC gives that type on x86 and x86-64, natively and with
# MinGW-w64; MSVC, ARM and others give a plain double or a 128-bit quad, which would
# change which settings pass the rate test. Refuse those compilers here, loudly.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles([=[
#include <limits>
#if !(defined(__i386__) || defined(__x86_64__))
#error not an x86 target
#endif
static_assert(std::numeric_limits<long double>::digits == 64, "long double is not x87 extended");
int main() { return 0; }
]=] QUILLMERE_HAS_X87_LONG_DOUBLE)
if(NOT QUILLMERE_HAS_X87_LONG_DOUBLE)
  message(FATAL_ERROR
    "Quillmere needs a compiler whose long double is the x87 80-bit format "
    "(64-bit significand), such as GCC or MinGW-w64 g++ targeting x86 or x86-64. "
    "${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION} for ${CMAKE_SYSTEM_PROCESSOR} does not give it.")
endif()
