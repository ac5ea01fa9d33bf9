// Writes the files of bench/bomb-bench: each kind of "bomb" (a few bytes claiming gigabytes)
// from tests/support/bomb_files.h, a small answer picture and piece folder to make a puzzle
// from, and two puzzle-file bombs.
//   tama05-make-bombs FOLDER
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bomb_files.h"
#include "core/bmp_file.h"
#include "core/int_array.h"
#include "core/message_sink.h"
#include "puzzlefile/puzzle_file.h"
#include "test_pictures.h"

namespace {

using tama05::test::Bytes;

void Write(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tama05;
    if (argc != 2) {
        std::fprintf(stderr, "usage: tama05-make-bombs FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder / "pieces");
    std::mt19937 rng(17);
    Write(folder / "answer.bmp", EncodeBmp(test::RandomImage(64, 48, rng)));
    for (int i = 0; i < 4; ++i) {
        Write(folder / "pieces" / ("p" + std::to_string(i) + ".bmp"),
              EncodeBmp(test::RandomImage(16, 16, rng)));
    }
    Write(folder / "png-text.png", test::PngChunkBomb("tEXt"));
    Write(folder / "png-ztxt.png", test::PngChunkBomb("zTXt"));
    Write(folder / "png-itxt.png", test::PngChunkBomb("iTXt"));
    Write(folder / "png-splt.png", test::PngChunkBomb("sPLT"));
    Write(folder / "jpeg-baseline.jpg", test::JpegBomb(false));
    Write(folder / "jpeg-progressive.jpg", test::JpegBomb(true));
    Write(folder / "jpeg-scans.jpg", test::JpegBomb(true, 16384, 16384, 900));
    const Bytes zeros = test::PngZeroBomb(16384, 16384);
    Write(folder / "png-zeros.png", zeros);

    // A puzzle file whose stacked picture claims 16384 × 16384 for a 64 × 48 puzzle.
    NullMessageSink silent;
    IntArray scores;
    scores.AllocateFilled(4 * 3, 0);
    Bytes puzzle;
    const Image answer = test::RandomImage(64, 48, rng);
    EncodePuzzleFile(answer, answer, 16, 16, 0, scores, 0, silent, puzzle);
    const size_t png = test::FindPngStart(puzzle);
    puzzle.resize(png);
    puzzle.insert(puzzle.end(), zeros.begin(), zeros.end());
    Write(folder / "tgr-picture.tgr", puzzle);
    // A sparse 2 GB file with a wrong magic.
    Write(folder / "tgr-magic.tgr", Bytes{'x', 'g', 'r', ' ', 'f', 'i', 'l', 'e'});
    if (::truncate((folder / "tgr-magic.tgr").c_str(), int64_t{2} << 30) != 0) {
        return 1;
    }
    return 0;
}
