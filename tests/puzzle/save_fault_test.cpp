// Saves that are cut short: the process killed in the middle of a save, and a write that fails
// as on a full disk. The puzzle file on disk must stay whole and readable either way, and a
// failed save must leave the puzzle marked as changed.
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/message_sink.h"
#include "puzzle/puzzle.h"
#include "puzzle/puzzle_io.h"
#include "puzzlefile/puzzle_file.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

// A ready puzzle of width × height random pixels in 16 × 16 pieces, every cell scored score.
void MakeRandomPuzzle(Puzzle& puzzle, int32_t width, int32_t height, int32_t score, uint32_t seed) {
    std::mt19937 rng(seed);
    puzzle.AnswerImage = test::RandomImage(width, height, rng);
    puzzle.MosaicCanvas = test::RandomImage(width, height, rng);
    puzzle.pieceWidth = 16;
    puzzle.pieceHeight = 16;
    puzzle.PieceScores.AllocateFilled(puzzle.grid().cellCount(), score);
    puzzle.PuzzleScore = score;
    puzzle.state = PuzzleState::kReady;
    puzzle.saveState = SaveState::kChanged;
}

// The save command's rule: only a save that succeeded marks the puzzle saved.
int SaveAndMark(Puzzle& puzzle, const std::filesystem::path& path, MessageSink& messages) {
    if (SavePuzzle(puzzle, path, messages) != 0) {
        return -1;
    }
    puzzle.saveState = SaveState::kSaved;
    return 0;
}

bool SameMosaic(const PuzzleFileData& data, const Puzzle& puzzle) {
    const Image& a = data.canvas;
    const Image& b = puzzle.MosaicCanvas;
    if (a.width() != b.width() || a.height() != b.height()) {
        return false;
    }
    for (int32_t r = 0; r < a.height(); ++r) {
        if (!std::equal(a.row(r), a.row(r) + 3 * a.width(), b.row(r))) {
            return false;
        }
    }
    return true;
}

// The descriptor on which a saving child tells the test how far it got: kCutByte from inside
// a write stopped by its file size limit, kSavedByte after a whole save.
constexpr int kReportFd = 100;
constexpr char kCutByte = 'c';
constexpr char kSavedByte = 's';

// Runs on the child's SIGXFSZ: its save has written up to the limit and the next write was
// refused, so the save is stopped in the middle of its write. Tells the test and waits there.
void ReportCutAndStay(int) {
    const char cut = kCutByte;
    (void)!::write(kReportFd, &cut, 1);
    for (;;) {
        ::pause();
    }
}

// The names in folder.
std::vector<std::string> Entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// Where a round kills the saving child.
enum class Kill {
    kInTheWrite,    // stopped inside the write, after a random number of bytes
    kAsItStarts,    // as soon as it starts saving, mostly while the file is being encoded
    kAfterTheSave,  // after a whole save
    kAnyMoment,     // after a random pause, while it saves again and again
};

