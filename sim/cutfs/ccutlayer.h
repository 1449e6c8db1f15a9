#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <sys/types.h>

// What a disk holds after the power goes: the state of one directory tree
// as the sync calls made it durable. Everything else written since (file
// data and sizes, creations, renames, removals) lives only in the backing
// directory, the page cache of this model, and is lost by a cut.
//
// Paths are as the mount sees them: "/" for the root, "/a/b" below it.
class CCutLayer
{
  public:
    struct CEntry {
        bool bDir = false;
        std::uint64_t ullId = 0; // the file's identity, kept across renames
    };
    using CListing = std::map<std::string, CEntry>;

    // iBackingFd: the backing directory; what it holds now counts as durable.
    explicit CCutLayer(int iBackingFd);

    // Calls of the file system on the live tree.
    void created(const std::string &sPath);
    void removed(const std::string &sPath);
    void renamed(const std::string &sFrom, const std::string &sTo);
    void opened(std::uint64_t ullHandle, const std::string &sPath);
    void closed(std::uint64_t ullHandle);
    void written(std::uint64_t ullHandle, off_t llOffset, size_t ullSize);
    // fsync/fdatasync of an open file: its data and size are durable now.
    void fileSynced(std::uint64_t ullHandle, int iFd);
    // fsync of a directory: its entries are durable now.
    void directorySynced(const std::string &sPath);

    // The power goes: the backing directory is rewritten to what is durable.
    // sMode: "drop" (unsynced data gone), "tear" (the latest unsynced write
    // kept up to a random byte), "zeros" (that file keeps its new length,
    // zeros in place of its unsynced data). Returns what was lost, one line.
    std::string cut(const std::string &sMode, unsigned uSeed);

  private:
    std::uint64_t idOf(const std::string &sPath);
    void snapshot(const std::string &sDir);
    CListing liveListing(const std::string &sDir);

    struct CWrite {
        std::uint64_t ullSeq = 0;
        off_t llOffset = 0;
        size_t ullSize = 0;
    };

    int m_iBackingFd;
    std::uint64_t m_ullNextId = 1;
    std::uint64_t m_ullWriteSeq = 0;
    std::map<std::string, std::uint64_t> m_live;        // file path -> id
    std::map<std::uint64_t, std::uint64_t> m_handles;   // open handle -> id
    std::map<std::string, CListing> m_durableDirs;      // directory -> durable entries
    std::map<std::uint64_t, std::string> m_durableData; // id -> bytes as of the last sync
    std::map<std::uint64_t, CWrite> m_lastWrite;        // id -> its latest write
};

// The backing path of a mount path ("." for the root).
std::string backingPath(const std::string &sPath);
// What a cut leaves of one file: the durable bytes, and for the file the
// cut tears the live bytes up to a byte of its latest write (sMode "tear")
// or zeros in place of the unsynced bytes ("zeros"). uPick chooses the byte.
std::string cutContent(const std::string &sDurable, const std::string &sLive, const std::string &sMode,
                       off_t llWriteOffset, size_t ullWriteSize, unsigned uPick);
