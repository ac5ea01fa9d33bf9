#include "app/view_surface.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "app/bridge/qt_image.h"
#include "core/blend.h"

namespace tama05 {

namespace {

bool SameSize(const Image& a, const Image& b) {
    return !a.empty() && !b.empty() && a.width() == b.width() && a.height() == b.height() &&
           a.stride() == b.stride();
}

// The extent of a cell clipped at the picture's right and bottom edges.
QRect CellRect(const Puzzle& puzzle, int32_t column, int32_t row) {
    const int32_t x = column * puzzle.pieceWidth;
    const int32_t y = row * puzzle.pieceHeight;
    const int32_t w = std::min(puzzle.pieceWidth, puzzle.AnswerImage.width() - x);
    const int32_t h = std::min(puzzle.pieceHeight, puzzle.AnswerImage.height() - y);
    return QRect(x, y, std::max(w, 0), std::max(h, 0));
}

}  // namespace

void ViewSurface::SetDevicePixelRatio(qreal ratio) {
    std::lock_guard lock(m_mutex);
    m_ratio = ratio > 0 ? ratio : 1.0;
    if (!m_buffer.isNull()) {
        m_buffer.setDevicePixelRatio(m_ratio);
    }
}

void ViewSurface::Attach(QSize size, QRgb fill) {
    {
        std::lock_guard lock(m_mutex);
        m_buffer = QImage(size, QImage::Format_RGB32);
        m_buffer.setDevicePixelRatio(m_ratio);
        m_buffer.fill(fill);
        m_hoverText.clear();
        MarkDirtyLocked(m_buffer.rect());
    }
    RequestRepaint();
}

void ViewSurface::DrawBlendedLocked(const Puzzle& puzzle) {
    const Image& answer = puzzle.AnswerImage;
    const Image& canvas = puzzle.MosaicCanvas;
    std::vector<uint8_t> row(static_cast<size_t>(answer.width()) * 3);
    for (int32_t y = 0; y < answer.height(); ++y) {
        BlendBytes(canvas.rowFromTop(y), answer.rowFromTop(y), row.data(), row.size(),
                   puzzle.BlendValue);
        PutPixels(m_buffer, 0, y, row.data(), answer.width());
    }
    MarkDirtyLocked(QRect(0, 0, answer.width(), answer.height()));
}

int ViewSurface::RedrawView(const Puzzle& puzzle) {
    if (!SameSize(puzzle.AnswerImage, puzzle.MosaicCanvas)) {
        return -1;
    }
    {
        std::lock_guard lock(m_mutex);
        // The screen's size, or the picture's where it is larger.
        const QSize size = m_buffer.size().expandedTo(
            QSize(puzzle.AnswerImage.width(), puzzle.AnswerImage.height()));
        m_buffer = QImage(size, QImage::Format_RGB32);
        m_buffer.setDevicePixelRatio(m_ratio);
        m_buffer.fill(kGrey);
        m_hoverText.clear();
        m_flashes.clear();
        MarkDirtyLocked(m_buffer.rect());
        DrawBlendedLocked(puzzle);
    }
    RequestRepaint();
    return 0;
}

int ViewSurface::RedrawBlend(const Puzzle& puzzle) {
    if (!SameSize(puzzle.AnswerImage, puzzle.MosaicCanvas)) {
        return -1;
    }
    {
        std::lock_guard lock(m_mutex);
        DrawBlendedLocked(puzzle);
    }
    RequestRepaint();
    return 0;
}

void ViewSurface::FlashCell(const Puzzle& puzzle, const Image& piece, int32_t x, int32_t y,
                            int32_t width, int32_t height) {
    const Image& answer = puzzle.AnswerImage;
    if (piece.empty() || answer.empty() || x < 0 || y < 0 || x >= answer.width() ||
        y >= answer.height()) {
        return;
    }
    const int32_t w = std::min(
        {x + piece.width() > width ? width - x : piece.width(), piece.width(), answer.width() - x});
    const int32_t h = std::min({y + piece.height() > height ? height - y : piece.height(),
                                piece.height(), answer.height() - y});
    if (w <= 0 || h <= 0) {
        return;
    }
    const size_t rowBytes = static_cast<size_t>(w) * 3;
    std::vector<uint8_t> blended(rowBytes * static_cast<size_t>(h));
    for (int32_t j = 0; j < h; ++j) {
        BlendBytes(piece.rowFromTop(j), answer.rowFromTop(y + j) + static_cast<size_t>(x) * 3,
                   blended.data() + rowBytes * static_cast<size_t>(j), rowBytes, puzzle.BlendValue);
    }
    const QRect cell(x, y, w, h);
    {
        std::lock_guard lock(m_mutex);
        if (m_flashes.size() >= kMaxFlashes) {
            m_flashes.pop_front();
        }
        m_flashes.push_back({cell, std::chrono::steady_clock::now()});
    }
    std::vector<uint8_t> frame(rowBytes);
    for (int i = 0; i <= kFlashFrames; ++i) {
        {
            std::lock_guard lock(m_mutex);
            for (int32_t j = 0; j < h; ++j) {
                const uint8_t* source = blended.data() + rowBytes * static_cast<size_t>(j);
                if (i == kFlashFrames) {
                    PutPixels(m_buffer, x, y + j, source, w);
                    continue;
                }
                std::copy(source, source + rowBytes, frame.begin());
                for (size_t p = 2; p < rowBytes; p += 3) {
                    frame[p] = static_cast<uint8_t>(kFlashStep * i);
                }
                PutPixels(m_buffer, x, y + j, frame.data(), w);
            }
            MarkDirtyLocked(cell);
        }
        RequestRepaint();
    }
}

void ViewSurface::DrawCellLocked(const Puzzle& puzzle, int32_t column, int32_t row, bool marked) {
    const QRect cell = CellRect(puzzle, column, row);
    if (cell.isEmpty()) {
        return;
    }
    const size_t rowBytes = static_cast<size_t>(cell.width()) * 3;
    std::vector<uint8_t> line(rowBytes);
    const size_t offset = static_cast<size_t>(cell.x()) * 3;
    for (int32_t j = 0; j < cell.height(); ++j) {
        const uint8_t* canvas = puzzle.MosaicCanvas.rowFromTop(cell.y() + j) + offset;
        if (marked) {
            std::copy(canvas, canvas + rowBytes, line.begin());
            for (size_t p = 2; p < rowBytes; p += 3) {
                line[p] = 255;
            }
        } else {
            BlendBytes(canvas, puzzle.AnswerImage.rowFromTop(cell.y() + j) + offset, line.data(),
                       rowBytes, puzzle.BlendValue);
        }
        PutPixels(m_buffer, cell.x(), cell.y() + j, line.data(), cell.width());
    }
    MarkDirtyLocked(cell);
}

int ViewSurface::HoverCell(const Puzzle& puzzle, int32_t x, int32_t y) {
    if (puzzle.state != PuzzleState::kReady) {
        return -1;
    }
    if (!SameSize(puzzle.AnswerImage, puzzle.MosaicCanvas) || x < 0 || y < 0 ||
        x >= puzzle.MosaicCanvas.width() || y >= puzzle.MosaicCanvas.height()) {
        return -2;
    }
    const Grid grid = puzzle.grid();
    const int32_t column = x / puzzle.pieceWidth;
    const int32_t row = y / puzzle.pieceHeight;
    {
        std::lock_guard lock(m_mutex);
        if (QPoint(column, row) != m_hovered) {
            // The cell marked before may belong to a puzzle since replaced.
            if (m_hovered.x() < grid.columns && m_hovered.y() < grid.rows) {
                DrawCellLocked(puzzle, m_hovered.x(), m_hovered.y(), false);
            }
            m_hovered = QPoint(column, row);
        }
        DrawCellLocked(puzzle, column, row, true);
        m_hoverText.clear();
        const int64_t index = int64_t{row} * grid.columns + column;
        if (puzzle.pieceWidth > 15 && puzzle.pieceHeight > 15 && index >= 0 &&
            index < puzzle.PieceScores.count()) {
            m_hoverText = QString::number(puzzle.PieceScores[static_cast<size_t>(index)]);
            m_hoverTextPos = QPoint(column * puzzle.pieceWidth + 2, row * puzzle.pieceHeight);
        }
    }
    RequestRepaint();
    return 0;
}

void ViewSurface::ShowPicture(const Image& picture) {
    {
        std::lock_guard lock(m_mutex);
        const QSize size = m_buffer.size().expandedTo(QSize(picture.width(), picture.height()));
        m_buffer = QImage(size, QImage::Format_RGB32);
        m_buffer.setDevicePixelRatio(m_ratio);
        m_buffer.fill(kGrey);
        m_hoverText.clear();
        m_flashes.clear();
        for (int32_t y = 0; y < picture.height(); ++y) {
            PutPixels(m_buffer, 0, y, picture.rowFromTop(y), picture.width());
        }
        MarkDirtyLocked(m_buffer.rect());
    }
    RequestRepaint();
}

void ViewSurface::ForgetHover() {
    std::lock_guard lock(m_mutex);
    m_hovered = QPoint(0, 0);
    m_hoverText.clear();
}

void ViewSurface::Paint(QPainter& painter, const QRect& rect) const {
    std::lock_guard lock(m_mutex);
    if (m_buffer.isNull()) {
        return;
    }
    const QRectF source(rect.x() * m_ratio, rect.y() * m_ratio, rect.width() * m_ratio,
                        rect.height() * m_ratio);
    painter.drawImage(QRectF(rect), m_buffer, source);
    // Cells still flashing show the frame of their age: their settled look with the red
    // byte at 25 × frame.
    const auto now = std::chrono::steady_clock::now();
    for (const Flash& flash : m_flashes) {
        const auto frame = static_cast<int>((now - flash.start) / kFlashFrameTime);
        if (frame >= kFlashFrames) {
            continue;
        }
        const QRect cell = flash.cell.intersected(m_buffer.rect());
        if (cell.isEmpty()) {
            continue;
        }
        QImage tinted = m_buffer.copy(cell);
        for (int j = 0; j < tinted.height(); ++j) {
            auto* line = reinterpret_cast<QRgb*>(tinted.scanLine(j));
            for (int i = 0; i < tinted.width(); ++i) {
                line[i] = qRgb(kFlashStep * frame, qGreen(line[i]), qBlue(line[i]));
            }
        }
        tinted.setDevicePixelRatio(m_ratio);
        painter.drawImage(QPointF(cell.x() / m_ratio, cell.y() / m_ratio), tinted);
    }
    if (!m_hoverText.isEmpty()) {
        painter.save();
        QFont font(QStringLiteral("MS UI Gothic"));
        font.setPixelSize(std::max(1, static_cast<int>(14 / m_ratio)));
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QPointF at(m_hoverTextPos.x() / m_ratio, m_hoverTextPos.y() / m_ratio);
        painter.drawText(QRectF(at, QSizeF(200, 100)), Qt::AlignLeft | Qt::AlignTop, m_hoverText);
        painter.restore();
    }
}

QRect ViewSurface::TakeDirty() {
    std::lock_guard lock(m_mutex);
    const QRect dirty = m_dirty;
    m_dirty = QRect();
    m_pending.store(false);
    const QRectF logical(dirty.x() / m_ratio, dirty.y() / m_ratio, dirty.width() / m_ratio,
                         dirty.height() / m_ratio);
    return logical.toAlignedRect();
}

QRect ViewSurface::AdvanceFlashes() {
    std::lock_guard lock(m_mutex);
    const auto now = std::chrono::steady_clock::now();
    QRect active;
    QRect settled;
    while (!m_flashes.empty() && now - m_flashes.front().start >= kFlashFrameTime * kFlashFrames) {
        settled = settled.united(m_flashes.front().cell);
        m_flashes.pop_front();
    }
    for (const Flash& flash : m_flashes) {
        active = active.united(flash.cell);
    }
    // The cells that just settled are painted once more in their own look.
    const QRect changed = active.united(settled);
    const QRectF logical(changed.x() / m_ratio, changed.y() / m_ratio, changed.width() / m_ratio,
                         changed.height() / m_ratio);
    return m_flashes.empty() && settled.isEmpty() ? QRect() : logical.toAlignedRect();
}

QImage ViewSurface::Snapshot() const {
    std::lock_guard lock(m_mutex);
    return m_buffer.copy();
}

QPoint ViewSurface::hoveredCell() const {
    std::lock_guard lock(m_mutex);
    return m_hovered;
}

QString ViewSurface::hoverText() const {
    std::lock_guard lock(m_mutex);
    return m_hoverText;
}

void ViewSurface::MarkDirtyLocked(const QRect& rect) {
    m_dirty = m_dirty.united(rect);
    // The score text may stick out of its cell.
    if (!m_hoverText.isEmpty()) {
        m_dirty = m_dirty.united(QRect(m_hoverTextPos, QSize(60, 20)));
    }
}

void ViewSurface::RequestRepaint() {
    if (!m_pending.exchange(true) && m_request) {
        m_request();
    }
}

}  // namespace tama05
