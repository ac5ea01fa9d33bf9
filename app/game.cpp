#include "app/game.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <ctime>

#include "app/bridge/qt_path.h"
#include "app/control_window.h"
#include "app/drop_message_box.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "app/skin_button_widget.h"
#include "app/skin_window_screen.h"
#include "app/slider_bar.h"
#include "app/window_comment_screen.h"
#include "app/window_dialogs.h"
#include "app/window_drop_screen.h"
#include "assistant/after_drop_comment.h"
#include "core/image_file.h"
#include "puzzle/drop_reader.h"
#include "puzzle/matching.h"
#include "puzzle/puzzle_io.h"
#include "puzzle/save_or_export.h"
#include "skin/program_folder.h"
#include "skin/skin_picture_loaders.h"

namespace tama05 {

namespace {

// The main window's size before a puzzle is shown, and the control window's without a picture.
constexpr int kStartWidth = 503;
constexpr int kStartHeight = 100;
constexpr int kFixedControlHeight = 21;

CommentTextSkin TextSkinFrom(const SkinLayout& layout) {
    CommentTextSkin skin;
    skin.pointDisp = {layout.color(SkinColor::kPointDisp), layout[SkinKey::kPointDispFontSize],
                      layout[SkinKey::kPointDispX], layout[SkinKey::kPointDispY]};
    skin.message1 = {layout.color(SkinColor::kMessage1), layout[SkinKey::kMessage1FontSize],
                     layout[SkinKey::kMessage1X], layout[SkinKey::kMessage1Y]};
    skin.message2 = {layout.color(SkinColor::kMessage2), layout[SkinKey::kMessage2FontSize],
                     layout[SkinKey::kMessage2X], layout[SkinKey::kMessage2Y]};
    return skin;
}

QMessageBox::StandardButton AskWithMessageBox(QWidget* owner, const QString& text,
                                              const QString& caption) {
    return QMessageBox::question(owner, caption, text,
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                 QMessageBox::Yes);
}

}  // namespace

Game::Game(GameOptions options, QObject* parent)
    : QObject(parent),
      m_options(std::move(options)),
      m_messages(new AppMessageSink(this)),
      m_questionBox(AskWithMessageBox),
      m_commentScreen(std::make_unique<WindowCommentScreen>(*this)),
      m_dropScreen(std::make_unique<WindowDropScreen>(*this)),
      m_skinScreen(std::make_unique<SkinWindowScreen>(*this)) {}

Game::~Game() {
    // The worker draws into the main window's buffer: it ends before any window does.
    m_worker.reset();
    m_main.reset();
}

void Game::SetMessagePresenter(AppMessageSink::Presenter presenter) {
    m_messages->SetPresenter(std::move(presenter));
}

void Game::SetDialogs(std::unique_ptr<GameDialogs> dialogs) {
    if (dialogs) {
        m_dialogs = std::move(dialogs);
    }
}

SkinContext Game::MakeSkinContext() {
    return SkinContext{m_settings.skinFolder, m_defaultSkinFolder, m_layout,
                       *m_messages,           PngPictureLoader(),  SilentPictureLoader()};
}

int Game::Start() {
    // The program folder and the settings.
    if (m_options.programFolder.empty()) {
        FindProgramFolder(m_programFolder);
    } else {
        m_programFolder = m_options.programFolder;
    }
    m_settingsFile = m_options.settingsFile.empty() ? ChooseSettingsFile(m_programFolder)
                                                    : m_options.settingsFile;
    LoadSettings(m_programFolder, m_settingsFile, m_settings);
    m_defaultSkinFolder = DefaultSkinFolder(m_programFolder);
    if (!m_dialogs) {
        m_dialogs = std::make_unique<WindowDialogs>(m_settings, *m_messages, m_programFolder);
    }
    if (m_settings.skinFolder.empty()) {
        m_settings.skinFolder = m_defaultSkinFolder;
    }
    // The skins name the font of the original platform; draw with an installed Japanese one.
    QFont::insertSubstitution(QStringLiteral("MS UI Gothic"), QStringLiteral("IPAGothic"));
    QScreen* screen = QGuiApplication::primaryScreen();
    m_ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    const auto logical = [this](int pixels) { return static_cast<int>(pixels / m_ratio); };

    // The main window, placed below the control window's position.
    m_main = std::make_unique<MainWindow>(*this);
    m_messages->SetOwner(m_main.get());
    m_main->view().SetDevicePixelRatio(m_ratio);
    const QSize screenSize = screen != nullptr ? screen->size() * m_ratio : QSize(1024, 768);
    m_main->view().Attach(screenSize, 0xFF000000);
    if (m_settings.alwaysOnTop == 1) {
        m_main->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    m_main->setGeometry(m_settings.controlLeft, m_settings.controlTop + logical(kStartHeight),
                        logical(kStartWidth), logical(kStartHeight));

    // The skin's values, then the slider bar and the control window, both owned by the main
    // window.
    LoadSkinLayout(m_settings.skinFolder, m_defaultSkinFolder, m_layout, *m_messages);
    m_slider = new SliderBar(*this, m_main.get(), m_layout.color(SkinColor::kSubCtrlBg));
    m_slider->ReloadBackground();
    m_control = new ControlWindow(*this, m_main.get());
    m_control->ReloadBackground();
    QSize controlSize(logical(kStartWidth), logical(kFixedControlHeight));
    if (m_settings.controlLayoutFlag == 1 && !m_control->background().isNull()) {
        controlSize = m_control->background().deviceIndependentSize().toSize();
    }
    m_control->setFixedSize(controlSize);
    m_control->move(m_settings.controlLeft, m_settings.controlTop);
    m_slider->move(m_settings.controlLeft,
                   m_settings.controlTop + controlSize.height() + m_main->height());
    m_windows.Set(m_control, m_main.get(), m_slider);

    // The buttons and the panels, cut from the skin's pictures.
    for (int i = 0; i < kButtonCount; ++i) {
        const auto id = static_cast<ButtonId>(i);
        SkinButtonWidget* widget =
            id == ButtonId::kMenu ? new SkinButtonWidget(m_chrome.menu, m_ratio, m_control)
                                  : new SkinButtonWidget(m_chrome.button(id), m_ratio, m_control);
        connect(widget, &SkinButtonWidget::commandTriggered, m_control, &ControlWindow::OnCommand);
        widget->SetAlwaysOnTopQuery([this] { return m_settings.alwaysOnTop == 1; });
        m_buttons[static_cast<size_t>(i)] = widget;
    }
    for (int i = 0; i < kPanelCount; ++i) {
        const auto id = static_cast<PanelId>(i);
        QWidget* parent = id == PanelId::kAssistantDisp || id == PanelId::kMessage2
                              ? static_cast<QWidget*>(m_slider)
                              : static_cast<QWidget*>(m_control);
        m_panels[static_cast<size_t>(i)] = new PanelWidget(m_chrome.panel(id), m_ratio, parent);
    }
    {
        const SkinContext context = MakeSkinContext();
        SkinSources sources;
        LoadSkinSources(context, sources);
        CreateChrome(context, sources, m_chrome, *m_skinScreen);
    }
    const std::string score = FormatScore(m_puzzle.PuzzleScore);
    m_chrome.panel(PanelId::kPointDisp).line1 = score;
    m_chrome.panel(PanelId::kMessage1).line1 = score;
    m_chrome.panel(PanelId::kMessage1).line2 = std::string();
    m_chrome.panel(PanelId::kMessage2).line1 = score;
    panelWidget(PanelId::kWaitMeter)->hide();

    // The random generator, shared by the worker and the comments.
    m_random.Seed(m_options.seed ? *m_options.seed : static_cast<uint32_t>(std::time(nullptr)));
    // Dropped files are read by their first bytes (painter and canvas files, or pictures without
    // the readers' optional messages); the messages they raise are kept in the drop's report
    // and shown together at its end.
    m_worker = std::make_unique<DropWorker>(m_puzzle, DropPictureReader(), *m_dropScreen, m_random,
                                            m_dropReaderMessages);

    // A puzzle named on the command line.
    if (m_options.puzzleArgument && !m_options.puzzleArgument->empty()) {
        std::filesystem::path path(PuzzleArgument(*m_options.puzzleArgument));
        if (path.is_relative()) {
            std::error_code error;
            const std::filesystem::path start = m_options.startFolder.empty()
                                                    ? std::filesystem::current_path(error)
                                                    : m_options.startFolder;
            path = start / path;
        }
        OpenStartPuzzle(path);
    }

    // Both greetings, then the windows appear.
    const CommentEnvironment environment = CommentEnvironmentFor(*m_commentScreen);
    CommentStartMascot(environment);
    CommentStartAssistant(environment);
    m_control->show();
    m_main->show();
    m_slider->show();
    return 0;
}

CommentEnvironment Game::CommentEnvironmentFor(CommentScreen& screen) {
    return CommentEnvironment{screen,
                              m_random,
                              SilentPictureLoader(),
                              CommentPictureFolder(m_programFolder),
                              m_chrome.scorePictureBase,
                              m_chrome.assistantPictureBase,
                              TextSkinFrom(m_layout)};
}

CommentScreen& Game::commentScreen() {
    return *m_commentScreen;
}

PanelWidget* Game::panelWidget(CommentPanel panel) const {
    switch (panel) {
        case CommentPanel::POINT_DISP:
            return panelWidget(PanelId::kPointDisp);
        case CommentPanel::MESSAGE1:
            return panelWidget(PanelId::kMessage1);
        case CommentPanel::ASSISTANT_DISP:
            return panelWidget(PanelId::kAssistantDisp);
        case CommentPanel::MESSAGE2:
            return panelWidget(PanelId::kMessage2);
    }
    return nullptr;
}

void Game::LoadBackground(std::string_view fileName, Image& picture) {
    LoadSkinBackground(m_settings.skinFolder, m_defaultSkinFolder, fileName, SilentPictureLoader(),
                       picture);
}

void Game::AnnounceSkin() {
    const CommentEnvironment environment = CommentEnvironmentFor(*m_commentScreen);
    CommentSkinMascot(environment);
    CommentSkinAssistant(environment);
}

bool Game::OpenStartPuzzle(const std::filesystem::path& path) {
    PuzzleOpenView view;
    view.setSlider = [this](int32_t value) { m_slider->SetSliderValue(value); };
    view.showScore = [this](int32_t score) { ShowScore(score); };
    if (OpenPuzzleFile(m_puzzle, path, *m_messages, view) != 0) {
        m_messages->ShowMessage("TGRファイルオープンに失敗しました。", "失敗");
        return false;
    }
    m_answerAlpha.Clear();
    m_puzzle.SetFileName(path);
    AfterPuzzleReplaced(m_puzzle.Status().score);
    return true;
}

void Game::AfterPuzzleReplaced(int32_t score) {
    m_main->view().ForgetHover();
    RedrawView();
    m_slider->ShowSlider(score >= kSliderScore);
}

void Game::ShowScore(int32_t score) {
    m_chrome.panel(PanelId::kPointDisp).line1 = FormatScore(score);
    if (PanelWidget* panel = panelWidget(PanelId::kPointDisp)) {
        panel->update();
    }
}

int Game::RedrawView() {
    int32_t width = 0;
    int32_t height = 0;
    const int result = m_puzzle.WithLock([&](const Puzzle& puzzle) {
        width = puzzle.AnswerImage.width();
        height = puzzle.AnswerImage.height();
        return m_main->view().RedrawView(puzzle);
    });
    if (result != 0) {
        return -1;
    }
    // The main window under the control window, centred on it, at least as wide as it.
    const QRect control = m_control->geometry();
    const int pictureWidth = static_cast<int>(width / m_ratio);
    const int pictureHeight = static_cast<int>(height / m_ratio);
    const int windowWidth = std::max(pictureWidth, control.width());
    const int left = static_cast<int>(control.x() - (windowWidth - control.width()) / 2.0);
    const int top = control.y() + control.height();
    m_main->setGeometry(left, top, windowWidth, pictureHeight);
    m_slider->move(control.x(), top + pictureHeight);
    return 0;
}

void Game::SetViewTitle(const std::filesystem::path& path, const std::string& painterName) {
    SetViewTitleText(ViewTitle(path, painterName));
}

void Game::SetViewTitleText(const QString& title) {
    m_main->setWindowTitle(title);
}

void Game::ShowPainterPicture(const Image& picture) {
    m_main->view().ShowPicture(picture);
    m_main->resize(static_cast<int>(std::max(picture.width(), 10) / m_ratio),
                   static_cast<int>(picture.height() / m_ratio));
}

void Game::HoverAt(int x, int y) {
    // While the worker pastes, the mark waits for the next move rather than stall the window.
    m_puzzle.TryWithLock([&](const Puzzle& puzzle) { m_main->view().HoverCell(puzzle, x, y); });
}

void Game::SetBlend(int value) {
    m_puzzle.SetBlendValue(value);
    if (m_blendScheduled) {
        return;
    }
    m_blendScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_blendScheduled = false;
        m_puzzle.WithLock([this](const Puzzle& puzzle) { m_main->view().RedrawBlend(puzzle); });
    });
}

