// Feeds arbitrary bytes to LoadImageFile through a file in a private temporary folder: the
// first byte picks the file's name, so recognition by name and by first bytes is exercised
// along with the BMP file reader. PNG data is left to the PNG stream target (the file reader
// only adds reading the whole file), and JPEG names are not used for the same reason.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>

#include "core/image.h"
#include "core/image_file.h"
#include "core/message_sink.h"
#include "core/bmp_file.h"
#include "core/png_file.h"
#include "fuzz_limits.h"

namespace {

// The run's own folder, removed at exit.
class PrivateFolder {
  public:
    PrivateFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tama05-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        m_path = pattern;
    }
    ~PrivateFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

bool WriteWhole(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return ::close(fd) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tama05;
    static const PrivateFolder folder;
    if (size == 0) {
        return 0;
    }
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    if (HasPngSignature(bytes)) {
        return 0;
    }
    static const char* const kNames[] = {"p.bmp", "p.BMP", "p.Bmp", "p.bMP", "p.txt", "bmp"};
    const std::filesystem::path path = folder.path() / kNames[data[0] % 6];
    if (!WriteWhole(path, bytes)) {
        std::abort();
    }
    NullMessageSink messages;
    Image image;
    AlphaPlane plane;
    PictureReadState state;
    if (LoadImageFile(messages, path, image, data[0] & 0x80, &plane, &state) == 0) {
        fuzz::Require(image.byteCount() + kBmpHeaderBytes <= bytes.size());
        fuzz::Require(plane.values.empty() && !state.PictureHasAlpha);
    }
    std::filesystem::remove(path);
    return 0;
}
