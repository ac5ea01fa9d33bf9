#include "app/skin_button_widget.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "app/bridge/qt_image.h"
#include "app/bridge/qt_path.h"
#include "app/hand_cursors.h"
#include "skin/skin_commands.h"

namespace tama05 {

void BuildFileMenu(QMenu& menu, bool alwaysOnTop) {
    for (const FileMenuEntry& entry : kFileMenu) {
        if (entry.command == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(FromUtf8(entry.text));
        action->setData(static_cast<int>(entry.command));
        if (entry.command == kCommandAlwaysOnTop) {
            action->setCheckable(true);
            action->setChecked(alwaysOnTop);
        }
    }
}

namespace {

uint16_t RunFileMenu(const QPoint& globalTopLeft, bool alwaysOnTop) {
    QMenu menu;
    BuildFileMenu(menu, alwaysOnTop);
    QAction* chosen = menu.exec(globalTopLeft);
    return chosen != nullptr ? static_cast<uint16_t>(chosen->data().toInt()) : 0;
}

}  // namespace

SkinButtonWidget::SkinButtonWidget(SkinButton& button, qreal devicePixelRatio, QWidget* parent)
    : SkinButtonWidget(button, &button, nullptr, devicePixelRatio, parent) {}

SkinButtonWidget::SkinButtonWidget(SkinMenuButton& button, qreal devicePixelRatio, QWidget* parent)
    : SkinButtonWidget(button, nullptr, &button, devicePixelRatio, parent) {}

SkinButtonWidget::SkinButtonWidget(SkinButtonBase& base, SkinButton* button, SkinMenuButton* menu,
                                   qreal devicePixelRatio, QWidget* parent)
    : QWidget(parent),
      m_base(base),
      m_button(button),
      m_menu(menu),
      m_ratio(devicePixelRatio),
      m_menuRunner(RunFileMenu) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void SkinButtonWidget::Apply(const ButtonActions& actions) {
    for (const ButtonAction& action : actions) {
        switch (action.kind) {
            case ButtonActionKind::kMoveWindow: {
                const SkinRect& r = m_base.rect();
                setGeometry(
                    QRectF(r.left / m_ratio, r.top / m_ratio, r.width / m_ratio, r.height / m_ratio)
                        .toAlignedRect());
                show();
                break;
            }
            case ButtonActionKind::kShowNormal:
                Show(Look::kNormal);
                break;
            case ButtonActionKind::kShowHover:
                Show(Look::kHover);
                break;
            case ButtonActionKind::kShowPressed:
                Show(Look::kPressed);
                break;
            case ButtonActionKind::kHoverCursor:
                setCursor(HoverHandCursor());
                break;
            case ButtonActionKind::kPressedCursor:
                setCursor(PressedHandCursor());
                break;
            case ButtonActionKind::kArrowCursor:
                setCursor(Qt::ArrowCursor);
                break;
            case ButtonActionKind::kTakeCapture:
                if (isVisible() && QWidget::mouseGrabber() != this) {
                    grabMouse();
                }
                break;
            case ButtonActionKind::kReleaseCapture:
                if (QWidget::mouseGrabber() == this) {
                    releaseMouse();
                }
                break;
            case ButtonActionKind::kSendCommand:
                emit commandTriggered(action.command);
                break;
            case ButtonActionKind::kOpenMenu:
                OpenMenu();
                break;
        }
    }
}

void SkinButtonWidget::Show(Look look) {
    m_look = look;
    const Image& picture = look == Look::kNormal  ? m_base.normalPicture()
                           : look == Look::kHover ? m_base.hoverPicture()
                                                  : m_base.pressedPicture();
    // An empty picture shows nothing: what was there stays.
    if (!picture.empty()) {
        m_picture = ToScreenImage(picture, m_ratio);
    }
    update();
}

void SkinButtonWidget::OpenMenu() {
    const bool alwaysOnTop = m_alwaysOnTop ? m_alwaysOnTop() : false;
    const uint16_t command = m_menuRunner(mapToGlobal(QPoint(0, height())), alwaysOnTop);
    if (m_menu != nullptr) {
        Apply(m_menu->OnMenuClosed());
    }
    if (command != 0) {
        emit commandTriggered(command);
    }
}

QPoint SkinButtonWidget::DevicePoint(const QPointF& position) const {
    return QPoint(static_cast<int>(std::floor(position.x() * m_ratio)),
                  static_cast<int>(std::floor(position.y() * m_ratio)));
}

void SkinButtonWidget::PointerMoved(int32_t x, int32_t y) {
    if (m_button != nullptr) {
        Apply(m_button->OnPointerMove(x, y));
    } else {
        Apply(m_menu->OnPointerMove(x, y));
    }
}

void SkinButtonWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_picture.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    painter.drawImage(QPointF(0, 0), m_picture);
}

void SkinButtonWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = DevicePoint(event->position());
    PointerMoved(p.x(), p.y());
}

void SkinButtonWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (m_button != nullptr) {
        Apply(m_button->OnLeftButtonDown());
    } else {
        Apply(m_menu->OnLeftButtonDown());
    }
}

void SkinButtonWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_button == nullptr) {
        return;
    }
    const QPoint p = DevicePoint(event->position());
    Apply(m_button->OnLeftButtonUp(p.x(), p.y()));
}

void SkinButtonWidget::leaveEvent(QEvent*) {
    // Without a grab (or where the platform has none) the pointer leaving is seen here.
    const int32_t state = m_base.state();
    if (state == 1 || (m_button != nullptr && state == SkinButton::kPressed)) {
        PointerMoved(-1, -1);
    }
}

}  // namespace tama05
