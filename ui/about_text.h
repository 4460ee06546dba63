// What the "About Quillmere" item of the window's system menu shows: the version, the
// commit the program was built from, the licence and the project's address. ASCII.
#pragma once

// The item's text, and the caption of the box it opens.
constexpr char kAboutItemText[] = "About Quillmere";

// The box's text, lines ended by "\n":
//   Quillmere X.Y.Z
//   commit 4df0920
//   MIT licence, copyright the Quillmere authors
//   https://...
const char* AboutText();
