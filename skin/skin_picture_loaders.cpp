#include "skin/skin_picture_loaders.h"

#include "core/image_file.h"
#include "core/png_file.h"

namespace tama05 {

PictureLoader PngPictureLoader() {
    return [](const std::filesystem::path& path, Image& image, AlphaPlane* alpha) {
        return ReadPngFile(path, image, alpha, nullptr) == kPngOk ? 0 : -1;
    };
}

PictureLoader SilentPictureLoader() {
    return [](const std::filesystem::path& path, Image& image, AlphaPlane* alpha) {
        NullMessageSink silent;
        return LoadImageFile(silent, path, image, false, alpha, nullptr);
    };
}

}  // namespace tama05
