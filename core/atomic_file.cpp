#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

namespace tama05 {

namespace {

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Makes the rename durable; a folder that cannot be synced is not an error.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

int WriteFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes) {
    if (target.filename().empty()) {
        return -1;
    }
    const std::filesystem::path folder = target.parent_path();
    std::random_device seed;
    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        std::string name(1, '.');
        name.append(target.filename().string());
        name.append(".tmp");
        name.append(std::to_string(::getpid()));
        name.push_back('-');
        name.append(std::to_string(seed()));
        temporary = folder / name;
        // 0666 lets the user's umask decide, as for any newly created file.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return -1;
        }
    }
    if (fd < 0) {
        return -1;
    }
    bool written = WriteAll(fd, bytes);
    written = (::fsync(fd) == 0) && written;
    written = (::close(fd) == 0) && written;
    if (!written) {
        ::unlink(temporary.c_str());
        return -2;
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return -3;
    }
    SyncFolder(folder);
    return 0;
}

}  // namespace tama05
