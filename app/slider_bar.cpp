#include "app/slider_bar.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>

#include "app/bridge/qt_image.h"
#include "app/game.h"
#include "app/ui_thread.h"
#include "skin/slider_bar_layout.h"

namespace tama05 {

namespace {

QRect Logical(const SliderBarRect& r, qreal ratio) {
    return QRectF(r.left / ratio, r.top / ratio, r.width / ratio, r.height / ratio).toAlignedRect();
}

}  // namespace

SliderBar::SliderBar(Game& game, QWidget* owner, uint32_t textBackground)
    : StripWindow(game, owner),
      m_slider(new QSlider(Qt::Horizontal, this)),
      m_valueBox(new QLineEdit(this)),
      m_textBackground(textBackground) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    const qreal ratio = game.devicePixelRatio();
    setFixedSize(QSizeF(kSliderBarWidth / ratio, kSliderBarHeight / ratio).toSize());

    QPalette palette = this->palette();
    const QColor background = ColorFromValue(textBackground);
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Button, background);

    m_slider->setRange(0, 255);
    m_slider->setValue(128);
    m_slider->setGeometry(Logical(kAnswerSliderRect, ratio));
    m_slider->setPalette(palette);
    m_slider->setAutoFillBackground(true);
    m_slider->hide();

    m_valueBox->setReadOnly(true);
    m_valueBox->setFrame(false);
    m_valueBox->setText(QStringLiteral("128"));
    m_valueBox->setGeometry(Logical(kBlendValueBoxRect, ratio));
    m_valueBox->setPalette(palette);
    m_valueBox->setAutoFillBackground(true);
    m_valueBox->setFocusPolicy(Qt::NoFocus);
    m_valueBox->hide();

    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        m_valueBox->setText(QString::number(value));
        m_game.SetBlend(value);
    });
}

void SliderBar::ReloadBackground() {
    Image picture;
    m_game.LoadBackground(kSubCtrlBackPicture, picture);
    m_background = ToScreenImage(picture, m_game.devicePixelRatio());
    update();
}

void SliderBar::SetSliderValue(int value) {
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(value);
    m_valueBox->setText(QString::number(static_cast<unsigned>(value)));
}

void SliderBar::ShowSlider(bool visible) {
    m_slider->setVisible(visible);
    m_valueBox->setVisible(visible);
}

bool SliderBar::sliderShown() const {
    return !m_slider->isHidden() && !m_valueBox->isHidden();
}

void SliderBar::closeEvent(QCloseEvent* event) {
    m_game.RecordSliderBarPosition();
    CloseOrExit(event, m_closing, m_game);
}

}  // namespace tama05
