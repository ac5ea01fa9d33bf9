#include "cli/puzzle_summary.h"

#include <cstdio>

#include "puzzle/matching.h"
#include "puzzle/puzzle_io.h"

namespace tama05 {

bool LoadPuzzle(const std::filesystem::path& path, Puzzle& puzzle, int32_t& version,
                MessageSink& messages) {
    if (OpenPuzzleFile(puzzle, path, messages, {}, &version) != 0) {
        messages.ShowMessage("TGRファイルオープンに失敗しました。", "失敗");
        return false;
    }
    puzzle.saveState = SaveState::kSaved;
    puzzle.fileName = path;
    return true;
}

Json PuzzleSummaryJson(const Puzzle& puzzle, int32_t version) {
    const Grid grid = puzzle.grid();
    Json json;
    json["version"] = version;
    json["width"] = puzzle.AnswerImage.width();
    json["height"] = puzzle.AnswerImage.height();
    json["piece_width"] = puzzle.pieceWidth;
    json["piece_height"] = puzzle.pieceHeight;
    json["columns"] = grid.columns;
    json["rows"] = grid.rows;
    json["blend"] = puzzle.BlendValue;
    json["scores"] = Json::array();
    for (int32_t s : puzzle.PieceScores) {
        json["scores"].push_back(s);
    }
    json["score"] = puzzle.PuzzleScore;
    json["mean"] = JsonNumber(MeanPieceScore(puzzle.PieceScores));
    return json;
}

void PrintPuzzleSummary(std::ostream& out, const Puzzle& puzzle, int32_t version) {
    const Grid grid = puzzle.grid();
    char mean[32];
    std::snprintf(mean, sizeof mean, "%3.3f", MeanPieceScore(puzzle.PieceScores));
    out << "version " << version << '\n'
        << "size " << puzzle.AnswerImage.width() << " x " << puzzle.AnswerImage.height() << '\n'
        << "piece " << puzzle.pieceWidth << " x " << puzzle.pieceHeight << '\n'
        << "cells " << grid.columns << " x " << grid.rows << " = " << grid.cellCount() << '\n'
        << "blend " << puzzle.BlendValue << '\n'
        << "score " << puzzle.PuzzleScore << " (" << mean << ")\n";
}

}  // namespace tama05
