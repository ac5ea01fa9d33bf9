#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_message_sink.h"
#include "app/game_dialogs.h"
#include "app/ui_hand_over.h"
#include "app/window_group.h"
#include "assistant/comment_routines.h"
#include "core/random_generator.h"
#include "puzzle/drop_worker.h"
#include "puzzle/puzzle.h"
#include "skin/app_settings.h"
#include "skin/skin_chrome.h"
#include "skin/skin_layout.h"

namespace tama05 {

class ControlWindow;
class MainWindow;
class PanelWidget;
class SkinButtonWidget;
class SkinWindowScreen;
class SliderBar;
class WindowCommentScreen;
class WindowDropScreen;

// How the game is started.
struct GameOptions {
    // The folder of the executable, skins and settings; empty: found from the running program.
    std::filesystem::path programFolder;
    // The settings file; empty: chosen for the program folder.
    std::filesystem::path settingsFile;
    // The folder the program was started in, for a relative puzzle path; empty: the current one.
    std::filesystem::path startFolder;
    // The puzzle named on the command line, as given.
    std::optional<std::string> puzzleArgument;
    // The random seed; none: the current time.
    std::optional<uint32_t> seed;
};

// The game: the one puzzle, the settings, the skin, the three windows and every command.
// Everything here runs on the user-interface thread except the drop worker, which reaches the
// windows only through queued calls.
class Game final : public QObject {
    Q_OBJECT
  public:
    // Asks a question with the buttons Yes, No and Cancel; tests answer by themselves.
    using QuestionBox = std::function<QMessageBox::StandardButton(
        QWidget* owner, const QString& text, const QString& caption)>;

    explicit Game(GameOptions options, QObject* parent = nullptr);
    ~Game() override;

    // Test hooks; set before Start.
    void SetQuestionBox(QuestionBox questionBox) { m_questionBox = std::move(questionBox); }
    void SetMessagePresenter(AppMessageSink::Presenter presenter);
    void SetDialogs(std::unique_ptr<GameDialogs> dialogs);

    // Start-up up to the shown windows. Returns 0, or -1 when a window cannot be made.
    int Start();

    // A command of the buttons or the File menu.
    void Command(uint16_t command);
    // A puzzle handed over by a later start of the game (empty: none): the windows come to the
    // front and the puzzle is opened as by the open command, after the save question.
    void OpenHandedPuzzle(const std::filesystem::path& path);
    // Before the puzzle would be dropped: true to go on, false to stop the command.
    bool AskToSave(QWidget* owner);
    // The save question, the positions and the settings, then the windows close. Returns
    // false when the exit was stopped.
    bool Exit();
    bool exited() const { return m_exited; }

    // Files dropped on the main window.
    void DropFiles(std::vector<std::filesystem::path> files);
    bool dropBusy() const;
    void WaitForDrop();

    // The pointer at (x, y) device pixels of the main window.
    void HoverAt(int x, int y);
    // The answer slider moved.
    void SetBlend(int value);
    // The whole view with the window placement; 0 or -1.
    int RedrawView();
    // The main window's title for a picture and its painter name.
    void SetViewTitle(const std::filesystem::path& path, const std::string& painterName);
    void SetViewTitleText(const QString& title);
    // Shows a picture alone in the main window, sized to it without moving.
    void ShowPainterPicture(const Image& picture);

    void MainWindowStateChanged();
    void RecordSliderBarPosition();

    // A skin background picture from the skin folder, else the default skin folder, else white.
    void LoadBackground(std::string_view fileName, Image& picture);
    qreal devicePixelRatio() const { return m_ratio; }
    WindowGroup& windows() { return m_windows; }

    // What the comments work with, made afresh for each comment.
    CommentEnvironment CommentEnvironmentFor(CommentScreen& screen);
    // The skin is announced after a skin change.
    void AnnounceSkin();

