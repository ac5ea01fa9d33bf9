#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "skin/skin_panel.h"

namespace tama05 {

// The window of one skinned display panel: its drawing surface, and over it up to two lines of
// text in the panel's font, colour and origin. The wait meter also draws its bar of segments.
// The panel's data lives in the SkinPanel; the widget only shows it (user-interface thread).
class PanelWidget final : public QWidget {
    Q_OBJECT
  public:
    PanelWidget(SkinPanel& panel, qreal devicePixelRatio, QWidget* parent);

    SkinPanel& panel() { return m_panel; }
    // The panel's surface changed: repaint with the new picture.
    void SurfaceChanged();
    // The wait meter's segments in panel coordinates, drawn over the picture; empty hides them.
    void SetMeter(std::vector<MeterSegment> segments, uint32_t color);
    const std::vector<MeterSegment>& meter() const { return m_meter; }
    // Moves the window to the panel's rectangle.
    void PlaceAtPanelRect();

    // The font every panel draws with, at a height in pixels.
    static QFont PanelFont(int pixelHeight);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    SkinPanel& m_panel;
    qreal m_ratio;
    QImage m_surface;
    std::vector<MeterSegment> m_meter;
    uint32_t m_meterColor = 0;
};

}  // namespace tama05
