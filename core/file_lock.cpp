#include "core/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tama05 {

FileLock::~FileLock() {
    Unlock();
}

void FileLock::Unlock() {
    if (m_fd >= 0) {
        ::close(m_fd);  // closing the only descriptor releases the lock
        m_fd = -1;
    }
}

FileLock::Result FileLock::Lock(const std::filesystem::path& path, bool wait) {
    Unlock();
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            return Result::kNoFile;
        }
        int locked = 0;
        do {
            locked = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            const bool busy = errno == EWOULDBLOCK;
            ::close(fd);
            return busy ? Result::kBusy : Result::kNoFile;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            m_fd = fd;
            return Result::kLocked;
        }
        // The file was replaced while this waited: lock the one path names now.
        ::close(fd);
    }
}

}  // namespace tama05