TEST(SaveFault, KillingTheProcessMidSaveLeavesTheOldOrTheNewFileWhole) {
    test::TempFolder folder;
    const auto path = folder.path() / "big.tgr";
    Puzzle first;
    Puzzle second;
    // About 3 MB of poorly compressible pixels: each save takes a while to write.
    MakeRandomPuzzle(first, 640, 480, 11, 1);
    MakeRandomPuzzle(second, 640, 480, 77, 2);
    NullMessageSink messages;
    ASSERT_EQ(SaveAndMark(second, path, messages), 0);
    const auto smallest = std::filesystem::file_size(path);
    ASSERT_EQ(SaveAndMark(first, path, messages), 0);
    const auto size = std::min(smallest, std::filesystem::file_size(path));

    std::mt19937 rng(std::random_device{}());
    std::uniform_int_distribution<rlim_t> cutAt(1, size - 1);
    std::uniform_int_distribution<int> anyMomentMs(5, 600);
    const Kill rounds[] = {Kill::kInTheWrite,   Kill::kAsItStarts,   Kill::kInTheWrite,
                           Kill::kAfterTheSave, Kill::kInTheWrite,   Kill::kAnyMoment,
                           Kill::kInTheWrite,   Kill::kAfterTheSave, Kill::kInTheWrite,
                           Kill::kAnyMoment};
    int32_t onDisk = 11;
    for (size_t round = 0; round < std::size(rounds); ++round) {
        const Kill kill = rounds[round];
        // The child saves the puzzle that is not on disk.
        const Puzzle& next = onDisk == 11 ? second : first;
        const int32_t nextScore = onDisk == 11 ? 77 : 11;
        const rlim_t limit = cutAt(rng);
        int report[2];
        ASSERT_EQ(::pipe(report), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            NullMessageSink silent;
            ::close(report[0]);
            if (::dup2(report[1], kReportFd) != kReportFd) {
                ::_exit(1);
            }
            if (kill == Kill::kInTheWrite) {
                ::signal(SIGXFSZ, ReportCutAndStay);
                rlimit fileSize{};
                ::getrlimit(RLIMIT_FSIZE, &fileSize);
                fileSize.rlim_cur = limit;
                if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0) {
                    ::_exit(1);
                }
            }
            if (kill == Kill::kAsItStarts) {
                (void)!::write(kReportFd, &kSavedByte, 1);
            }
            for (int i = 0;; ++i) {
                SavePuzzle(i % 2 == 0 ? next : (onDisk == 11 ? first : second), path, silent);
                if (kill == Kill::kAfterTheSave) {
                    (void)!::write(kReportFd, &kSavedByte, 1);
                    for (;;) {
                        ::pause();
                    }
                }
            }
        }
        ::close(report[1]);
        char got = 0;
        if (kill == Kill::kAnyMoment) {
            std::this_thread::sleep_for(std::chrono::milliseconds(anyMomentMs(rng)));
        } else {
            // A generous deadline: the save takes well under a second even when sanitized.
            pollfd wait{report[0], POLLIN, 0};
            EXPECT_EQ(::poll(&wait, 1, 120 * 1000), 1) << "round " << round;
            EXPECT_EQ(::read(report[0], &got, 1), 1) << "round " << round;
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(report[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round;

        PuzzleFileData data;
        ASSERT_EQ(ReadPuzzleFile(messages, path, data), 0) << "round " << round;
        ASSERT_TRUE(data.score == 11 || data.score == 77) << data.score;
        EXPECT_TRUE(SameMosaic(data, data.score == 11 ? first : second)) << "round " << round;
        if (kill == Kill::kInTheWrite) {
            // The child stopped with `limit` of the new file's bytes written: the old file stays.
            EXPECT_EQ(got, kCutByte) << "round " << round;
            EXPECT_EQ(data.score, onDisk) << "round " << round << ", cut at " << limit;
        } else if (kill == Kill::kAfterTheSave) {
            EXPECT_EQ(got, kSavedByte) << "round " << round;
            EXPECT_EQ(data.score, nextScore) << "round " << round;
        }
        onDisk = data.score;
    }
    // A save after the kills still works, replaces the file and leaves nothing else behind:
    // temporaries of killed saves either never had a name or are removed by this save.
    Puzzle third;
    MakeRandomPuzzle(third, 64, 48, 42, 3);
    ASSERT_EQ(SaveAndMark(third, path, messages), 0);
    PuzzleFileData data;
    ASSERT_EQ(ReadPuzzleFile(messages, path, data), 0);
    EXPECT_EQ(data.score, 42);
    EXPECT_EQ(Entries(folder.path()), std::vector<std::string>{"big.tgr"});
}

// Runs body in a child process and returns its exit status (or -signal when it was killed).
template <typename F>
int RunInChild(F body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

TEST(SaveFault, AWriteFailingForAFullDiskKeepsTheOldFileAndThePuzzleUnsaved) {
    test::TempFolder folder;
    const auto path = folder.path() / "keep.tgr";
    Puzzle old;
    MakeRandomPuzzle(old, 64, 48, 23, 4);
    NullMessageSink messages;
    ASSERT_EQ(SaveAndMark(old, path, messages), 0);
    const auto oldSize = std::filesystem::file_size(path);

    // The child may write no file larger than 64 KB, so the save's writes fail part way with
    // EFBIG exactly as they would with ENOSPC on a full disk.
    const int status = RunInChild([&path] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 10;
        }
        Puzzle big;
        MakeRandomPuzzle(big, 400, 300, 90, 5);
        RecordingMessageSink shown;
        if (SaveAndMark(big, path, shown) != -1) {
            return 1;
        }
        if (big.saveState != SaveState::kChanged) {
            return 2;
        }
        // The file opened; its write failed, and the system's reason follows the message.
        if (shown.messages.size() != 1 ||
            shown.messages[0].text !=
                "ファイルオープンに失敗しました。SAVE_TGR\n" + SystemErrorText(EFBIG)) {
            return 3;
        }
        return 0;
    });
    ASSERT_NE(status, 10) << "the file size limit could not be set";
    EXPECT_EQ(status, 0);

    PuzzleFileData data;
    ASSERT_EQ(ReadPuzzleFile(messages, path, data), 0);
    EXPECT_EQ(data.score, 23);
    EXPECT_TRUE(SameMosaic(data, old));
    EXPECT_EQ(std::filesystem::file_size(path), oldSize);
    // Nothing is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(SaveFault, ASaveIntoAFolderThatVanishedFailsAndKeepsThePuzzleUnsaved) {
    test::TempFolder folder;
    const auto gone = folder.path() / "gone";
    std::filesystem::create_directory(gone);
    Puzzle puzzle;
    MakeRandomPuzzle(puzzle, 32, 32, 50, 6);
    std::filesystem::remove(gone);
    RecordingMessageSink messages;
    EXPECT_EQ(SaveAndMark(puzzle, gone / "p.tgr", messages), -1);
    EXPECT_EQ(puzzle.saveState, SaveState::kChanged);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "失敗");
}

}  // namespace
}  // namespace tama05
