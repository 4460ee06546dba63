#include "ui/about_text.h"

// A CMake build generates build_commit.h; a plain command line passes the commit.
#ifndef QUILLMERE_COMMIT
#include "build_commit.h"
#endif

#if !defined(QUILLMERE_VERSION) || !defined(QUILLMERE_HOMEPAGE)
#error "QUILLMERE_VERSION and QUILLMERE_HOMEPAGE come from the CMake project"
#endif

#define QUILLMERE_STRING_OF(x) #x
#define QUILLMERE_STRING(x) QUILLMERE_STRING_OF(x)

const char* AboutText() {
  return "Quillmere " QUILLMERE_VERSION "\n"
         "commit " QUILLMERE_STRING(QUILLMERE_COMMIT) "\n"
         "MIT licence, copyright the Quillmere authors\n" QUILLMERE_HOMEPAGE;
}
