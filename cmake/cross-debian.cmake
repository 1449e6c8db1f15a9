# Shared part of the cross builds for the truck's ARM computers, with
# Debian's cross compilers and the multiarch Qt of the target
# (qt6-base-dev:ARCH). Included by toolchain-ARCH.cmake after it has set
# FTPDATA_TRIPLET, FTPDATA_PROCESSOR and FTPDATA_QEMU.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${FTPDATA_PROCESSOR})
set(CMAKE_LIBRARY_ARCHITECTURE ${FTPDATA_TRIPLET})
set(CMAKE_C_COMPILER ${FTPDATA_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${FTPDATA_TRIPLET}-g++)

# Target libraries and headers only from the multiarch paths; programs
# (moc, qdbusxml2cpp, dbus-run-session) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${FTPDATA_TRIPLET} /usr)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's code generators run on the build machine: Qt's host half.
set(QT_HOST_PATH /usr CACHE PATH "")
execute_process(COMMAND dpkg-architecture -qDEB_BUILD_MULTIARCH OUTPUT_VARIABLE _build_triplet
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${_build_triplet}/cmake CACHE PATH "")

# Test programs run under user-mode emulation. Their loader and C library
# are the target's multiarch ones (libc6:ARCH, which the target's Qt needs
# anyway) at their own paths, so no -L prefix: the cross compiler's copy
# under /usr/TRIPLET can be another build of the C library, and a loader of
# one build with the library of another crashes at start.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/run-emulated ${FTPDATA_QEMU})
