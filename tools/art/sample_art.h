#pragma once

// Sample content for a first game: an answer picture and a folder of varied piece pictures in
// the three formats the game reads (24-bit BMP, JPEG, 8-bit RGB PNG).

#include <QImage>

#include <filesystem>
#include <string>

namespace tama05::art {

inline constexpr int kSamplePieceCount = 320;

// A colourful landscape, width × height.
QImage DrawAnswerScene(int width, int height);

// Piece number index (0-based): a small picture of one of several kinds, in many hues.
QImage DrawPiece(int index);

// Writes a 24-bit uncompressed bottom-up BMP.
bool WriteBmp24(const QImage& image, const std::filesystem::path& path, std::string& error);

// Writes samples/answer_scene.png and samples/pieces/piece_NNN.{bmp,jpg,png}.
bool WriteSamples(const std::filesystem::path& programDir, std::string& error);

}  // namespace tama05::art
