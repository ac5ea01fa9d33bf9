#include "app/panel_widget.h"

#include <QPainter>
#include <algorithm>

#include "app/bridge/qt_image.h"
#include "app/bridge/qt_path.h"

namespace tama05 {

PanelWidget::PanelWidget(SkinPanel& panel, qreal devicePixelRatio, QWidget* parent)
    : QWidget(parent), m_panel(panel), m_ratio(devicePixelRatio) {
    // Presses fall through to the window, so that it can be dragged by its panels too.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PanelWidget::SurfaceChanged() {
    m_surface = ToScreenImage(m_panel.surface(), m_ratio);
    update();
}

void PanelWidget::SetMeter(std::vector<MeterSegment> segments, uint32_t color) {
    m_meter = std::move(segments);
    m_meterColor = color;
    update();
}

void PanelWidget::PlaceAtPanelRect() {
    const SkinRect& r = m_panel.rect();
    setGeometry(QRectF(r.left / m_ratio, r.top / m_ratio, r.width / m_ratio, r.height / m_ratio)
                    .toAlignedRect());
}

QFont PanelWidget::PanelFont(int pixelHeight) {
    QFont font(QStringLiteral("MS UI Gothic"));
    font.setPixelSize(std::max(1, pixelHeight));
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::Monospace, QFont::PreferQuality);
    font.setFixedPitch(true);
    return font;
}

void PanelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_surface.isNull()) {
        painter.drawImage(QPointF(0, 0), m_surface);
    }
    // Everything below is in device pixels of the panel.
    painter.scale(1.0 / m_ratio, 1.0 / m_ratio);
    if (!m_meter.empty()) {
        const QColor color = ColorFromValue(m_meterColor);
        for (const MeterSegment& s : m_meter) {
            if (s.right > s.left && s.bottom > s.top) {
                painter.fillRect(QRect(s.left, s.top, s.right - s.left, s.bottom - s.top), color);
            }
        }
    }
    const std::vector<SkinPanel::TextLine> lines = m_panel.TextLines();
    if (lines.empty()) {
        return;
    }
    painter.setFont(PanelFont(m_panel.fontHeight));
    painter.setPen(ColorFromValue(m_panel.textColor));
    for (const SkinPanel::TextLine& line : lines) {
        painter.drawText(QRect(line.x, line.y, 4096, 1024), Qt::AlignLeft | Qt::AlignTop,
                         FromUtf8(line.text));
    }
}

}  // namespace tama05
