// Pointing at the rows of a list box as the window system does, for the
// menus that pick the row under the pointer themselves.
#pragma once

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>

#include <string>

#include "platform/ui/control_qt.h"
#include "platform/ui/controls.h"

namespace zarv::testing {

inline QListWidget* ListWidgetOf(ListBox& list) { return static_cast<QListWidget*>(list.impl().widget.data()); }

// A mouse move (no button) or a left press at (x, y) of the list's inside.
inline void SendToList(ListBox& list, int y, bool press = false, int x = 20) {
  QWidget* inside = ListWidgetOf(list)->viewport();
  const QPoint at(x, y);
  QMouseEvent e(press ? QEvent::MouseButtonPress : QEvent::MouseMove, QPointF(at), QPointF(inside->mapToGlobal(at)),
                press ? Qt::LeftButton : Qt::NoButton, press ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(inside, &e);
}

// What a user would see wrong with a shown menu list: a scroll bar, a row
// cut off at its foot, or a pixel row of the list's inside over which the
// pointer highlights another row than the one drawn there (below the last
// row, the last one). "" when there is nothing.
inline std::string MenuListFault(ListBox& list) {
  QApplication::processEvents();
  QListWidget* w = ListWidgetOf(list);
  if (w->verticalScrollBar()->isVisible()) return "a scroll bar";
  const int last = w->count() - 1;
  if (last < 0) return "no rows";
  const int foot = w->visualItemRect(w->item(last)).bottom();
  if (foot > w->viewport()->height() - 1) return "the last row cut off";
  for (int y = 0; y < w->viewport()->height(); ++y) {
    const int drawn = y <= foot ? w->indexAt(QPoint(20, y)).row() : last;
    SendToList(list, y);
    if (list.ListIndex() != drawn)
      return "row " + std::to_string(list.ListIndex()) + " highlighted over row " + std::to_string(drawn) + " at y " +
             std::to_string(y);
  }
  return {};
}

}  // namespace zarv::testing
