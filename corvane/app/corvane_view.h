// The editor's one view: paints the document through the core's view model,
// maps the mouse to airport feet, appends a taxi point on a left click while
// recording, re-centres on a double click, and shows the right-click menu and
// its own cross-hair cursor.
#pragma once

#include <QImage>
#include <QWidget>

#include "corvane/core/corvane_doc.h"
#include "corvane/core/view_model.h"

class QMenu;

class CCorvaneView : public QWidget {
  Q_OBJECT

 public:
  CCorvaneView(corvane::CCorvaneDoc& doc, QWidget* parent = nullptr);

  corvane::ViewModel& Model() { return m_model; }
  corvane::CCorvaneDoc& Document() { return m_doc; }

  // The right-click menu (owned by the main frame, commands go there).
  void SetContextMenu(QMenu* menu) { m_contextMenu = menu; }

  // The view's cursor: 32 x 32, hot spot at the centre.
  static QCursor CrossHairCursor();

 signals:
  void mouseMoved();
  void contextMenuAboutToShow();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  corvane::CCorvaneDoc& m_doc;
  corvane::ViewModel m_model;
  QMenu* m_contextMenu = nullptr;
  QImage m_frame;  // the picture is drawn here, then put on the screen
};
