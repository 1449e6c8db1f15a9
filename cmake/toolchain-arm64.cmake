# 64-bit ARM (Debian arm64): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-arm64.cmake
set(FTPDATA_TRIPLET aarch64-linux-gnu)
set(FTPDATA_PROCESSOR aarch64)
set(FTPDATA_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/cross-debian.cmake)
