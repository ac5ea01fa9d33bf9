#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "assistant/comment_picture.h"
#include "assistant/comment_screen.h"

namespace tama05::test {

// Writes every call of the comments as one line of text into a shared log, so that a test
// can compare the whole sequence at once. Pictures are named by the file they came from.
class RecordingCommentScreen final : public CommentScreen {
  public:
    explicit RecordingCommentScreen(std::vector<std::string>& log) : m_log(log) {}

    void SetPanelLines(CommentPanel panel, const std::string& line1,
                       const std::string& line2) override {
        m_log.push_back("lines " + std::string(CommentPanelName(panel)) + " [" + line1 + "] [" +
                        line2 + "]");
    }
    void SetPanelTextParameters(CommentPanel panel,
                                const PanelTextParameters& parameters) override {
        m_log.push_back("params " + std::string(CommentPanelName(panel)) + " color " +
                        std::to_string(parameters.color) + " font " +
                        std::to_string(parameters.fontHeight) + " at " +
                        std::to_string(parameters.x) + "," + std::to_string(parameters.y));
        current[panel] = parameters;
    }
    void ShowPanelPicture(CommentPanel panel, const Image& picture) override {
        m_log.push_back("show " + std::string(CommentPanelName(panel)) + " " + picture.path);
    }
    void Pause(int milliseconds) override {
        m_log.push_back("pause " + std::to_string(milliseconds));
    }
    void InvalidatePanel(CommentPanel panel) override {
        m_log.push_back("repaint " + std::string(CommentPanelName(panel)));
    }
    void ShowAnswerSlider() override { m_log.push_back("slider"); }

    // The text parameters each panel was last given.
    std::map<CommentPanel, PanelTextParameters> current;

  private:
    std::vector<std::string>& m_log;
};

// A picture reader over a set of known file names: each known file gives a 4 × 3 picture of
// one grey value, with its file name kept in Image::path. Every request is logged.
class FakePictureFiles {
  public:
    explicit FakePictureFiles(std::vector<std::string>& log) : m_log(log) {}

    void Add(const std::string& name, uint8_t grey = 200) { m_files[name] = grey; }

    PictureLoader Loader() {
        return [this](const std::filesystem::path& file, Image& target, AlphaPlane*) {
            const std::string name = file.filename().string();
            m_log.push_back("load " + name);
            requested.push_back(file);
            auto found = m_files.find(name);
            if (found == m_files.end()) {
                return -1;
            }
            if (target.CreateFilled(4, 3, found->second) != 0) {
                return -1;
            }
            target.path = name;
            return 0;
        };
    }

    std::vector<std::filesystem::path> requested;

  private:
    std::vector<std::string>& m_log;
    std::map<std::string, uint8_t> m_files;
};

}  // namespace tama05::test
