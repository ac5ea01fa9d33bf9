#include "core/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace tama05 {

namespace {

// Temporaries are named ".<target name>.tmp<pid>-<random>" so that a later save can tell
// whether the process that wrote one is still running.
constexpr std::string_view kTemporaryMark = ".tmp";

std::string TemporaryName(const std::filesystem::path& target, uint32_t random) {
    std::string name(1, '.');
    name.append(target.filename().string());
    name.append(kTemporaryMark);
    name.append(std::to_string(::getpid()));
    name.push_back('-');
    name.append(std::to_string(random));
    return name;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The process id in a temporary's name, or none when the name is not one of ours.
std::optional<pid_t> WriterOf(std::string_view name) {
    const size_t mark = name.rfind(kTemporaryMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string_view::npos || mark < 2) {
        return std::nullopt;
    }
    const std::string_view tail = name.substr(mark + kTemporaryMark.size());
    const size_t dash = tail.find('-');
    if (dash == std::string_view::npos || !AllDigits(tail.substr(0, dash)) ||
        !AllDigits(tail.substr(dash + 1))) {
        return std::nullopt;
    }
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(tail.data(), tail.data() + dash, pid);
    if (error != std::errc() || end != tail.data() + dash || pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

// Removes the temporaries of our naming in folder whose writing process no longer runs (a
// save killed inside its write). A temporary of a running process is kept, also when its id
// was reused; a writer in another process namespace that shares the folder could lose its
// temporary, and then its own rename fails and its target keeps its old contents.
void RemoveStaleTemporaries(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::path& path = entries->path();
        const std::optional<pid_t> writer = WriterOf(path.filename().native());
        if (!writer || ::kill(*writer, 0) == 0 || errno != ESRCH) {
            continue;
        }
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            ::unlink(path.c_str());
        }
    }
}

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

// Writes, flushes and closes fd; false when any of them fails (fd is closed either way).
bool WriteFlushClose(int fd, std::span<const uint8_t> bytes) {
    bool written = WriteAll(fd, bytes);
    written = (::fsync(fd) == 0) && written;
    return (::close(fd) == 0) && written;
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

// Gives the written unnamed file fd the name temporary; false when the file system or the
// missing /proc does not allow it.
bool LinkUnnamed(int fd, const std::filesystem::path& temporary) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
    return ::linkat(fd, "", AT_FDCWD, temporary.c_str(), AT_EMPTY_PATH) == 0;
}

enum class Unnamed { kUnsupported, kLinked, kWriteFailed };

// Writes bytes into an unnamed file in folder, which a killed process cannot leave behind,
// and only once it is whole on disk links it in as temporary.
Unnamed WriteUnnamed(const std::filesystem::path& folder, std::span<const uint8_t> bytes,
                     const std::filesystem::path& temporary) {
    // 0666 lets the user's umask decide, as for any newly created file.
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        return Unnamed::kUnsupported;
    }
    bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool linked = written && LinkUnnamed(fd, temporary);
    written = (::close(fd) == 0) && written;
    if (linked && !written) {
        ::unlink(temporary.c_str());
    }
    if (!written) {
        return Unnamed::kWriteFailed;
    }
    return linked ? Unnamed::kLinked : Unnamed::kUnsupported;
}

}  // namespace

int WriteFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes) {
    if (target.filename().empty()) {
        return -1;
    }
    const std::filesystem::path folder = target.parent_path();
    RemoveStaleTemporaries(folder);
    std::random_device seed;
    std::filesystem::path temporary = folder / TemporaryName(target, seed());
    switch (WriteUnnamed(folder, bytes, temporary)) {
        case Unnamed::kWriteFailed:
            return -2;
        case Unnamed::kLinked:
            break;
        case Unnamed::kUnsupported: {
            // A named temporary, removed on failure; a killed save leaves it for the next
            // save into this folder to remove.
            int fd = -1;
            for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
                temporary = folder / TemporaryName(target, seed());
                fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                if (fd < 0 && errno != EEXIST) {
                    return -1;
                }
            }
            if (fd < 0) {
                return -1;
            }
            if (!WriteFlushClose(fd, bytes)) {
                ::unlink(temporary.c_str());
                return -2;
            }
            break;
        }
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return -3;
    }
    SyncFolder(folder);
    return 0;
}

}  // namespace tama05
