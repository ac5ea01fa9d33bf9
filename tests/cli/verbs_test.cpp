// tama05-cli end to end: the real program on pictures written by the test.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "cli_run.h"
#include "core/atomic_file.h"
#include "core/bmp_file.h"
#include "core/file_lock.h"
#include "core/image_file.h"
#include "core/message_sink.h"
#include "core/png_file.h"
#include "painter_writer.h"
#include "picture_writers.h"
#include "puzzlefile/puzzle_file.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::CliRun;

class CliTest : public ::testing::Test {
  protected:
    test::CliRun Cli(const std::vector<std::string>& args) {
        return test::RunCli(args, folder.path());
    }

    std::string Path(const std::string& name) const { return (folder.path() / name).string(); }

    void WriteBmp(const std::string& name, const Image& image) {
        ASSERT_EQ(WriteFileAtomically(folder.path() / name, EncodeBmp(image)), 0);
    }
    void WritePng(const std::string& name, const Image& image) {
        NullMessageSink quiet;
        ASSERT_EQ(WritePngFile(quiet, folder.path() / name, image, nullptr), 0);
    }

    // A 20 × 12 answer and a folder of six solid pieces.
    void MakeSampleInput() {
        std::filesystem::create_directory(folder.path() / "pieces");
        WritePng("answer.png", test::SolidImage(20, 12, 100, 150, 200));
        for (int i = 0; i < 3; ++i) {
            const auto v = static_cast<uint8_t>(40 * i);
            WritePng("pieces/p" + std::to_string(i) + ".png", test::SolidImage(8, 8, v, v, v));
            WriteBmp("pieces/b" + std::to_string(i) + ".bmp",
                     test::SolidImage(9, 7, v, static_cast<uint8_t>(v + 10), v));
        }
    }

    test::TempFolder folder;
};

TEST_F(CliTest, NewMakesAPuzzleFromTheFolder) {
    MakeSampleInput();
    const CliRun run = Cli({"new", Path("answer.png"), Path("pieces"), "--piece", "4x4", "-o",
                            Path("a.tgr"), "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* key : {"\"version\":1", "\"width\":20", "\"height\":12", "\"piece_width\":4",
                            "\"piece_height\":4", "\"columns\":5", "\"rows\":3", "\"blend\":255",
                            "\"scores\":[", "\"score\":", "\"mean\":"}) {
        EXPECT_NE(run.out.find(key), std::string::npos) << key << " in " << run.out;
    }
    // Bitmaps come before PNG files.
    EXPECT_NE(run.out.find("\"pieces\":[\"b0.bmp\",\"b1.bmp\",\"b2.bmp\",\"p0.png\",\"p1.png\","
                           "\"p2.png\"]"),
              std::string::npos)
        << run.out;
    NullMessageSink quiet;
    PuzzleFileData data;
    ASSERT_EQ(ReadPuzzleFile(quiet, Path("a.tgr"), data), 0);
    EXPECT_EQ(data.scores.count(), 15);

    const CliRun limited = Cli({"new", Path("answer.png"), Path("pieces"), "--divisions", "2x2",
                                "--max-pieces", "2", "-o", Path("b.tgr"), "--json"});
    ASSERT_EQ(limited.status, 0) << limited.err;
    EXPECT_NE(limited.out.find("\"piece_width\":10,\"piece_height\":6"), std::string::npos);
    EXPECT_NE(limited.out.find("\"pieces\":[\"b0.bmp\",\"b1.bmp\"]"), std::string::npos);
}

TEST_F(CliTest, RefusalsAndUsageErrors) {
    MakeSampleInput();
    const CliRun tooSmall =
        Cli({"new", Path("answer.png"), Path("pieces"), "--piece", "1x4", "-o", Path("a.tgr")});
    EXPECT_EQ(tooSmall.status, 1);
    EXPECT_NE(tooSmall.err.find("エラー: ピースサイズをもっと大きくしてください。"),
              std::string::npos)
        << tooSmall.err;
    EXPECT_FALSE(std::filesystem::exists(Path("a.tgr")));

    const CliRun noAnswer =
        Cli({"new", Path("missing.png"), Path("pieces"), "--piece", "4x4", "-o", Path("a.tgr")});
    EXPECT_EQ(noAnswer.status, 1);

    const CliRun emptyFolder = Cli({"new", Path("answer.png"), folder.path().string() + "/nothing",
                                    "--piece", "4x4", "-o", Path("a.tgr")});
    EXPECT_EQ(emptyFolder.status, 1);
    EXPECT_NE(emptyFolder.err.find("エラー: フォルダ内に画像ファイル"), std::string::npos);

    EXPECT_EQ(Cli({}).status, 2);
    EXPECT_EQ(Cli({"frobnicate"}).status, 2);
    EXPECT_EQ(Cli({"new", Path("answer.png"), Path("pieces"), "-o", Path("a.tgr")}).status, 2);
    EXPECT_EQ(Cli({"new", Path("answer.png"), Path("pieces"), "--piece", "4", "-o", Path("a.tgr")})
                  .status,
              2);
    EXPECT_EQ(Cli({"new", Path("answer.png"), Path("pieces"), "--piece", "4x4", "--max-pieces",
                   "129", "-o", Path("a.tgr")})
                  .status,
              2);
    EXPECT_EQ(Cli({"drop", Path("a.tgr")}).status, 2);
    EXPECT_EQ(Cli({"export", Path("a.tgr"), Path("x.gif")}).status, 2);
    EXPECT_EQ(Cli({"export", Path("a.tgr"), Path("x.png"), "--blend", "256"}).status, 2);
}

