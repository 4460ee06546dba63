// Entry of the Windows tests: the common controls are loaded once, as the program
// does, before any window is created.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
