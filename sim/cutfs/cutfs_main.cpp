// cutfs: a file system for power-cut runs of the stand-in vehicle.
//
//   cutfs BACKING MOUNTPOINT CONTROL_DIR [FUSE OPTIONS]
//
// Passes every call through to BACKING. Durable is only what fsync or
// fdatasync of a file (its data and size) and fsync of a directory (its
// entries) made durable. A sync() or syncfs() never reaches a FUSE file
// system, so it makes nothing durable here: the stricter disk.
//
// When the file system is unmounted while CONTROL_DIR/cut exists (its text:
// "drop", "tear SEED" or "zeros SEED"), BACKING is rewritten to what a disk
// holds after the power went, the file is removed and one line of what was
// lost is appended to CONTROL_DIR/cuts.log.
#define FUSE_USE_VERSION 35
#include <fuse.h>

#include "ccutlayer.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace
{

int g_iBackingFd = -1;
std::unique_ptr<CCutLayer> g_pLayer;
std::mutex g_mutex;

std::string rel(const char *pPath)
{
    return backingPath(pPath ? pPath : "/");
}

int result(int iReturn)
{
    return iReturn < 0 ? -errno : 0;
}

void *onInit(fuse_conn_info *, fuse_config *pConfig)
{
    // Calls on an open file that was removed carry no path.
    pConfig->nullpath_ok = 1;
    pConfig->hard_remove = 1;
    pConfig->use_ino = 0;
    return nullptr;
}

int onGetattr(const char *pPath, struct stat *pStat, fuse_file_info *pInfo)
{
    if (pInfo)
        return result(::fstat(int(pInfo->fh), pStat));
    return result(::fstatat(g_iBackingFd, rel(pPath).c_str(), pStat, AT_SYMLINK_NOFOLLOW));
}

int onReaddir(const char *pPath, void *pBuffer, fuse_fill_dir_t fill, off_t, fuse_file_info *, fuse_readdir_flags)
{
    const int iFd = ::openat(g_iBackingFd, rel(pPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (iFd < 0)
        return -errno;
    DIR *pDir = ::fdopendir(iFd);
    if (!pDir) {
        ::close(iFd);
        return -errno;
    }
    while (const dirent *pEntry = ::readdir(pDir))
        fill(pBuffer, pEntry->d_name, nullptr, 0, fuse_fill_dir_flags(0));
    ::closedir(pDir);
    return 0;
}

int onMkdir(const char *pPath, mode_t mode)
{
    return result(::mkdirat(g_iBackingFd, rel(pPath).c_str(), mode));
}

int onRmdir(const char *pPath)
{
    return result(::unlinkat(g_iBackingFd, rel(pPath).c_str(), AT_REMOVEDIR));
}

int onUnlink(const char *pPath)
{
    if (::unlinkat(g_iBackingFd, rel(pPath).c_str(), 0) != 0)
        return -errno;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_pLayer->removed(pPath);
    return 0;
}

int onRename(const char *pFrom, const char *pTo, unsigned int uFlags)
{
    if (uFlags & RENAME_EXCHANGE)
        return -EINVAL;
    if (::renameat2(g_iBackingFd, rel(pFrom).c_str(), g_iBackingFd, rel(pTo).c_str(), uFlags) != 0)
        return -errno;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_pLayer->renamed(pFrom, pTo);
    return 0;
}

int openFile(const char *pPath, fuse_file_info *pInfo, int iFlags, mode_t mode)
{
    // A sync reads the file back through its handle.
    if ((iFlags & O_ACCMODE) == O_WRONLY)
        iFlags = (iFlags & ~O_ACCMODE) | O_RDWR;
    const int iFd = ::openat(g_iBackingFd, rel(pPath).c_str(), iFlags | O_CLOEXEC, mode);
    if (iFd < 0)
        return -errno;
    pInfo->fh = std::uint64_t(iFd);
    std::lock_guard<std::mutex> lock(g_mutex);
    if (iFlags & O_CREAT)
        g_pLayer->created(pPath);
    g_pLayer->opened(pInfo->fh, pPath);
    return 0;
}

int onCreate(const char *pPath, mode_t mode, fuse_file_info *pInfo)
{
    return openFile(pPath, pInfo, pInfo->flags | O_CREAT, mode);
}

int onOpen(const char *pPath, fuse_file_info *pInfo)
{
    return openFile(pPath, pInfo, pInfo->flags & ~O_CREAT, 0);
}

int onRead(const char *, char *pBuffer, size_t ullSize, off_t llOffset, fuse_file_info *pInfo)
{
    const ssize_t llRead = ::pread(int(pInfo->fh), pBuffer, ullSize, llOffset);
    return llRead < 0 ? -errno : int(llRead);
}

int onWrite(const char *, const char *pBuffer, size_t ullSize, off_t llOffset, fuse_file_info *pInfo)
{
    const ssize_t llWritten = ::pwrite(int(pInfo->fh), pBuffer, ullSize, llOffset);
    if (llWritten < 0)
        return -errno;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_pLayer->written(pInfo->fh, llOffset, size_t(llWritten));
    return int(llWritten);
}

int onTruncate(const char *pPath, off_t llSize, fuse_file_info *pInfo)
{
    if (pInfo)
        return result(::ftruncate(int(pInfo->fh), llSize));
    const int iFd = ::openat(g_iBackingFd, rel(pPath).c_str(), O_WRONLY | O_CLOEXEC);
    if (iFd < 0)
        return -errno;
    const int iReturn = result(::ftruncate(iFd, llSize));
    ::close(iFd);
    return iReturn;
}

int onFsync(const char *, int, fuse_file_info *pInfo)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_pLayer->fileSynced(pInfo->fh, int(pInfo->fh));
    return 0;
}

int onFsyncdir(const char *pPath, int, fuse_file_info *)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_pLayer->directorySynced(pPath ? pPath : "/");
    return 0;
}

int onRelease(const char *, fuse_file_info *pInfo)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_pLayer->closed(pInfo->fh);
    }
    return result(::close(int(pInfo->fh)));
}

