#include "core/file_identity.h"

#include <sys/stat.h>

namespace tama05 {

std::optional<FileIdentity> IdentifyFile(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    FileIdentity identity;
    identity.device = static_cast<uint64_t>(st.st_dev);
    identity.inode = static_cast<uint64_t>(st.st_ino);
    identity.size = static_cast<uint64_t>(st.st_size);
    identity.modifiedSeconds = static_cast<int64_t>(st.st_mtim.tv_sec);
    identity.modifiedNanoseconds = static_cast<int64_t>(st.st_mtim.tv_nsec);
    return identity;
}

bool FileChangedSince(const std::filesystem::path& path,
                      const std::optional<FileIdentity>& recorded) {
    return IdentifyFile(path) != recorded;
}

}  // namespace tama05
