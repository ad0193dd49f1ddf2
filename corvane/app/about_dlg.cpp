#include "corvane/app/about_dlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Corvane"));
  auto* icon = new QLabel(this);
  icon->setPixmap(AppIcon().pixmap(32, 32));
  auto* text = new QLabel(
      QStringLiteral("%1\nTaxi paths for AI aircraft").arg(QString::fromLatin1(VersionText())),
      this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addWidget(text, 1);
  auto* column = new QVBoxLayout(this);
  column->addLayout(row);
  column->addWidget(buttons);
  setFixedSize(sizeHint());
}

QIcon CAboutDlg::AppIcon() {
  // Grey apron, a blue taxiway with its end marks, a red and a yellow path:
  // the editor's own colours.
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 190, 190));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setBrush(QColor(160, 200, 130));
    p.drawPolygon(QPolygonF({QPointF(8, 44), QPointF(56, 36), QPointF(56, 56), QPointF(8, 56)}));
    p.setPen(QPen(QColor(0, 0, 255), 4));
    p.drawLine(QPointF(10, 14), QPointF(54, 14));
    p.setPen(QPen(QColor(255, 0, 0), 4));
    p.drawPolyline(QPolygonF({QPointF(12, 14), QPointF(32, 14), QPointF(32, 40)}));
    p.setPen(QPen(QColor(255, 255, 0), 4));
    p.drawPolyline(QPolygonF({QPointF(32, 40), QPointF(48, 28), QPointF(54, 14)}));
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}
