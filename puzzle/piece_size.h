#pragma once

#include <cstdint>
#include <string_view>

namespace tama05 {

// How the player gives the piece size: directly, or as a number of divisions.
enum class PieceSizeMode : uint8_t { kPieceSize = 0, kDivisions = 1 };

// The four numbers of the piece-size dialog as entered (text that is no number reads 0).
struct PieceSizeChoice {
    PieceSizeMode mode = PieceSizeMode::kPieceSize;
    uint32_t pieceWidth = 16;
    uint32_t pieceHeight = 16;
    uint32_t columns = 16;
    uint32_t rows = 16;
};

struct PieceSizeDecision {
    bool accepted = false;
    int32_t pieceWidth = 0;
    int32_t pieceHeight = 0;
    // The refusal shown with the caption kPieceSizeRefusalCaption; empty when accepted.
    std::string_view refusal;
};

inline constexpr std::string_view kPieceSizeRefusalCaption = "エラー";

// The piece size a choice gives for a width × height answer picture, or the reason it is
// refused. Only the lower bound 2 and the picture's size are enforced; divisions give
// trunc(width / across) × trunc(height / down).
PieceSizeDecision DecidePieceSize(const PieceSizeChoice& choice, int32_t width, int32_t height);

// Reads a dialog field as an unsigned number: leading digits, anything else reads 0.
uint32_t ParsePieceSizeField(std::string_view text);

}  // namespace tama05
