#include "cli/command_line_dialogs.h"

#include <charconv>
#include <cstdint>

#include "painter/picture_source.h"

namespace tama05 {

namespace {

std::optional<uint32_t> ParseUnsigned(std::string_view text) {
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<PieceSizeChoice> ParsePieceSizeOption(std::string_view option,
                                                    std::string_view value) {
    const size_t x = value.find_first_of("xX");
    if ((option != "--piece" && option != "--divisions") || x == std::string_view::npos) {
        return std::nullopt;
    }
    const auto a = ParseUnsigned(value.substr(0, x));
    const auto b = ParseUnsigned(value.substr(x + 1));
    if (!a || !b) {
        return std::nullopt;
    }
    PieceSizeChoice choice;
    if (option == "--piece") {
        choice.mode = PieceSizeMode::kPieceSize;
        choice.pieceWidth = *a;
        choice.pieceHeight = *b;
    } else {
        choice.mode = PieceSizeMode::kDivisions;
        choice.columns = *a;
        choice.rows = *b;
    }
    return choice;
}

CommandLineDialogs::CommandLineDialogs(std::filesystem::path answer, std::filesystem::path folder,
                                       PieceSizeChoice choice, MessageSink& messages,
                                       ProgressLine* progress)
    : m_answer(std::move(answer)),
      m_folder(std::move(folder)),
      m_choice(choice),
      m_messages(messages),
      m_progress(progress) {}

int CommandLineDialogs::ChooseAnswerImage(Image& candidate) {
    PictureSourceState state;
    const int result = ReadAnswerFile(m_messages, state, m_answer, candidate);
    if (result != 0 || candidate.empty()) {
        // The readers stay silent on some failures (a damaged painter file, a picture without
        // pixels): the command always names the file.
        m_messages.ShowMessage(
            "答え画像を読み込めませんでした（壊れているか、対応していない形式です）。\n" +
                m_answer.string(),
            "失敗");
        return result != 0 ? result : -1;
    }
    return 0;
}

bool CommandLineDialogs::ChoosePieceFolder(std::filesystem::path& folder) {
    if (m_folder.empty()) {
        return false;
    }
    folder = m_folder;
    return true;
}

bool CommandLineDialogs::ChoosePieceSize(int32_t width, int32_t height, int32_t& pieceWidth,
                                         int32_t& pieceHeight) {
    const PieceSizeDecision decision = DecidePieceSize(m_choice, width, height);
    if (!decision.accepted) {
        m_messages.ShowMessage(decision.refusal, kPieceSizeRefusalCaption);
        return false;
    }
    pieceWidth = decision.pieceWidth;
    pieceHeight = decision.pieceHeight;
    return true;
}

void CommandLineDialogs::ShowFillProgress(int32_t done, int32_t total) {
    if (m_progress == nullptr) {
        return;
    }
    m_progress->Update(done, total);
    if (done == total) {
        m_progress->Finish();
    }
}

}  // namespace tama05