// A drop holds the puzzle file's lock from reading to saving: with --no-wait it fails at once
// while another holds it, and without it waits, saving only after the holder lets go. A new
// puzzle whose answer cannot be read names the file.
TEST_F(CliTest, DropsTakeTheFileLockAndFailuresNameTheFile) {
    MakeSampleInput();
    ASSERT_EQ(
        Cli({"new", Path("answer.png"), Path("pieces"), "--piece", "4x4", "-o", Path("a.tgr")})
            .status,
        0);
    WritePng("exact.png", test::SolidImage(5, 5, 100, 150, 200));
    FileLock held;
    ASSERT_EQ(held.Lock(Path("a.tgr"), true), FileLock::Result::kLocked);
    const CliRun busy = Cli({"drop", Path("a.tgr"), Path("exact.png"), "--no-wait"});
    EXPECT_EQ(busy.status, 1);
    EXPECT_NE(busy.err.find("パズルファイルは他のプログラムが使用中です。"), std::string::npos)
        << busy.err;
    const auto before = std::filesystem::last_write_time(Path("a.tgr"));
    FILE* waiting = ::popen(
        (test::ShellQuote(std::string(TAMA05_PROGRAM_DIR) + "/tama05-cli") + " drop " +
         test::ShellQuote(Path("a.tgr")) + " " + test::ShellQuote(Path("exact.png")) + " 2>&1")
            .c_str(),
        "r");
    ASSERT_NE(waiting, nullptr);
    // Whatever the waiting command has done so far, it cannot have saved.
    EXPECT_EQ(std::filesystem::last_write_time(Path("a.tgr")), before);
    held.Unlock();
    std::string output;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, waiting)) > 0;) {
        output.append(buffer, n);
    }
    const int status = ::pclose(waiting);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    EXPECT_NE(std::filesystem::last_write_time(Path("a.tgr")), before);

    test::BmpForm empty;
    empty.width = 0;
    std::ofstream(Path("zero.bmp"), std::ios::binary)
        .write(reinterpret_cast<const char*>(test::MakeBmp(empty).data()), 54);
    for (const char* answer : {"zero.bmp", "broken.esi"}) {
        if (std::string(answer) == "broken.esi") {
            std::ofstream(Path(answer)) << "esi file 0a" << std::string(40, '\0');
        }
        const CliRun run =
            Cli({"new", Path(answer), Path("pieces"), "--piece", "4x4", "-o", Path("n.tgr")});
        EXPECT_EQ(run.status, 1) << answer;
        EXPECT_NE(run.err.find(Path(answer)), std::string::npos) << answer << run.err;
    }
}

TEST_F(CliTest, DropReportsWhatItDid) {
    MakeSampleInput();
    ASSERT_EQ(
        Cli({"new", Path("answer.png"), Path("pieces"), "--piece", "4x4", "-o", Path("a.tgr")})
            .status,
        0);
    WritePng("exact.png", test::SolidImage(5, 5, 100, 150, 200));
    std::ofstream(Path("notes.txt")) << "not a picture";
    const CliRun run = Cli({"drop", Path("a.tgr"), Path("exact.png"), Path("notes.txt"),
                            Path("gone.jpg"), "--seed", "7", "-o", Path("b.tgr"), "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("{\"files\":3,\"processed\":1,\"skipped\":[", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\"ignored\":0,\"changed\":15,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"score\":100,\"comment\":\"CommentScoreUp\",\"report\":["),
              std::string::npos)
        << run.out;

    const CliRun info = Cli({"info", Path("b.tgr"), "--json"});
    ASSERT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("\"score\":100,\"mean\":100}"), std::string::npos) << info.out;

    // The same seed replays the same comment choice.
    const CliRun again = Cli(
        {"drop", Path("a.tgr"), Path("exact.png"), "--seed", "7", "-o", Path("c.tgr"), "--json"});
    EXPECT_NE(again.out.find("CommentScoreUp"), std::string::npos);
}

