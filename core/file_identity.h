#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace tama05 {

// What tells one version of a file from another without reading it: the file (device and
// inode: a save by rename makes a new one), its size and its modification time to the
// nanosecond. Recorded when a program opens or saves a file, it shows before the next save
// whether another program has changed the file in between.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at path now, or nothing when there is no such file.
std::optional<FileIdentity> IdentifyFile(const std::filesystem::path& path);

// True when the file at path is no longer the one recorded: replaced, rewritten or removed
// since. A file that did not exist when recorded (nothing recorded) counts as changed only when
// one exists now.
bool FileChangedSince(const std::filesystem::path& path,
                      const std::optional<FileIdentity>& recorded);

}  // namespace tama05