void Game::DropFiles(std::vector<std::filesystem::path> files) {
    m_main->raise();
    m_main->activateWindow();
    const int result = AcceptDrop(
        m_puzzle, *m_worker, std::move(files), *m_messages, [this](const DropReport& report) {
            m_dropEnd.Post([this, unused = DropMessageText(report.messages)] {
                emit dropFinished();
                if (!unused.isEmpty()) {
                    m_messages->ShowList(unused, QString::fromUtf8(kDropMessageCaption));
                }
            });
        });
    if (result == 0) {
        m_puzzle.MarkChanged();
    }
}

bool Game::dropBusy() const {
    return m_worker && m_worker->busy();
}

void Game::WaitForDrop() {
    if (m_worker) {
        m_worker->Wait();
    }
}

bool Game::RefuseWhileBusy() {
    if (!dropBusy()) {
        return false;
    }
    m_messages->ShowMessage(kBusyMessage, kBusyCaption);
    return true;
}

void Game::Command(uint16_t command) {
    if (m_exited) {
        return;
    }
    switch (command) {
        case kCommandNew:
            NewPuzzleCommand();
            break;
        case kCommandOpen:
            OpenPuzzleCommand();
            break;
        case kCommandSave:
            SaveCommand();
            break;
        case kCommandSaveAs:
            SaveAsCommand();
            break;
        case kCommandPuzzleInfo:
            PuzzleInfoCommand();
            break;
        case kCommandChangeSkin:
            ChangeSkinCommand();
            break;
        case kCommandAssociate:
            m_dialogs->ShowAssociation(m_main.get());
            break;
        case kCommandAlwaysOnTop:
            ToggleAlwaysOnTop();
            break;
        case kCommandMinimize:
            MinimizeAll();
            break;
        case kCommandClose:
            Exit();
            break;
        case kCommandVersion:
            m_dialogs->ShowVersion(m_main.get());
            break;
        case kCommandReloadControlBackground:
            m_control->ReloadBackground();
            break;
        case kCommandReloadSliderBackground:
            m_slider->ReloadBackground();
            break;
        default:
            break;
    }
}

