# Cross-compiles the core, the companion and the native tests for 64-bit ARM Linux with
# Debian's g++-aarch64-linux-gnu. The programs run here under qemu-aarch64 (Debian's
# qemu-user), which finds the ARM C and C++ libraries under /usr/aarch64-linux-gnu.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
# The C++ runtime linked in, as for Windows: Debian's cross libraries declare their
# dependencies under cross-package names (libstdc++6-arm64-cross), which would not do
# for the ARM deb; it depends on libc6 alone (cmake/ArmDebDepends.cmake).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libstdc++ -static-libgcc")
