#include "core/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tama05 {

namespace {

// A file descriptor closed when it goes out of scope. It is opened without blocking, so that a
// named pipe among dropped files is refused as not regular instead of waiting for a writer;
// for a regular file the flag changes nothing.
class Descriptor {
  public:
    explicit Descriptor(const std::filesystem::path& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int get() const { return m_fd; }

  private:
    int m_fd;
};

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

int ReadFileBytes(const std::filesystem::path& path, std::vector<uint8_t>& out, uint64_t maxBytes) {
    out.clear();
    Descriptor file(path);
    uint64_t size = 0;
    if (file.get() < 0 || !IsRegular(file.get(), size)) {
        return -1;
    }
    if (size > maxBytes) {
        return -2;
    }
    try {
        out.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return -2;
    }
    const int64_t got = ReadSome(file.get(), out.data(), out.size());
    if (got < 0 || static_cast<uint64_t>(got) != size) {
        out.clear();
        return -3;
    }
    return 0;
}

int ReadFileHead(const std::filesystem::path& path, size_t count, std::vector<uint8_t>& out) {
    out.assign(count, 0);
    Descriptor file(path);
    uint64_t size = 0;
    if (file.get() < 0 || !IsRegular(file.get(), size)) {
        out.clear();
        return -1;
    }
    const int64_t got = ReadSome(file.get(), out.data(), count);
    if (got < 0) {
        out.clear();
        return -1;
    }
    out.resize(static_cast<size_t>(got));
    return 0;
}

}  // namespace tama05
