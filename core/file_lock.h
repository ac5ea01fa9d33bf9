#pragma once

#include <filesystem>

namespace tama05 {

// An exclusive advisory lock (flock) on a file, held until the object goes. Programs that
// take it before reading a file and keep it until they have replaced the file never lose each
// other's changes; programs that do not take it are not held back.
class FileLock {
  public:
    enum class Result {
        kLocked,  // held now
        kBusy,    // another holder has it and waiting was not wanted
        kNoFile,  // the file cannot be opened: nothing to lock, nothing held
    };

    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // Locks the file that path names, waiting for the holder unless wait is false. A file
    // replaced (renamed over) while this waited is not what path names any more: the new file
    // is then locked in its place, so the lock always covers the file path names once granted.
    Result Lock(const std::filesystem::path& path, bool wait);
    void Unlock();

  private:
    int m_fd = -1;
};

}  // namespace tama05
