#pragma once

#include <QRect>
#include <QWidget>

#include "ui/Layout.h"

namespace tessaro::ui::qt {

// Twips to pixels at the widget's logical DPI, each axis by its own DPI.
inline QRect PixelRect(const QWidget& widget, const layout::Rect& twips) {
  const int dx = widget.logicalDpiX();
  const int dy = widget.logicalDpiY();
  return {layout::TwipsToPixels(twips.left, dx), layout::TwipsToPixels(twips.top, dy),
          layout::TwipsToPixels(twips.width, dx), layout::TwipsToPixels(twips.height, dy)};
}

// The window frame of the layout: fixed size, title, close box; minimize only
// where asked; never maximize or context help.
inline Qt::WindowFlags FixedWindowFlags(Qt::WindowType kind, bool minimizeBox) {
  Qt::WindowFlags flags = kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
  return flags;
}

}  // namespace tessaro::ui::qt