TEST_F(CliTest, MoreThan256FilesWarnOnly) {
    MakeSampleInput();
    ASSERT_EQ(
        Cli({"new", Path("answer.png"), Path("pieces"), "--piece", "4x4", "-o", Path("a.tgr")})
            .status,
        0);
    std::vector<std::string> args = {"drop", Path("a.tgr"), "--json"};
    for (int i = 0; i < 257; ++i) {
        args.push_back(Path("pieces/p0.png"));
    }
    const CliRun run = Cli(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"files\":257,\"processed\":256,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"ignored\":1,"), std::string::npos);
    EXPECT_NE(run.out.find("\"comment\":\"CommentTooManyFiles\""), std::string::npos);
}

TEST_F(CliTest, ExportsAndThumbnail) {
    MakeSampleInput();
    ASSERT_EQ(
        Cli({"new", Path("answer.png"), Path("pieces"), "--piece", "4x4", "-o", Path("a.tgr")})
            .status,
        0);
    for (const char* name : {"e.jpg", "e.JPEG", "e.png", "e.Bmp"}) {
        const CliRun run = Cli({"export", Path("a.tgr"), Path(name), "--blend", "0"});
        EXPECT_EQ(run.status, 0) << name << run.err;
        Image image;
        NullMessageSink quiet;
        std::filesystem::path target = Path(name);
        EXPECT_TRUE(std::filesystem::exists(target)) << name;
    }
    // At blend 0 the export is the answer itself.
    Image exported;
    NullMessageSink quiet;
    ASSERT_EQ(LoadImageFile(quiet, Path("e.png"), exported), 0);
    EXPECT_EQ(test::BlueAt(exported, 3, 3), 100);

    ASSERT_EQ(Cli({"thumbnail", Path("a.tgr"), Path("t.png")}).status, 0);
    Image thumbnail;
    ASSERT_EQ(LoadImageFile(quiet, Path("t.png"), thumbnail), 0);
    EXPECT_EQ(thumbnail.width(), 120);
    EXPECT_EQ(thumbnail.height(), 110);
    EXPECT_EQ(Cli({"thumbnail", Path("a.tgr"), Path("t.bmp")}).status, 0);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// mosaic gives, byte for byte, what new from a folder holding the first ten tiles, drops of the
// other tiles (at most 256 each, the same seed) and export at blend 255 give. Two named files
// come first (the fill takes the bitmap first), then a folder whose bitmaps list before its PNG
// files; its hidden picture, its sub-folder, its text file and its link out of it are not tiles.
TEST_F(CliTest, MosaicEqualsNewDropsAndExport) {
    std::mt19937 rng(22);
    for (const char* dir : {"extra", "tiles", "tiles/sub", "first"}) {
        std::filesystem::create_directory(folder.path() / dir);
    }
    // The answer's two left columns of cells are one colour, which two equal tiles match
    // exactly: the fill gives them to the one the folder lists first, and no drop beats it.
    Image answer = test::RandomImage(40, 24, rng);
    for (int32_t y = 0; y < 24; ++y) {
        std::fill_n(answer.rowFromTop(y), 8 * 3, uint8_t{90});
    }
    WritePng("answer.png", answer);
    WritePng("extra/z.png", test::SolidImage(5, 6, 90, 90, 90));
    WriteBmp("extra/a.bmp", test::SolidImage(7, 3, 90, 90, 90));
    std::vector<std::string> tiles = {Path("extra/z.png"), Path("extra/a.bmp")};
    char name[32];
    for (const bool bitmap : {true, false}) {
        for (int i = 0; i < 140; ++i) {
            std::snprintf(name, sizeof name, bitmap ? "tiles/b%03d.bmp" : "tiles/p%03d.png", i);
            const Image tile = test::RandomImage(3 + i % 5, 2 + i % 7, rng);
            bitmap ? WriteBmp(name, tile) : WritePng(name, tile);
            tiles.push_back(Path(name));
        }
    }
    WritePng("tiles/.hidden.png", test::SolidImage(4, 4, 0, 0, 0));
    WritePng("tiles/sub/s.png", test::SolidImage(4, 4, 0, 0, 0));
    std::ofstream(Path("tiles/notes.txt")) << "not a tile";
    std::filesystem::create_symlink(Path("extra/z.png"), Path("tiles/outside.png"));

    const CliRun mosaic =
        Cli({"mosaic", Path("answer.png"), Path("extra/z.png"), Path("extra/a.bmp"), Path("tiles"),
             "--piece", "4x4", "-o", Path("m.png"), "--seed", "5", "--json"});
    ASSERT_EQ(mosaic.status, 0) << mosaic.err;
    ASSERT_EQ(Cli({"mosaic", Path("answer.png"), Path("extra/z.png"), Path("extra/a.bmp"),
                   Path("tiles"), "--piece", "4x4", "-o", Path("m.tgr"), "--seed", "5"})
                  .status,
              0);

    for (size_t i = 0; i < 10; ++i) {
        const std::filesystem::path tile = tiles[i];
        std::filesystem::copy_file(tile, folder.path() / "first" / tile.filename());
    }
    ASSERT_EQ(Cli({"new", Path("answer.png"), Path("first"), "--piece", "4x4", "-o", Path("f.tgr")})
                  .status,
              0);
    int changed = 0;
    for (size_t first = 10; first < tiles.size(); first += 256) {
        std::vector<std::string> drop = {"drop", Path("f.tgr")};
        drop.insert(drop.end(), tiles.begin() + static_cast<ptrdiff_t>(first),
                    tiles.begin() + static_cast<ptrdiff_t>(std::min(first + 256, tiles.size())));
        drop.insert(drop.end(), {"--seed", "5", "--json"});
        const CliRun run = Cli(drop);
        ASSERT_EQ(run.status, 0) << run.err;
        changed += std::stoi(run.out.substr(run.out.find("\"changed\":") + 10));
    }
    ASSERT_EQ(Cli({"export", Path("f.tgr"), Path("f.png"), "--blend", "255"}).status, 0);

    EXPECT_EQ(ReadAll(Path("m.png")), ReadAll(Path("f.png")));
    EXPECT_EQ(ReadAll(Path("m.tgr")), ReadAll(Path("f.tgr")));
    EXPECT_NE(mosaic.out.find("\"files\":272,\"processed\":272,\"skipped\":[],\"ignored\":0,"
                              "\"changed\":" +
                              std::to_string(changed) + ","),
              std::string::npos)
        << mosaic.out;
    // Every tile is listed once, in order, and every one of the 60 cells is held by one tile.
    size_t at = 0;
    std::vector<int> held(60, 0);
    for (const std::string& tile : tiles) {
        at = mosaic.out.find("{\"path\":\"" + tile + "\",\"cells\":[", at);
        ASSERT_NE(at, std::string::npos) << tile;
        at = mosaic.out.find('[', at) + 1;
        for (size_t end = mosaic.out.find(']', at); at < end;) {
            size_t used = 0;
            ++held.at(static_cast<size_t>(std::stoi(mosaic.out.substr(at), &used)));
            at += used + (mosaic.out[at + used] == ',' ? 1 : 0);
        }
    }
    EXPECT_EQ(held, std::vector<int>(60, 1));
    EXPECT_NE(mosaic.out.find("a.bmp\",\"cells\":[0,1,"), std::string::npos);
    EXPECT_NE(mosaic.out.find("z.png\",\"cells\":[]"), std::string::npos);
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The sibling program's files are picture sources too: an item as the answer, a painter file
// dropped as a piece.
TEST_F(CliTest, PainterAndItemFilesArePictureSources) {
    MakeSampleInput();
    test::painter::ItemForm item;
    item.picture = test::painter::RawPlainBlock(std::vector<uint8_t>(50 * 50 * 3, 90));
    WriteBytes(Path("answer.itm"), test::painter::MakeItemFile(item));
    const CliRun fromItem = Cli({"new", Path("answer.itm"), Path("pieces"), "--piece", "10x10",
                                 "-o", Path("item.tgr"), "--json"});
    ASSERT_EQ(fromItem.status, 0) << fromItem.err;
    EXPECT_NE(fromItem.out.find("\"width\":50,\"height\":50"), std::string::npos) << fromItem.out;

    test::painter::PainterForm painter;
    painter.picture = test::painter::RawPlainBlock(std::vector<uint8_t>(100 * 100 * 3, 90));
    WriteBytes(Path("brush.esi"), test::painter::MakePainterFile(painter));
    const CliRun drop = Cli({"drop", Path("item.tgr"), Path("brush.esi"), "--json"});
    ASSERT_EQ(drop.status, 0) << drop.err;
    EXPECT_NE(drop.out.find("\"processed\":1,\"skipped\":[]"), std::string::npos) << drop.out;
    EXPECT_NE(drop.out.find("\"changed\":25,"), std::string::npos) << drop.out;
}

TEST_F(CliTest, CorruptPuzzlesFail) {
    std::ofstream(Path("bad.tgr")) << "tgr file 01 but nothing else";
    const CliRun run = Cli({"info", Path("bad.tgr")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("失敗: TGRファイルオープンに失敗しました。"), std::string::npos)
        << run.err;
    std::ofstream(Path("text.tgr")) << "hello";
    const CliRun notPuzzle = Cli({"info", Path("text.tgr")});
    EXPECT_EQ(notPuzzle.status, 1);
    EXPECT_NE(notPuzzle.err.find("失敗: TGRファイルではありません。READ_TGR"), std::string::npos);
}

}  // namespace
}  // namespace tama05
