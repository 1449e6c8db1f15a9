#include "ccutlayer.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

std::string readAll(int iFd)
{
    std::string sBytes;
    char acBuffer[65536];
    off_t llOffset = 0;
    for (;;) {
        const ssize_t llRead = ::pread(iFd, acBuffer, sizeof acBuffer, llOffset);
        if (llRead <= 0)
            return sBytes;
        sBytes.append(acBuffer, size_t(llRead));
        llOffset += llRead;
    }
}

std::string childPath(const std::string &sDir, const std::string &sName)
{
    return sDir == "/" ? "/" + sName : sDir + "/" + sName;
}

bool isBelow(const std::string &sPath, const std::string &sDir)
{
    return sPath.size() > sDir.size() && sPath.compare(0, sDir.size(), sDir) == 0 && sPath[sDir.size()] == '/';
}

// Every entry of a backing directory but "." and "..", with its kind.
std::map<std::string, bool> listBacking(int iBackingFd, const std::string &sDir)
{
    std::map<std::string, bool> entries;
    const int iFd = ::openat(iBackingFd, backingPath(sDir).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (iFd < 0)
        return entries;
    DIR *pDir = ::fdopendir(iFd);
    if (!pDir) {
        ::close(iFd);
        return entries;
    }
    while (const dirent *pEntry = ::readdir(pDir)) {
        const std::string sName = pEntry->d_name;
        if (sName == "." || sName == "..")
            continue;
        struct stat st {
        };
        if (::fstatat(iFd, sName.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            entries[sName] = S_ISDIR(st.st_mode);
    }
    ::closedir(pDir);
    return entries;
}

void removeTree(int iBackingFd, const std::string &sDir)
{
    for (const auto &[sName, bDir] : listBacking(iBackingFd, sDir)) {
        const std::string sPath = childPath(sDir, sName);
        if (bDir)
            removeTree(iBackingFd, sPath);
        ::unlinkat(iBackingFd, backingPath(sPath).c_str(), bDir ? AT_REMOVEDIR : 0);
    }
}

bool writeFile(int iBackingFd, const std::string &sPath, const std::string &sBytes)
{
    const int iFd = ::openat(iBackingFd, backingPath(sPath).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (iFd < 0)
        return false;
    size_t ullDone = 0;
    while (ullDone < sBytes.size()) {
        const ssize_t llWritten = ::write(iFd, sBytes.data() + ullDone, sBytes.size() - ullDone);
        if (llWritten <= 0)
            break;
        ullDone += size_t(llWritten);
    }
    ::close(iFd);
    return ullDone == sBytes.size();
}

std::string readLive(int iBackingFd, const std::string &sPath)
{
    const int iFd = ::openat(iBackingFd, backingPath(sPath).c_str(), O_RDONLY | O_CLOEXEC);
    if (iFd < 0)
        return std::string();
    std::string sBytes = readAll(iFd);
    ::close(iFd);
    return sBytes;
}

} // namespace

std::string backingPath(const std::string &sPath)
{
    return sPath == "/" || sPath.empty() ? std::string(".") : sPath.substr(1);
}

std::string cutContent(const std::string &sDurable, const std::string &sLive, const std::string &sMode,
                       off_t llWriteOffset, size_t ullWriteSize, unsigned uPick)
{
    if (sMode == "zeros" && sLive.size() > sDurable.size())
        return sDurable + std::string(sLive.size() - sDurable.size(), '\0');
    if (sMode != "tear" || sLive.size() <= sDurable.size() || sLive.compare(0, sDurable.size(), sDurable) != 0)
        return sDurable;
    // The page cache wrote out what came before the latest write; that
    // write stops at a random byte of its own.
    const size_t ullBegin = std::max(sDurable.size(), size_t(std::max<off_t>(llWriteOffset, 0)));
    const size_t ullEnd = std::min(sLive.size(), size_t(llWriteOffset) + ullWriteSize);
    if (ullBegin >= ullEnd)
        return sDurable;
    return sLive.substr(0, ullBegin + uPick % (ullEnd - ullBegin));
}

CCutLayer::CCutLayer(int iBackingFd) : m_iBackingFd(iBackingFd)
{
    snapshot("/");
}

void CCutLayer::snapshot(const std::string &sDir)
{
    CListing &listing = m_durableDirs[sDir];
    for (const auto &[sName, bDir] : listBacking(m_iBackingFd, sDir)) {
        const std::string sPath = childPath(sDir, sName);
        if (bDir) {
            listing[sName] = CEntry{true, 0};
            snapshot(sPath);
            continue;
        }
        const std::uint64_t ullId = idOf(sPath);
        listing[sName] = CEntry{false, ullId};
        m_durableData[ullId] = readLive(m_iBackingFd, sPath);
    }
}

std::uint64_t CCutLayer::idOf(const std::string &sPath)
{
    auto it = m_live.find(sPath);
    if (it == m_live.end())
        it = m_live.emplace(sPath, m_ullNextId++).first;
    return it->second;
}

void CCutLayer::created(const std::string &sPath)
{
    idOf(sPath);
}

void CCutLayer::removed(const std::string &sPath)
{
    m_live.erase(sPath);
}

void CCutLayer::renamed(const std::string &sFrom, const std::string &sTo)
{
    std::map<std::string, std::uint64_t> moved;
    for (auto it = m_live.begin(); it != m_live.end();) {
        if (it->first == sFrom || isBelow(it->first, sFrom)) {
            moved[sTo + it->first.substr(sFrom.size())] = it->second;
            it = m_live.erase(it);
        } else {
            ++it;
        }
    }
    m_live.erase(sTo);
    for (const auto &[sPath, ullId] : moved)
        m_live[sPath] = ullId;
}

void CCutLayer::opened(std::uint64_t ullHandle, const std::string &sPath)
{
    m_handles[ullHandle] = idOf(sPath);
}

void CCutLayer::closed(std::uint64_t ullHandle)
{
    m_handles.erase(ullHandle);
}

void CCutLayer::written(std::uint64_t ullHandle, off_t llOffset, size_t ullSize)
{
    const auto it = m_handles.find(ullHandle);
    if (it != m_handles.end())
        m_lastWrite[it->second] = CWrite{++m_ullWriteSeq, llOffset, ullSize};
}

void CCutLayer::fileSynced(std::uint64_t ullHandle, int iFd)
{
    const auto it = m_handles.find(ullHandle);
    if (it != m_handles.end())
        m_durableData[it->second] = readAll(iFd);
}

CCutLayer::CListing CCutLayer::liveListing(const std::string &sDir)
{
    CListing listing;
    for (const auto &[sName, bDir] : listBacking(m_iBackingFd, sDir))
        listing[sName] = bDir ? CEntry{true, 0} : CEntry{false, idOf(childPath(sDir, sName))};
    return listing;
}

void CCutLayer::directorySynced(const std::string &sPath)
{
    m_durableDirs[sPath] = liveListing(sPath);
}

std::string CCutLayer::cut(const std::string &sMode, unsigned uSeed)
{
    // The durable tree, path by path, and the live bytes of what differs.
    std::map<std::string, std::uint64_t> durableFiles;
    std::map<std::string, bool> durableDirs{{"/", true}};
    std::vector<std::string> pending{"/"};
    while (!pending.empty()) {
        const std::string sDir = pending.back();
        pending.pop_back();
        for (const auto &[sName, entry] : m_durableDirs[sDir]) {
            const std::string sPath = childPath(sDir, sName);
            if (entry.bDir) {
                durableDirs[sPath] = true;
                pending.push_back(sPath);
            } else {
                durableFiles[sPath] = entry.ullId;
            }
        }
    }
    std::map<std::uint64_t, std::string> liveById;
    for (const auto &[sPath, ullId] : m_live)
        liveById[ullId] = readLive(m_iBackingFd, sPath);

    // The file of the latest write that was not made durable is the one a
    // tear or zeros hit.
    std::uint64_t ullHit = 0, ullHitSeq = 0;
    for (const auto &[sPath, ullId] : durableFiles) {
        const auto write = m_lastWrite.find(ullId);
        const auto live = liveById.find(ullId);
        if (write != m_lastWrite.end() && live != liveById.end() && live->second != m_durableData[ullId] &&
            write->second.ullSeq > ullHitSeq) {
            ullHit = ullId;
            ullHitSeq = write->second.ullSeq;
        }
    }

    std::ostringstream lost;
    int iChanged = 0, iGone = 0, iBack = 0;
    std::map<std::uint64_t, bool> durableIds;
    for (const auto &[sPath, ullId] : durableFiles)
        durableIds[ullId] = true;
    for (const auto &[sPath, ullId] : m_live) {
        const auto durable = durableFiles.find(sPath);
        if (durable == durableFiles.end() || durable->second != ullId)
            ++iGone;
        else if (liveById[ullId] != m_durableData[ullId])
            ++iChanged;
    }
    for (const auto &[sPath, ullId] : durableFiles) {
        const auto live = m_live.find(sPath);
        if (live == m_live.end() || live->second != ullId)
            ++iBack;
    }

    removeTree(m_iBackingFd, "/");
    std::mt19937 random(uSeed);
    for (const auto &[sPath, bDir] : durableDirs) {
        if (sPath != "/")
            ::mkdirat(m_iBackingFd, backingPath(sPath).c_str(), 0755);
    }
    for (const auto &[sPath, ullId] : durableFiles) {
        std::string sBytes = m_durableData[ullId];
        if (ullId == ullHit) {
            const CWrite &write = m_lastWrite[ullId];
            const unsigned uPick = unsigned(random());
            sBytes = cutContent(sBytes, liveById[ullId], sMode, write.llOffset, write.ullSize, uPick);
            lost << sMode << " " << sPath << " at " << sBytes.size() << " of " << liveById[ullId].size() << " bytes ("
                 << m_durableData[ullId].size() << " durable); ";
        }
        writeFile(m_iBackingFd, sPath, sBytes);
    }
    lost << iChanged << " files lost unsynced data, " << iGone << " unsynced entries gone, " << iBack
         << " removed or renamed entries back";

    // The tree is what the disk holds now: the next power-on starts from it.
    m_live.clear();
    m_handles.clear();
    m_lastWrite.clear();
    m_durableDirs.clear();
    m_durableData.clear();
    snapshot("/");
    return lost.str();
}
