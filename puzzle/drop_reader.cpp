#include "puzzle/drop_reader.h"

#include "painter/picture_source.h"

namespace tama05 {

PictureSourceReader DropPictureReader() {
    return [](const std::filesystem::path& path, Image& target, MessageSink& messages) {
        PictureSourceState state;
        return SniffSourceFile(messages, state, path, target);
    };
}

}  // namespace tama05
