#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>

#include "core/alpha_plane.h"
#include "core/message_sink.h"
#include "puzzle/puzzle.h"

namespace tama05 {

// What a save writes: the puzzle file, or the mosaic blended with the answer as a picture. The
// values are the positions of the save-as dialog's filters.
enum class SaveKind { kPuzzleFile = 0, kJpeg = 1, kBmp = 2, kPng = 3 };

// The kind a file name asks for by its extension, in any case: .tgr, .jpg or .jpeg, .bmp,
// .png; nothing for any other.
std::optional<SaveKind> SaveKindForExtension(const std::filesystem::path& path);

// The kind of the save-as dialog's filter at index; the puzzle file for an unknown index.
SaveKind SaveKindForFilter(int index);

struct SaveRequest {
    SaveRequest() = default;
    SaveRequest(std::filesystem::path path, SaveKind kind,
                std::optional<int32_t> blendValue = std::nullopt,
                const AlphaPlane* answerAlpha = nullptr)
        : path(std::move(path)), kind(kind), blendValue(blendValue), answerAlpha(answerAlpha) {}

    std::filesystem::path path;
    SaveKind kind = SaveKind::kPuzzleFile;
    // The blend of an exported picture; nothing: the puzzle's blend value.
    std::optional<int32_t> blendValue;
    // The answer picture's own alpha for the PNG export (used when it has the answer's size),
    // or null.
    const AlphaPlane* answerAlpha = nullptr;
};

// The one road of a save and of an export, used by the game, its dialogs and the command line.
// A puzzle that is not ready shows "保存すべきものが読み込まれていません。" (caption
// "保存できません。") and writes nothing. A puzzle file becomes the puzzle's file name, also
// when writing it failed, and marks the puzzle saved when it was written. A picture changes
// nothing in the puzzle. The puzzle is read under its lock; every message is shown after the
// lock is released. Returns 0, or the negative result of the save or export after its message.
int SaveOrExport(Puzzle& puzzle, const SaveRequest& request, MessageSink& messages);

}  // namespace tama05