bool Game::AskToSave(QWidget* owner) {
    const PuzzleStatus status = m_puzzle.Status();
    if (status.saveState != SaveState::kChanged) {
        return true;
    }
    const QMessageBox::StandardButton answer = m_questionBox(
        owner, QStringLiteral("データを保存しますか？"), QStringLiteral("保存する？"));
    if (answer == QMessageBox::No) {
        return true;
    }
    if (answer != QMessageBox::Yes) {
        return false;
    }
    if (status.state != PuzzleState::kReady) {
        return true;
    }
    // Only a puzzle file actually written lets the command drop the puzzle: after a failed
    // save, or a picture export, the work is still unsaved and the command stops.
    return Save(owner, status.fileName) == SaveOutcome::kSaved;
}

Game::SaveOutcome Game::Save(QWidget* owner, const std::filesystem::path& fileName) {
    if (fileName.empty()) {
        return SaveAs(owner);
    }
    return SaveOrExport(m_puzzle, SaveRequest{fileName, SaveKind::kPuzzleFile}, *m_messages) == 0
               ? SaveOutcome::kSaved
               : SaveOutcome::kNotSaved;
}

Game::SaveOutcome Game::SaveAs(QWidget* owner) {
    std::optional<SaveRequest> request = m_dialogs->ChooseSaveAs(owner, m_settings.saveFolder);
    if (!request) {
        return SaveOutcome::kCancelled;
    }
    if (request->path.has_parent_path()) {
        m_settings.saveFolder = request->path.parent_path();
    }
    request->answerAlpha = &m_answerAlpha;
    // A picture export leaves the puzzle unsaved.
    const int result = SaveOrExport(m_puzzle, *request, *m_messages);
    return request->kind == SaveKind::kPuzzleFile && result == 0 ? SaveOutcome::kSaved
                                                                 : SaveOutcome::kNotSaved;
}

