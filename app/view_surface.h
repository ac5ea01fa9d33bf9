#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "core/image.h"
#include "puzzle/puzzle.h"

class QPainter;

namespace tama05 {

// What the main window shows: a back buffer the size of the screen, in device pixels, that the
// compositions below draw into and that painting copies onto the window. The drop worker draws
// flashing cells into it while the user-interface thread paints from it, so the buffer has its
// own lock; the compositions read the puzzle and expect the caller to hold the puzzle's lock
// (the lock order is always puzzle, then buffer).
class ViewSurface {
  public:
    // The grey shown where the picture does not reach.
    static constexpr QRgb kGrey = 0xFF808080;
    // A changed cell runs through this many red-tinted frames before it settles.
    static constexpr int kFlashFrames = 10;
    static constexpr int kFlashStep = 255 / kFlashFrames;

    // Called, from any thread, when a part of the buffer changed and no repaint is pending yet;
    // the window then takes the changed area with TakeDirty on its own thread.
    using RepaintRequest = std::function<void()>;
    void SetRepaintRequest(RepaintRequest request) { m_request = std::move(request); }
    void SetDevicePixelRatio(qreal ratio);
    qreal devicePixelRatio() const { return m_ratio; }

    // A fresh buffer of the given size in device pixels, filled with fill.
    void Attach(QSize size, QRgb fill);

    // The whole view: the blended picture at the top-left corner of a fresh grey buffer.
    // Returns 0, or -1 (nothing drawn) when the canvas and the answer differ in size.
    int RedrawView(const Puzzle& puzzle);
    // Only the blended picture, for a moved slider. Returns 0 or -1 as above.
    int RedrawBlend(const Puzzle& puzzle);
    // One changed cell: ten frames of its blended look with the red byte at 0, 25, ..., 225,
    // then its blended look; (x, y) is its top-left corner counted from the picture's top-left,
    // width and height the picture's size. Called by the drop worker with the puzzle locked.
    void FlashCell(const Puzzle& puzzle, const Image& piece, int32_t x, int32_t y, int32_t width,
                   int32_t height);
    // Marks the cell under (x, y) (device pixels): the cell marked before goes back to its
    // blended look, the new one shows its canvas pixels with the red byte at 255 and, for cells
    // larger than 15 × 15, its score. Returns 0, -1 when the puzzle is not ready, -2 outside
    // the picture.
    int HoverCell(const Puzzle& puzzle, int32_t x, int32_t y);
    // The painter picture view: the answer alone, unchanged, on a fresh grey buffer.
    void ShowPicture(const Image& picture);
    // The hovered cell starts again at (0, 0) and its score text is dropped.
    void ForgetHover();

    // Copies the buffer (and the hovered cell's score) into the area of a window being painted;
    // rect is in the window's logical coordinates.
    void Paint(QPainter& painter, const QRect& rect) const;
    // The changed area in logical coordinates since the last call; clears the pending flag.
    QRect TakeDirty();
    // The flash frames are written faster than a screen shows them, so the window replays
    // them: for a short while after a cell changed, painting shows the frame its age calls
    // for. Returns the area still flashing (logical coordinates), empty when none is.
    QRect AdvanceFlashes();
    // How long each replayed frame stays on screen.
    static constexpr std::chrono::milliseconds kFlashFrameTime{16};
    // At most this many cells are replayed at once; older ones settle at once.
    static constexpr size_t kMaxFlashes = 4096;

    // A copy of the buffer (for tests and screenshots).
    QImage Snapshot() const;

    QPoint hoveredCell() const;
    QString hoverText() const;

  private:
    void DrawBlendedLocked(const Puzzle& puzzle);
    void DrawCellLocked(const Puzzle& puzzle, int32_t column, int32_t row, bool marked);
    void MarkDirtyLocked(const QRect& rect);
    void RequestRepaint();

    mutable std::mutex m_mutex;
    QImage m_buffer;
    QRect m_dirty;
    std::atomic<bool> m_pending{false};
    RepaintRequest m_request;
    qreal m_ratio = 1.0;
    QPoint m_hovered{0, 0};
    QString m_hoverText;
    QPoint m_hoverTextPos;
    struct Flash {
        QRect cell;
        std::chrono::steady_clock::time_point start;
    };
    std::deque<Flash> m_flashes;
};

}  // namespace tama05
