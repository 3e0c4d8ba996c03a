# Cross build for the appliance: 32-bit ARM Linux, hard-float.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/armhf-toolchain.cmake -DKVNC_ARMHF_SYSROOT=<dir> ...
# The sysroot (scripts/armhf-sysroot.sh) holds Debian's armhf libfcgi and
# libpam, nlohmann JSON and the googletest sources; the C and C++ runtime
# come with the cross compiler in /usr/arm-linux-gnueabihf.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
# Only notes that the ARM parameter passing of some library types changed
# in GCC 7.1; everything here is built by the one compiler.
set(CMAKE_CXX_FLAGS_INIT "-Wno-psabi")

set(KVNC_ARMHF_SYSROOT "" CACHE PATH "Unpacked armhf libraries")
if(NOT KVNC_ARMHF_SYSROOT)
  message(FATAL_ERROR "set KVNC_ARMHF_SYSROOT (scripts/armhf-sysroot.sh makes one)")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KVNC_ARMHF_SYSROOT)

set(CMAKE_FIND_ROOT_PATH ${KVNC_ARMHF_SYSROOT} /usr/arm-linux-gnueabihf)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)

# libpam.so needs libaudit and libcap-ng at link time.
set(_kvnc_libdirs ${KVNC_ARMHF_SYSROOT}/lib/arm-linux-gnueabihf ${KVNC_ARMHF_SYSROOT}/usr/lib/arm-linux-gnueabihf)
string(REPLACE ";" ":" _kvnc_rpath_link "${_kvnc_libdirs}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,-rpath-link,${_kvnc_rpath_link}")

# Test programs run under user-mode emulation with the target's libraries.
# KVNC_EMULATED tells the few tests that measure the process itself (its
# process limit, say) that they run under the emulator, whose own threads
# count against that limit.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm;-L;/usr/arm-linux-gnueabihf;-E;LD_LIBRARY_PATH=${_kvnc_rpath_link};-E;KVNC_EMULATED=1)