bool Game::RefuseNothingToSave() {
    if (m_puzzle.Status().state == PuzzleState::kReady) {
        return false;
    }
    m_messages->ShowMessage("保存すべきものが読み込まれていません。", "保存できません。");
    return true;
}

void Game::SaveCommand() {
    if (RefuseWhileBusy() || RefuseNothingToSave()) {
        return;
    }
    Save(m_main.get(), m_puzzle.Status().fileName);
}

void Game::SaveAsCommand() {
    if (RefuseWhileBusy() || RefuseNothingToSave()) {
        return;
    }
    SaveAs(m_main.get());
}

void Game::OpenPuzzleCommand() {
    OpenPuzzle(std::nullopt);
}

void Game::OpenHandedPuzzle(const std::filesystem::path& path) {
    if (m_exited || !m_main) {
        return;
    }
    m_main->setWindowState(m_main->windowState() & ~Qt::WindowMinimized);
    m_main->show();
    m_main->raise();
    m_main->activateWindow();
    for (QWidget* owned : {static_cast<QWidget*>(m_control), static_cast<QWidget*>(m_slider)}) {
        if (owned != nullptr) {
            owned->raise();
        }
    }
    if (!path.empty()) {
        OpenPuzzle(path);
    }
}

void Game::OpenPuzzle(std::optional<std::filesystem::path> given) {
    if (RefuseWhileBusy() || !AskToSave(m_main.get())) {
        return;
    }
    const std::optional<std::filesystem::path> path =
        given ? given : m_dialogs->ChoosePuzzleToOpen(m_main.get(), m_settings.openFolder);
    if (!path) {
        return;
    }
    if (OpenStartPuzzle(*path)) {
        m_puzzle.MarkSaved();
    }
    if (path->has_parent_path()) {
        m_settings.openFolder = path->parent_path();
    }
}

