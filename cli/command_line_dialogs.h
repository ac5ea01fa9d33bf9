#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/image.h"
#include "core/message_sink.h"
#include "puzzle/piece_size.h"
#include "puzzle/puzzle_creation.h"

namespace tama05 {

// "--piece WxH" or "--divisions AxB" with its value ("16x12"): the piece-size dialog's choice,
// or nothing when the option is neither or the value is not two unsigned numbers.
std::optional<PieceSizeChoice> ParsePieceSizeOption(std::string_view option,
                                                    std::string_view value);

// The answer, folder and piece size given on the command line, as the new-puzzle dialogs.
class CommandLineDialogs final : public NewPuzzleDialogs {
  public:
    CommandLineDialogs(std::filesystem::path answer, std::filesystem::path folder,
                       PieceSizeChoice choice, MessageSink& messages);

    // Read as the answer dialog's first filter does: item, painter, canvas or picture.
    int ChooseAnswerImage(Image& candidate) override;
    // The given folder; an empty one counts as cancelled (the previous folder stays).
    bool ChoosePieceFolder(std::filesystem::path& folder) override;
    bool ChoosePieceSize(int32_t width, int32_t height, int32_t& pieceWidth,
                         int32_t& pieceHeight) override;

  private:
    std::filesystem::path m_answer;
    std::filesystem::path m_folder;
    PieceSizeChoice m_choice;
    MessageSink& m_messages;
};

}  // namespace tama05
