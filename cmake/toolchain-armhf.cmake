# 32-bit ARM (Debian armhf): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-armhf.cmake
set(FTPDATA_TRIPLET arm-linux-gnueabihf)
set(FTPDATA_PROCESSOR arm)
set(FTPDATA_QEMU qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/cross-debian.cmake)
