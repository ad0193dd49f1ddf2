// The editor's one view: paints the document through the core's view model,
// maps the mouse to airport feet, appends a taxi point on a left click while
// recording, re-centres on a double click, zooms with the wheel about the
// pointer, pans on a drag with the middle button (or the left one while
// Space is held), and shows the right-click menu and its own cross-hair
// cursor.
#pragma once

#include <QImage>
#include <QWidget>

#include "corvane/core/corvane_doc.h"
#include "corvane/core/view_model.h"

class CDocumentHistory;
class QMenu;

class CCorvaneView : public QWidget {
  Q_OBJECT

 public:
  CCorvaneView(corvane::CCorvaneDoc& doc, QWidget* parent = nullptr);

  corvane::ViewModel& Model() { return m_model; }
  corvane::CCorvaneDoc& Document() { return m_doc; }

  // The right-click menu (owned by the main frame, commands go there).
  void SetContextMenu(QMenu* menu) { m_contextMenu = menu; }
  // Where clicked points are recorded, so that they can be undone.
  void SetHistory(CDocumentHistory* history) { m_history = history; }

  // The right-click menu opened from the keyboard: at the pointer when it is
  // over the view, else at the view's centre.
  void ShowContextMenuFromKeyboard();

  // The view's cursor: 32 x 32, hot spot at the centre.
  static QCursor CrossHairCursor();

 signals:
  void mouseMoved();
  // Zoom or centre changed by the mouse.
  void viewMoved();
  void contextMenuAboutToShow();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  corvane::CCorvaneDoc& m_doc;
  corvane::ViewModel m_model;
  QMenu* m_contextMenu = nullptr;
  CDocumentHistory* m_history = nullptr;
  bool m_spaceHeld = false;
  bool m_panning = false;
  QPoint m_panFrom;
  int m_wheelAngle = 0;  // eighths of a degree not yet turned into steps
  QImage m_frame;        // the picture is drawn here, then put on the screen
};
