#include "ui/about_text.h"

#include "build_commit.h"  // generated: QUILLMERE_COMMIT

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
