#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "skin/skin_button.h"

class QMenu;

namespace tama05 {

// Fills a menu with the File menu's items and separators; "常に手前に表示する" is checkable and
// checked when alwaysOnTop is set. Each action carries its command in its data.
void BuildFileMenu(QMenu& menu, bool alwaysOnTop);

// The window of one skinned button. It feeds the pointer to the button's state machine and
// carries out what the machine asks for: pictures, cursors, the pointer grab, the command, or
// the File menu for the menu button.
class SkinButtonWidget final : public QWidget {
    Q_OBJECT
  public:
    enum class Look { kNormal, kHover, kPressed };

    SkinButtonWidget(SkinButton& button, qreal devicePixelRatio, QWidget* parent);
    SkinButtonWidget(SkinMenuButton& button, qreal devicePixelRatio, QWidget* parent);

    // Opens the File menu with its top-left corner at a global position and returns the chosen
    // command, 0 when none was chosen. The default shows a QMenu; tests choose by themselves.
    using MenuRunner = std::function<uint16_t(const QPoint& globalTopLeft, bool alwaysOnTop)>;
    void SetMenuRunner(MenuRunner runner) { m_menuRunner = std::move(runner); }
    // Whether the always-on-top setting is 1 when the menu opens.
    void SetAlwaysOnTopQuery(std::function<bool()> query) { m_alwaysOnTop = std::move(query); }

    void Apply(const ButtonActions& actions);

    SkinButtonBase& button() { return m_base; }
    Look look() const { return m_look; }
    bool isMenuButton() const { return m_menu != nullptr; }

  signals:
    void commandTriggered(uint16_t command);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    SkinButtonWidget(SkinButtonBase& base, SkinButton* button, SkinMenuButton* menu,
                     qreal devicePixelRatio, QWidget* parent);
    QPoint DevicePoint(const QPointF& position) const;
    void PointerMoved(int32_t x, int32_t y);
    void Show(Look look);
    void OpenMenu();

    SkinButtonBase& m_base;
    SkinButton* m_button;
    SkinMenuButton* m_menu;
    qreal m_ratio;
    Look m_look = Look::kNormal;
    QImage m_picture;
    MenuRunner m_menuRunner;
    std::function<bool()> m_alwaysOnTop;
};

}  // namespace tama05
