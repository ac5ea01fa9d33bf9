#include "cli/spoken_comment.h"

#include <filesystem>
#include <string>

#include "assistant/after_drop_comment.h"
#include "assistant/comment_routines.h"

namespace tama05 {

namespace {

// Prints the characters' lines; pictures and pauses are not shown.
class TextCommentScreen final : public CommentScreen {
  public:
    explicit TextCommentScreen(std::ostream* out) : m_out(out) {}
    void SetPanelLines(CommentPanel panel, const std::string& line1,
                       const std::string& line2) override {
        if (m_out == nullptr) {
            return;
        }
        const char* who = panel == CommentPanel::MESSAGE1 ? "玉五郎" : "こまお";
        *m_out << who << ": " << line1;
        if (!line2.empty()) {
            *m_out << ' ' << line2;
        }
        *m_out << '\n';
    }
    void SetPanelTextParameters(CommentPanel, const PanelTextParameters&) override {}
    void ShowPanelPicture(CommentPanel, const Image&) override {}
    void BlinkPanelPictures(CommentPanel, const Image&, const Image&) override {}
    void Pause(int) override {}
    void InvalidatePanel(CommentPanel) override {}
    void ShowAnswerSlider() override {}

  private:
    std::ostream* m_out;
};

}  // namespace

void SpeakComment(CommentKind kind, int32_t value, RandomGenerator& random, std::ostream* out) {
    TextCommentScreen screen(out);
    const Image noPicture;
    CommentEnvironment environment{
        screen, random,    [](const std::filesystem::path&, Image&, AlphaPlane*) {
                                       return -1; },
        {},     noPicture, noPicture,
        {}};
    RunComment(environment, CommentRoutineFor(kind), value);
}

}  // namespace tama05
