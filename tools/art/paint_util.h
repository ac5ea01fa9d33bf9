#pragma once

// Small drawing helpers shared by the art generator's painters.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include <filesystem>
#include <string>

namespace tama05::art {

// A transparent ARGB picture ready for antialiased painting.
QImage TransparentPicture(int width, int height);

// Mixes a and b: t = 0 gives a, t = 1 gives b.
QColor Mix(const QColor& a, const QColor& b, double t);

// A five-pointed star (or a four-pointed sparkle) centred on (cx, cy).
void FillStar(QPainter& painter, double cx, double cy, double outer, double inner, int points,
              const QColor& color, double rotationDegrees = 0.0);

// A small heart centred on (cx, cy), size s.
void FillHeart(QPainter& painter, double cx, double cy, double s, const QColor& color);

// Saves as PNG, reporting failures in error.
bool SavePng(const QImage& image, const std::filesystem::path& path, std::string& error);

// Creates the folder (and its parents).
bool MakeFolder(const std::filesystem::path& path, std::string& error);

}  // namespace tama05::art
