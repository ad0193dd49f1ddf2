#include "corvane/app/corvane_view.h"

#include <QBitmap>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "corvane/app/document_history.h"
#include "corvane/app/qt_painter.h"
#include "corvane/core/view_navigation.h"

CCorvaneView::CCorvaneView(corvane::CCorvaneDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc) {
  setMouseTracking(true);
  setCursor(CrossHairCursor());
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
  setFocusPolicy(Qt::StrongFocus);
}

QCursor CCorvaneView::CrossHairCursor() {
  QPixmap image(32, 32);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    // A white halo under black hair lines keeps the cursor visible on the
    // grey background and on the drawing.
    for (int pass = 0; pass < 2; ++pass) {
      QPen pen(pass == 0 ? Qt::white : Qt::black);
      pen.setWidth(pass == 0 ? 4 : 2);
      pen.setCapStyle(Qt::FlatCap);
      p.setPen(pen);
      p.drawLine(QPoint(16, 1), QPoint(16, 12));
      p.drawLine(QPoint(16, 20), QPoint(16, 31));
      p.drawLine(QPoint(1, 16), QPoint(12, 16));
      p.drawLine(QPoint(20, 16), QPoint(31, 16));
      pen.setWidth(pass == 0 ? 3 : 1);
      p.setPen(pen);
      p.drawLine(QPoint(6, 6), QPoint(13, 13));
      p.drawLine(QPoint(26, 6), QPoint(19, 13));
      p.drawLine(QPoint(6, 26), QPoint(13, 19));
      p.drawLine(QPoint(26, 26), QPoint(19, 19));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRect(14, 14, 4, 4));
    }
  }
  return QCursor(image, 16, 16);
}

void CCorvaneView::paintEvent(QPaintEvent*) {
  if (m_frame.size() != size()) m_frame = QImage(size(), QImage::Format_RGB32);
  DrawViewImage(m_model, m_doc, m_frame);
  QPainter painter(this);
  painter.drawImage(0, 0, m_frame);
}

void CCorvaneView::resizeEvent(QResizeEvent* event) {
  // The mouse is mapped with the size of the window as it is now, also
  // before the first paint of an airport.
  m_model.SetClientSize(width(), height());
  QWidget::resizeEvent(event);
}

void CCorvaneView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (m_panning) {
    const QPoint delta = pos - m_panFrom;
    m_panFrom = pos;
    corvane::Pan(m_doc, delta.x(), delta.y());
    update();
    emit viewMoved();
  }
  m_model.OnMouseMove(m_doc, pos.x(), pos.y());
  emit mouseMoved();
  QWidget::mouseMoveEvent(event);
}

void CCorvaneView::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && m_spaceHeld)) {
    m_panning = true;
    m_panFrom = pos;
    setCursor(Qt::ClosedHandCursor);
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton && m_doc.m_bStopped != 1) {
    grabMouse();
    if (QWidget::mouseGrabber() == this) {
      bool added = false;
      auto click = [&] { added = m_model.OnLeftClick(m_doc, pos.x(), pos.y()); };
      if (m_history != nullptr) {
        m_history->Change(QStringLiteral("Add Point"), click);
      } else {
        click();
      }
      if (added) update();
      releaseMouse();
    }
  }
  QWidget::mousePressEvent(event);
}

void CCorvaneView::mouseReleaseEvent(QMouseEvent* event) {
  if (m_panning && !(event->buttons() & (Qt::MiddleButton | Qt::LeftButton))) {
    m_panning = false;
    setCursor(CrossHairCursor());
  }
  if (QWidget::mouseGrabber() == this) releaseMouse();
  QWidget::mouseReleaseEvent(event);
}

void CCorvaneView::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  m_model.OnMouseMove(m_doc, pos.x(), pos.y());
  m_model.OnDoubleClick(m_doc);
  emit mouseMoved();
  update();
  // Not the base handler: it would take the second press as another click.
  event->accept();
}

void CCorvaneView::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Keyboard) {
    ShowContextMenuFromKeyboard();
    return;
  }
  if (m_contextMenu == nullptr) return;
  emit contextMenuAboutToShow();
  m_contextMenu->popup(event->globalPos());
}

void CCorvaneView::ShowContextMenuFromKeyboard() {
  if (m_contextMenu == nullptr) return;
  QPoint pos = mapFromGlobal(QCursor::pos());
  if (!rect().contains(pos)) pos = rect().center();
  emit contextMenuAboutToShow();
  m_contextMenu->popup(mapToGlobal(pos));
}

void CCorvaneView::wheelEvent(QWheelEvent* event) {
  m_wheelAngle += event->angleDelta().y();
  const int steps = m_wheelAngle / 120;
  if (steps != 0) {
    m_wheelAngle -= steps * 120;
    const QPoint pos = event->position().toPoint();
    corvane::ZoomAbout(m_doc, m_model, pos.x(), pos.y(), steps);
    m_model.OnMouseMove(m_doc, pos.x(), pos.y());
    update();
    emit viewMoved();
  }
  event->accept();
}

void CCorvaneView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space) {
    m_spaceHeld = true;
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void CCorvaneView::focusOutEvent(QFocusEvent* event) {
  // The release of a Space held while the focus went elsewhere never comes.
  m_spaceHeld = false;
  QWidget::focusOutEvent(event);
}

void CCorvaneView::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
    m_spaceHeld = false;
    event->accept();
    return;
  }
  QWidget::keyReleaseEvent(event);
}
