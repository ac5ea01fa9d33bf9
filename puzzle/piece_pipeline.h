#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "core/image.h"
#include "core/message_sink.h"

namespace tama05 {

// Reads one dropped file into a picture: 0 when the picture is usable, non-zero to skip the file.
// Its messages go to the sink it is given. It may be called on several threads at once, so it
// changes no state shared between calls.
using PictureSourceReader =
    std::function<int(const std::filesystem::path&, Image&, MessageSink&)>;

// Reads the files of a drop and shrinks each to the piece size on helper threads, ahead of the
// matcher, which takes the pieces strictly in drop order. At most a few files are in flight at a
// time, and a decoded picture is released as soon as its piece is made, so memory stays bounded
// by one full picture per helper thread. Each file's messages are kept with its piece and
// handed over in drop order. With no helper threads every file is read when it is taken.
class PiecePipeline {
public:
    PiecePipeline(std::span<const std::filesystem::path> files, PictureSourceReader reader,
                  int32_t pieceWidth, int32_t pieceHeight, int threads);
    ~PiecePipeline();
    PiecePipeline(const PiecePipeline&) = delete;
    PiecePipeline& operator=(const PiecePipeline&) = delete;

    // The piece of file index (taken in increasing order, each once): true with the piece in
    // out, false when the file is to be skipped. The file's messages go to messages first.
    bool Take(size_t index, Image& out, MessageSink& messages);

    // The number of helper threads worth running on this machine.
    static int DefaultThreads();

private:
    struct Slot {
        bool done = false;
        bool usable = false;
        Image piece;
        RecordingMessageSink messages;
    };

    // Reads and shrinks one file into its slot's fields.
    void Produce(size_t index, Slot& slot) const;
    void HelperLoop();

    std::span<const std::filesystem::path> m_files;
    PictureSourceReader m_reader;
    int32_t m_pieceWidth;
    int32_t m_pieceHeight;
    size_t m_window;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Slot> m_slots;
    size_t m_nextToProduce = 0;
    size_t m_taken = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_helpers;
};

}  // namespace tama05