int onChmod(const char *pPath, mode_t mode, fuse_file_info *pInfo)
{
    if (pInfo)
        return result(::fchmod(int(pInfo->fh), mode));
    return result(::fchmodat(g_iBackingFd, rel(pPath).c_str(), mode, 0));
}

int onChown(const char *pPath, uid_t uid, gid_t gid, fuse_file_info *pInfo)
{
    if (pInfo)
        return result(::fchown(int(pInfo->fh), uid, gid));
    return result(::fchownat(g_iBackingFd, rel(pPath).c_str(), uid, gid, AT_SYMLINK_NOFOLLOW));
}

int onUtimens(const char *pPath, const timespec aTimes[2], fuse_file_info *pInfo)
{
    if (pInfo)
        return result(::futimens(int(pInfo->fh), aTimes));
    return result(::utimensat(g_iBackingFd, rel(pPath).c_str(), aTimes, AT_SYMLINK_NOFOLLOW));
}

int onStatfs(const char *, struct statvfs *pStat)
{
    return result(::fstatvfs(g_iBackingFd, pStat));
}

int onAccess(const char *pPath, int iMask)
{
    return result(::faccessat(g_iBackingFd, rel(pPath).c_str(), iMask, 0));
}

void cutIfAsked(const std::string &sControl)
{
    std::ifstream in(sControl + "/cut");
    std::string sMode;
    unsigned uSeed = 0;
    if (!(in >> sMode))
        return;
    in >> uSeed;
    const std::string sLost = g_pLayer->cut(sMode, uSeed);
    std::remove((sControl + "/cut").c_str());
    std::ofstream(sControl + "/cuts.log", std::ios::app) << sLost << "\n";
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: cutfs BACKING MOUNTPOINT CONTROL_DIR [FUSE OPTIONS]\n");
        return 2;
    }
    g_iBackingFd = ::open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (g_iBackingFd < 0) {
        std::fprintf(stderr, "cutfs: %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    g_pLayer = std::make_unique<CCutLayer>(g_iBackingFd);
    char acControl[PATH_MAX];
    if (!::realpath(argv[3], acControl)) {
        std::fprintf(stderr, "cutfs: %s: %s\n", argv[3], std::strerror(errno));
        return 1;
    }
    const std::string sControl = acControl;

    fuse_operations ops{};
    ops.init = onInit;
    ops.getattr = onGetattr;
    ops.readdir = onReaddir;
    ops.mkdir = onMkdir;
    ops.rmdir = onRmdir;
    ops.unlink = onUnlink;
    ops.rename = onRename;
    ops.create = onCreate;
    ops.open = onOpen;
    ops.read = onRead;
    ops.write = onWrite;
    ops.truncate = onTruncate;
    ops.fsync = onFsync;
    ops.fsyncdir = onFsyncdir;
    ops.release = onRelease;
    ops.chmod = onChmod;
    ops.chown = onChown;
    ops.utimens = onUtimens;
    ops.statfs = onStatfs;
    ops.access = onAccess;

    // Foreground, one thread: the order of calls is the order of the model.
    std::vector<char *> args{argv[0], argv[2], const_cast<char *>("-f"), const_cast<char *>("-s")};
    for (int i = 4; i < argc; ++i)
        args.push_back(argv[i]);
    const int iReturn = fuse_main(int(args.size()), args.data(), &ops, nullptr);
    cutIfAsked(sControl);
    return iReturn;
}
