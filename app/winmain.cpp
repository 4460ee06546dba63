// The process entry of quillmere.exe.
#include <windows.h>

#include "app/program_start.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return RunProgram(instance);
}
