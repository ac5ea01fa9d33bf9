#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tama05 {

// Every comment routine of the mascot and the assistant. The first five are spoken at
// start-up, after a skin change and after a drop of too many files; the last five are the
// after-drop comments that the score update chooses from.
enum class CommentRoutine {
    kTooManyFiles,
    kStartMascot,
    kStartAssistant,
    kSkinMascot,
    kSkinAssistant,
    kIdle,
    kPiecesChanged,
    kScoreUp,
    kPoorResult,
    kGoodDrop,
};

inline constexpr CommentRoutine kAllCommentRoutines[] = {
    CommentRoutine::kTooManyFiles,  CommentRoutine::kStartMascot,   CommentRoutine::kStartAssistant,
    CommentRoutine::kSkinMascot,    CommentRoutine::kSkinAssistant, CommentRoutine::kIdle,
    CommentRoutine::kPiecesChanged, CommentRoutine::kScoreUp,       CommentRoutine::kPoorResult,
    CommentRoutine::kGoodDrop,
};

// Who speaks in a routine, which decides the panels it writes.
enum class CommentCast {
    kBoth,           // all four panels
    kMascotOnly,     // POINT_DISP and MESSAGE1
    kAssistantOnly,  // ASSISTANT_DISP and MESSAGE2
};

// The routine's own name, e.g. "CommentScoreUp".
std::string_view CommentRoutineName(CommentRoutine routine);
// The routine named exactly so ("CommentIdle"), or nothing.
std::optional<CommentRoutine> CommentRoutineFromName(std::string_view name);
CommentCast CommentCastOf(CommentRoutine routine);

// One row of a comment table. Texts are UTF-8 and may hold one "%d", filled with the value
// fixed per routine. Pictures are given by their mood word and number ("ki4"); empty means
// none. A picture with a blink partner alternates with it and leaves the partner on display.
struct CommentVariant {
    std::string_view mascotLine1;
    std::string_view mascotLine2;  // empty: MESSAGE1 draws one line
    std::string_view mascotPicture;
    std::string_view mascotBlinkPartner;
    std::string_view assistantLine;
    std::string_view assistantPicture;
    std::string_view assistantBlinkPartner;
    // Added to the score text origin while this comment stands.
    int32_t scoreOffsetX = 0;
    int32_t scoreOffsetY = 0;
    // Added to the mascot's font height while this comment stands (0 or -1).
    int32_t mascotFontChange = 0;
};

// The rows of a routine's table, in the order the random choice numbers them from 0.
std::span<const CommentVariant> CommentTable(CommentRoutine routine);

// The value that fills "%d" in lines of routines whose value does not come from the caller.
inline constexpr int kTooManyFilesLimit = 256;
// The score from which the answer slider is offered (also the "%d" of one idle line).
inline constexpr int kAnswerSliderScore = 88;

// Picture file names: prefix, mood word and number, extension.
inline constexpr std::string_view kMascotPicturePrefix = "point_disp_";
inline constexpr std::string_view kAssistantPicturePrefix = "assistant_disp_";
inline constexpr std::string_view kCommentPictureExtension = ".tgp";

enum class CommentCharacter { kMascot, kAssistant };

// "point_disp_ki4.tgp" for the mascot's "ki4"; empty for an empty mood.
std::string CommentPictureFileName(CommentCharacter character, std::string_view mood);

// Every picture file that some table row names, sorted and without repeats (45 names): the
// files the skin folder "skin" of the program folder has to hold.
std::vector<std::string> CommentPictureNames();

}  // namespace tama05
