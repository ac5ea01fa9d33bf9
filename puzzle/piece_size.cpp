#include "puzzle/piece_size.h"

namespace tama05 {

PieceSizeDecision DecidePieceSize(const PieceSizeChoice& choice, int32_t width, int32_t height) {
    PieceSizeDecision decision;
    if (choice.mode == PieceSizeMode::kPieceSize) {
        const uint32_t w = choice.pieceWidth;
        const uint32_t h = choice.pieceHeight;
        if (w < 2 || h < 2) {
            decision.refusal = "ピースサイズをもっと大きくしてください。";
        } else if (width < 0 || height < 0 || w > static_cast<uint32_t>(width) ||
                   h > static_cast<uint32_t>(height)) {
            decision.refusal = "ピースサイズは画像サイズよりも小さい値にしてください。";
        } else {
            decision.accepted = true;
            decision.pieceWidth = static_cast<int32_t>(w);
            decision.pieceHeight = static_cast<int32_t>(h);
        }
        return decision;
    }
    const uint32_t across = choice.columns;
    const uint32_t down = choice.rows;
    if (across < 2 || down < 2) {
        decision.refusal = "もっと分割数を大きくしてください。";
        return decision;
    }
    const int64_t w = width / static_cast<int64_t>(across);
    const int64_t h = height / static_cast<int64_t>(down);
    if (w < 2 || h < 2) {
        decision.refusal = "もっと分割数を小さくしてください。";
        return decision;
    }
    decision.accepted = true;
    decision.pieceWidth = static_cast<int32_t>(w);
    decision.pieceHeight = static_cast<int32_t>(h);
    return decision;
}

uint32_t ParsePieceSizeField(std::string_view text) {
    // Like the platform's number field: optional surrounding blanks, digits only; more than
    // fits reads 0 as well.
    size_t begin = text.find_first_not_of(" \t");
    size_t end = text.find_last_not_of(" \t");
    if (begin == std::string_view::npos) {
        return 0;
    }
    text = text.substr(begin, end - begin + 1);
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > UINT32_MAX) {
            return 0;
        }
    }
    return static_cast<uint32_t>(value);
}

}  // namespace tama05