void Game::NewPuzzleCommand() {
    if (RefuseWhileBusy() || !AskToSave(m_main.get())) {
        return;
    }
    NewPuzzleContext context{m_settings, *m_messages,
                             [this](const QString& title) { SetViewTitleText(title); },
                             [this](const Image& picture) { ShowPainterPicture(picture); }};
    std::unique_ptr<NewPuzzleDialogs> dialogs =
        m_dialogs->MakeNewPuzzleDialogs(m_main.get(), std::move(context));
    if (!dialogs) {
        return;
    }
    const NewPuzzleResult result = NewPuzzle(m_puzzle, *dialogs, *m_messages, m_random);
    if (result.outcome == NewPuzzleOutcome::kCancelled) {
        return;
    }
    m_answerAlpha = m_dialogs->TakeAnswerAlpha(*dialogs);
    m_main->view().ForgetHover();
    if (result.outcome != NewPuzzleOutcome::kReady || !result.fill) {
        return;
    }
    RedrawView();
    const ScoreUpdate& update = result.fill->score;
    RunComment(CommentEnvironmentFor(*m_commentScreen), CommentRoutineFor(update.comment),
               update.comment == CommentKind::kScoreUp ? update.newScore : 0);
    ShowScore(update.newScore);
}

void Game::PuzzleInfoCommand() {
    m_dialogs->ShowPuzzleInfo(m_main.get(), m_puzzle);
}

void Game::ChangeSkinCommand() {
    if (RefuseWhileBusy()) {
        return;
    }
    ChangeSkin(MakeSkinContext(), m_chrome, *m_skinScreen);
}

void Game::ToggleAlwaysOnTop() {
    const bool on = m_settings.alwaysOnTop != 1;
    const bool visible = m_main->isVisible();
    m_main->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible) {
        m_main->show();
        // The owned windows stay above the main window.
        m_control->raise();
        m_slider->raise();
    }
    m_settings.alwaysOnTop = on ? 1 : 0;
}

void Game::MinimizeAll() {
    m_main->showMinimized();
}

void Game::MainWindowStateChanged() {
    if (m_exited || m_control == nullptr || m_slider == nullptr) {
        return;
    }
    if (m_main->isMinimized()) {
        if (!m_minimized) {
            m_minimized = true;
            m_control->hide();
            m_slider->hide();
        }
        return;
    }
    if (m_minimized) {
        m_minimized = false;
        m_control->show();
        m_slider->show();
    }
    if (m_main->isActiveWindow()) {
        m_control->raise();
        m_slider->raise();
    }
}

void Game::RecordSliderBarPosition() {
    if (m_slider != nullptr) {
        m_settings.sliderBarLeft = m_slider->x();
        m_settings.sliderBarTop = m_slider->y();
    }
}

bool Game::Exit() {
    if (m_exited) {
        return true;
    }
    if (RefuseWhileBusy() || !AskToSave(m_control)) {
        return false;
    }
    m_settings.controlLeft = m_control->x();
    m_settings.controlTop = m_control->y();
    RecordSliderBarPosition();
    SaveSettings(m_settingsFile, m_settings);
    m_exited = true;
    m_slider->SetClosing(true);
    m_control->SetClosing(true);
    m_main->SetClosing(true);
    m_slider->close();
    m_control->close();
    m_main->close();
    emit exitRequested();
    return true;
}

}  // namespace tama05
