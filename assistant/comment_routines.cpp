#include "assistant/comment_routines.h"

namespace tama05 {
namespace {

// The two pictures of one character for one row; a missing file leaves its Image empty.
struct CharacterPictures {
    Image picture;
    Image partner;
};

CharacterPictures LoadCharacterPictures(const CommentEnvironment& environment,
                                        CommentCharacter character, std::string_view mood,
                                        std::string_view partnerMood, const Image& base) {
    CharacterPictures pictures;
    LoadCommentPicture(environment.loadPicture, environment.pictureFolder,
                       CommentPictureFileName(character, mood), pictures.picture, base);
    if (!partnerMood.empty()) {
        LoadCommentPicture(environment.loadPicture, environment.pictureFolder,
                           CommentPictureFileName(character, partnerMood), pictures.partner, base);
    }
    return pictures;
}

// MESSAGE1's lines, the mascot's pictures and the settings of POINT_DISP and MESSAGE1.
CharacterPictures PrepareMascot(const CommentEnvironment& environment, const CommentVariant& row,
                                int value) {
    CommentScreen& screen = environment.screen;
    screen.SetPanelLines(CommentPanel::MESSAGE1, FormatCommentLine(row.mascotLine1, value),
                         FormatCommentLine(row.mascotLine2, value));
    CharacterPictures pictures =
        LoadCharacterPictures(environment, CommentCharacter::kMascot, row.mascotPicture,
                              row.mascotBlinkPartner, environment.scorePictureBase);

    PanelTextParameters score = environment.textSkin.pointDisp;
    score.x += row.scoreOffsetX;
    score.y += row.scoreOffsetY;
    screen.SetPanelTextParameters(CommentPanel::POINT_DISP, score);
    PanelTextParameters message = environment.textSkin.message1;
    message.fontHeight += row.mascotFontChange;
    screen.SetPanelTextParameters(CommentPanel::MESSAGE1, message);
    return pictures;
}

// MESSAGE2's line, the assistant's pictures and the settings of MESSAGE2.
CharacterPictures PrepareAssistant(const CommentEnvironment& environment, const CommentVariant& row,
                                   int value) {
    CommentScreen& screen = environment.screen;
    screen.SetPanelLines(CommentPanel::MESSAGE2, FormatCommentLine(row.assistantLine, value),
                         std::string());
    CharacterPictures pictures =
        LoadCharacterPictures(environment, CommentCharacter::kAssistant, row.assistantPicture,
                              row.assistantBlinkPartner, environment.assistantPictureBase);
    screen.SetPanelTextParameters(CommentPanel::MESSAGE2, environment.textSkin.message2);
    return pictures;
}

void ShowIfLoaded(CommentScreen& screen, CommentPanel panel, const Image& picture) {
    if (!picture.empty()) {
        screen.ShowPanelPicture(panel, picture);
    }
}

// Writes one chosen row to the panels in the order its cast prescribes.
int Speak(const CommentEnvironment& environment, CommentRoutine routine, int row, int value) {
    const CommentVariant& variant = CommentTable(routine)[static_cast<size_t>(row)];
    CommentScreen& screen = environment.screen;
    switch (CommentCastOf(routine)) {
        case CommentCast::kBoth: {
            {
                // Each character's pictures live only until they have been shown.
                const CharacterPictures mascot = PrepareMascot(environment, variant, value);
                screen.BlinkPanelPictures(CommentPanel::POINT_DISP, mascot.picture, mascot.partner);
            }
            {
                const CharacterPictures assistant = PrepareAssistant(environment, variant, value);
                screen.BlinkPanelPictures(CommentPanel::ASSISTANT_DISP, assistant.picture,
                                          assistant.partner);
            }
            screen.InvalidatePanel(CommentPanel::POINT_DISP);
            screen.InvalidatePanel(CommentPanel::MESSAGE1);
            screen.InvalidatePanel(CommentPanel::MESSAGE2);
            break;
        }
        case CommentCast::kMascotOnly: {
            const CharacterPictures mascot = PrepareMascot(environment, variant, value);
            ShowIfLoaded(screen, CommentPanel::POINT_DISP, mascot.picture);
            screen.InvalidatePanel(CommentPanel::POINT_DISP);
            screen.InvalidatePanel(CommentPanel::MESSAGE1);
            break;
        }
        case CommentCast::kAssistantOnly: {
            const CharacterPictures assistant = PrepareAssistant(environment, variant, value);
            ShowIfLoaded(screen, CommentPanel::ASSISTANT_DISP, assistant.picture);
            screen.InvalidatePanel(CommentPanel::MESSAGE2);
            break;
        }
    }
    return row;
}

// One fresh value modulo the table's row count. A table of one row has no choice and leaves
// the shared generator alone, so that the drop worker's later draws are not shifted.
int ChooseRow(const CommentEnvironment& environment, CommentRoutine routine) {
    const int rows = static_cast<int>(CommentTable(routine).size());
    return rows > 1 ? environment.random.Choose(rows) : 0;
}

int SpeakChosenRow(const CommentEnvironment& environment, CommentRoutine routine, int value) {
    return Speak(environment, routine, ChooseRow(environment, routine), value);
}

// Rows 0 and 1 greet a score that reached the answer slider; rows 2 to 9 any other rise.
constexpr int kScoreUpSliderRows = 2;
constexpr int kScoreUpOtherRows = 8;

}  // namespace

std::filesystem::path CommentPictureFolder(const std::filesystem::path& programFolder) {
    return programFolder / "skin";
}

std::string FormatCommentLine(std::string_view format, int value) {
    const size_t at = format.find("%d");
    if (at == std::string_view::npos) {
        return std::string(format);
    }
    std::string line(format.substr(0, at));
    line += std::to_string(value);
    line += format.substr(at + 2);
    return line;
}

int CommentTooManyFiles(const CommentEnvironment& environment) {
    return SpeakChosenRow(environment, CommentRoutine::kTooManyFiles, kTooManyFilesLimit);
}

int CommentStartMascot(const CommentEnvironment& environment) {
    return SpeakChosenRow(environment, CommentRoutine::kStartMascot, 0);
}

int CommentStartAssistant(const CommentEnvironment& environment) {
    return SpeakChosenRow(environment, CommentRoutine::kStartAssistant, 0);
}

int CommentSkinMascot(const CommentEnvironment& environment) {
    return SpeakChosenRow(environment, CommentRoutine::kSkinMascot, 0);
}

int CommentSkinAssistant(const CommentEnvironment& environment) {
    return SpeakChosenRow(environment, CommentRoutine::kSkinAssistant, 0);
}

int CommentIdle(const CommentEnvironment& environment) {
    return SpeakChosenRow(environment, CommentRoutine::kIdle, kAnswerSliderScore);
}

int CommentPiecesChanged(const CommentEnvironment& environment, int changedCells) {
    return SpeakChosenRow(environment, CommentRoutine::kPiecesChanged, changedCells);
}

int CommentScoreUp(const CommentEnvironment& environment, int puzzleScore) {
    int row = 0;
    if (puzzleScore >= kAnswerSliderScore) {
        row = environment.random.Choose(kScoreUpSliderRows);
        environment.screen.ShowAnswerSlider();
    } else {
        row = kScoreUpSliderRows + environment.random.Choose(kScoreUpOtherRows);
    }
    return Speak(environment, CommentRoutine::kScoreUp, row, puzzleScore);
}

int CommentPoorResult(const CommentEnvironment& environment) {
    return SpeakChosenRow(environment, CommentRoutine::kPoorResult, 0);
}

int CommentGoodDrop(const CommentEnvironment& environment) {
    return SpeakChosenRow(environment, CommentRoutine::kGoodDrop, 0);
}

int RunComment(const CommentEnvironment& environment, CommentRoutine routine, int value) {
    switch (routine) {
        case CommentRoutine::kTooManyFiles:
            return CommentTooManyFiles(environment);
        case CommentRoutine::kStartMascot:
            return CommentStartMascot(environment);
        case CommentRoutine::kStartAssistant:
            return CommentStartAssistant(environment);
        case CommentRoutine::kSkinMascot:
            return CommentSkinMascot(environment);
        case CommentRoutine::kSkinAssistant:
            return CommentSkinAssistant(environment);
        case CommentRoutine::kIdle:
            return CommentIdle(environment);
        case CommentRoutine::kPiecesChanged:
            return CommentPiecesChanged(environment, value);
        case CommentRoutine::kScoreUp:
            return CommentScoreUp(environment, value);
        case CommentRoutine::kPoorResult:
            return CommentPoorResult(environment);
        case CommentRoutine::kGoodDrop:
            return CommentGoodDrop(environment);
    }
    return -1;
}

}  // namespace tama05
