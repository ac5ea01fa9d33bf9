#include "core/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tama05 {

namespace {

bool IsRegular(int fd, uint64_t& size) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        return false;
    }
    size = static_cast<uint64_t>(st.st_size);
    return true;
}

// Reads up to count bytes; returns how many were read, or -1 on an error.
int64_t ReadSome(int fd, uint8_t* out, size_t count) {
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

}  // namespace

OpenedFile::~OpenedFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

int OpenedFile::Open(const std::filesystem::path& path, size_t headBytes) {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_bytes.clear();
    m_size = 0;
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd >= 0 && IsRegular(m_fd, m_size) && ReadTo(headBytes) == 0) {
        return 0;
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_bytes.clear();
    m_size = 0;
    return -1;
}

int OpenedFile::ReadTo(uint64_t count) {
    const uint64_t target = std::min(count, m_size);
    if (m_bytes.size() >= target) {
        return 0;
    }
    if (m_fd < 0) {
        return -3;
    }
    const size_t have = m_bytes.size();
    try {
        m_bytes.resize(static_cast<size_t>(target));
    } catch (const std::bad_alloc&) {
        m_bytes.resize(have);
        return -3;
    }
    const int64_t got = ReadSome(m_fd, m_bytes.data() + have, m_bytes.size() - have);
    if (got < 0) {
        m_bytes.resize(have);
        return -3;
    }
    // A file that shrank since it was opened ends where the reading ended.
    m_bytes.resize(have + static_cast<size_t>(got));
    if (m_bytes.size() < target) {
        m_size = m_bytes.size();
    }
    return 0;
}

int OpenedFile::ReadWhole(uint64_t maxBytes) {
    if (m_fd < 0) {
        return -1;
    }
    if (m_size > maxBytes) {
        return -2;
    }
    const uint64_t expected = m_size;
    if (ReadTo(m_size) != 0 || m_bytes.size() != expected) {
        return -3;
    }
    return 0;
}

int ReadFileBytes(const std::filesystem::path& path, std::vector<uint8_t>& out, uint64_t maxBytes) {
    out.clear();
    OpenedFile file;
    if (file.Open(path, 0) != 0) {
        return -1;
    }
    if (const int read = file.ReadWhole(maxBytes); read != 0) {
        return read;
    }
    out = file.TakeBytes();
    return 0;
}

int ReadFileHead(const std::filesystem::path& path, size_t count, std::vector<uint8_t>& out) {
    out.clear();
    OpenedFile file;
    if (file.Open(path, count) != 0) {
        return -1;
    }
    out = file.TakeBytes();
    return 0;
}

}  // namespace tama05
