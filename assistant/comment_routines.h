#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "assistant/comment_picture.h"
#include "assistant/comment_screen.h"
#include "assistant/comment_tables.h"
#include "core/image.h"
#include "core/random_generator.h"

namespace tama05 {

// The skin's text settings of the three text panels (colour, font height, first-line origin).
// Every comment restores the panels it writes from these before it applies its row's score
// offset and font change, so that a moved score or a smaller font lasts only until the next
// comment that writes that panel. The game fills it from the skin layout and refreshes it
// after a skin change: pointDisp from POINT_DISP_COLOR_R/_G/_B, POINT_DISP_FONT_SIZE,
// POINT_DISP_X and POINT_DISP_Y, message1 and message2 from the MESSAGE1_ and MESSAGE2_ keys
// of the same names.
struct CommentTextSkin {
    PanelTextParameters pointDisp;
    PanelTextParameters message1;
    PanelTextParameters message2;
};

// Everything a comment works with, passed in by its caller; the comments keep nothing
// between calls.
struct CommentEnvironment {
    CommentScreen& screen;
    // The one generator of the game, shared with the drop worker.
    RandomGenerator& random;
    // The silent picture reader.
    PictureLoader loadPicture;
    // Where the characters' pictures are: the folder "skin" of the program folder, whatever
    // skin is selected.
    std::filesystem::path pictureFolder;
    // Copies of the POINT_DISP and ASSISTANT_DISP backgrounds, which the pictures are blended
    // over.
    const Image& scorePictureBase;
    const Image& assistantPictureBase;
    CommentTextSkin textSkin;
};

// The default picture folder for a program folder: <program folder>/skin.
std::filesystem::path CommentPictureFolder(const std::filesystem::path& programFolder);

// A table line with its "%d" (the first one) replaced by the decimal value; every other
// character is kept as it is.
std::string FormatCommentLine(std::string_view format, int value);

// The comment routines. Each chooses its row with the shared generator (one fresh value
// modulo the row count), writes the panels in a fixed order and returns the row it chose.
//
// A comment with both characters, in order: choose the row; write MESSAGE1's two lines;
// load the mascot picture (and its blink partner) over the score picture base; restore the
// text settings of POINT_DISP and MESSAGE1 and apply the row's score offset and font change;
// blink POINT_DISP; write MESSAGE2's line; load the assistant's pictures over the assistant
// picture base; restore MESSAGE2's text settings; blink ASSISTANT_DISP; repaint POINT_DISP,
// MESSAGE1 and MESSAGE2. A mascot-only comment stops after the mascot's settings, shows its
// picture in POINT_DISP and repaints POINT_DISP and MESSAGE1; an assistant-only comment
// writes MESSAGE2, loads and shows its picture in ASSISTANT_DISP and repaints MESSAGE2.
// Missing pictures leave their panel's picture as it was; the lines still change. No folder
// is ever entered: pictures are read by full path from environment.pictureFolder.

// A drop of more than 256 files; "%d" is 256.
int CommentTooManyFiles(const CommentEnvironment& environment);
int CommentStartMascot(const CommentEnvironment& environment);
int CommentStartAssistant(const CommentEnvironment& environment);
int CommentSkinMascot(const CommentEnvironment& environment);
int CommentSkinAssistant(const CommentEnvironment& environment);
// Small talk; "%d" is 88.
int CommentIdle(const CommentEnvironment& environment);
// "%d" is the number of cells the drop changed.
int CommentPiecesChanged(const CommentEnvironment& environment, int changedCells);
// puzzleScore is the new score and fills "%d". At 88 or more the answer slider is shown first
// and row 0 or 1 is chosen (r mod 2); below, one of rows 2 to 9 (2 + r mod 8).
int CommentScoreUp(const CommentEnvironment& environment, int puzzleScore);
int CommentPoorResult(const CommentEnvironment& environment);
int CommentGoodDrop(const CommentEnvironment& environment);

// Runs one routine by kind. value is the changed-cell count for kPiecesChanged and the new
// puzzle score for kScoreUp; the other routines ignore it. Returns the chosen row.
int RunComment(const CommentEnvironment& environment, CommentRoutine routine, int value = 0);

}  // namespace tama05
