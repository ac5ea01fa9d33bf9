#include "app/dialogs/file_preview.h"

#include "core/image_file.h"
#include "core/message_sink.h"
#include "puzzlefile/puzzle_file.h"

namespace tama05 {

namespace {

FilePreview PreviewOf(const std::filesystem::path& path, const Image& loaded) {
    FilePreview preview;
    if (ScaleImage(loaded, preview.picture, kThumbnailWidth, kThumbnailHeight) != 0) {
        return EmptyPreview();
    }
    preview.loaded = true;
    preview.name = path.filename().string();
    preview.width = loaded.width();
    preview.height = loaded.height();
    return preview;
}

}  // namespace

FilePreview EmptyPreview() {
    FilePreview preview;
    preview.picture.CreateFilled(kThumbnailWidth, kThumbnailHeight, 0);
    preview.picture.SetHeaders();
    return preview;
}

FilePreview PreviewPictureFile(const std::filesystem::path& path) {
    NullMessageSink silent;
    Image loaded;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) ||
        LoadImageFile(silent, path, loaded, false) != 0) {
        return EmptyPreview();
    }
    return PreviewOf(path, loaded);
}

FilePreview PreviewPuzzleFile(const std::filesystem::path& path) {
    NullMessageSink silent;
    Image thumbnail;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) ||
        ReadPuzzleThumbnail(silent, path, thumbnail, false) != 0) {
        return EmptyPreview();
    }
    return PreviewOf(path, thumbnail);
}

}  // namespace tama05
