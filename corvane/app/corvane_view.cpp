#include "corvane/app/corvane_view.h"

#include <QBitmap>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "corvane/app/qt_painter.h"

CCorvaneView::CCorvaneView(corvane::CCorvaneDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc) {
  setMouseTracking(true);
  setCursor(CrossHairCursor());
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
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
  m_model.OnMouseMove(m_doc, pos.x(), pos.y());
  emit mouseMoved();
  QWidget::mouseMoveEvent(event);
}

void CCorvaneView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_doc.m_bStopped != 1) {
    grabMouse();
    if (QWidget::mouseGrabber() == this) {
      const QPoint pos = event->position().toPoint();
      if (m_model.OnLeftClick(m_doc, pos.x(), pos.y())) update();
      releaseMouse();
    }
  }
  QWidget::mousePressEvent(event);
}

void CCorvaneView::mouseReleaseEvent(QMouseEvent* event) {
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
  if (m_contextMenu == nullptr) return;
  emit contextMenuAboutToShow();
  m_contextMenu->popup(event->globalPos());
}