    Puzzle& puzzle() { return m_puzzle; }
    AppSettings& settings() { return m_settings; }
    const std::filesystem::path& settingsFile() const { return m_settingsFile; }
    const std::filesystem::path& programFolder() const { return m_programFolder; }
    const std::filesystem::path& skinFolder() const { return m_settings.skinFolder; }
    SkinLayout& layout() { return m_layout; }
    SkinChrome& chrome() { return m_chrome; }
    RandomGenerator& random() { return m_random; }
    AppMessageSink& messages() { return *m_messages; }
    MainWindow* mainWindow() const { return m_main.get(); }
    ControlWindow* controlWindow() const { return m_control; }
    SliderBar* sliderBar() const { return m_slider; }
    SkinButtonWidget* buttonWidget(ButtonId id) const { return m_buttons[static_cast<size_t>(id)]; }
    PanelWidget* panelWidget(PanelId id) const { return m_panels[static_cast<size_t>(id)]; }
    PanelWidget* panelWidget(CommentPanel panel) const;
    CommentScreen& commentScreen();
    GameDialogs& dialogs() { return *m_dialogs; }

  signals:
    // The game has ended; the event loop may stop.
    void exitRequested();
    // A drop has been processed to its end.
    void dropFinished();

  private:
    enum class SaveOutcome { kCancelled, kSaved, kNotSaved };

    bool RefuseWhileBusy();
    void NewPuzzleCommand();
    void OpenPuzzleCommand();
    void OpenPuzzle(std::optional<std::filesystem::path> given);
    void SaveCommand();
    void SaveAsCommand();
    // Saves to fileName, or through the save-as dialog when it is empty.
    SaveOutcome Save(QWidget* owner, const std::filesystem::path& fileName);
    SaveOutcome SaveAs(QWidget* owner);
    bool RefuseNothingToSave();
    void PuzzleInfoCommand();
    void ChangeSkinCommand();
    void ToggleAlwaysOnTop();
    void MinimizeAll();
    bool OpenStartPuzzle(const std::filesystem::path& path);
    void AfterPuzzleReplaced(int32_t score);
    void ShowScore(int32_t score);
    void PlaceWindows();
    SkinContext MakeSkinContext();

    GameOptions m_options;
    std::filesystem::path m_programFolder;
    std::filesystem::path m_settingsFile;
    std::filesystem::path m_defaultSkinFolder;
    AppSettings m_settings;
    SkinLayout m_layout;
    SkinChrome m_chrome;
    Puzzle m_puzzle;
    RandomGenerator m_random;
    qreal m_ratio = 1.0;

    AppMessageSink* m_messages;
    QuestionBox m_questionBox;
    std::unique_ptr<GameDialogs> m_dialogs;
    std::unique_ptr<WindowCommentScreen> m_commentScreen;
    std::unique_ptr<WindowDropScreen> m_dropScreen;
    std::unique_ptr<SkinWindowScreen> m_skinScreen;
    // The readers' messages of a drop are shown together at its end, from its report.
    NullMessageSink m_dropReaderMessages;
    // The end of a drop, with its messages, reaches the user-interface thread through this.
    UiHandOver m_dropEnd;
    std::unique_ptr<DropWorker> m_worker;

    std::unique_ptr<MainWindow> m_main;
    ControlWindow* m_control = nullptr;
    SliderBar* m_slider = nullptr;
    std::array<SkinButtonWidget*, kButtonCount> m_buttons{};
    std::array<PanelWidget*, kPanelCount> m_panels{};
    WindowGroup m_windows;
    // The answer picture's own alpha, for the PNG export; empty for an opened puzzle.
    AlphaPlane m_answerAlpha;
    bool m_minimized = false;
    // A slider move redraws once the events already waiting are handled, so a fast drag
    // blends only for the latest value.
    bool m_blendScheduled = false;
    bool m_exited = false;
};

// The message shown when a command would run against a drop being processed.
inline constexpr std::string_view kBusyMessage =
    "ドロップされたファイルを処理中です。終わるまでお待ちください。";
inline constexpr std::string_view kBusyCaption = "処理中";

}  // namespace tama05
