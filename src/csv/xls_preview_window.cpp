#include "csv/xls_preview_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QMoveEvent>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "csv/csv_lines.h"
#include "csv/csv_preview.h"
#include "ui/qt_text.h"

namespace kestrum {

namespace {

QStringList Numbers(int count) {
  QStringList numbers;
  for (int i = 1; i <= count; ++i) numbers << QString::number(i);
  return numbers;
}

QRect ScreenOf(const QWidget& widget, bool workArea) {
  const QScreen* screen = widget.screen();
  if (screen == nullptr) return QRect(0, 0, 1024, 768);
  return workArea ? screen->availableGeometry() : screen->geometry();
}

}  // namespace

TXLSform::TXLSform(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("XLSform"));
  setAttribute(Qt::WA_DeleteOnClose);
  if (parent != nullptr) setFont(parent->font());  // the opener's text size
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(4);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont big = Label1->font();
  if (big.pixelSize() > 0) {
    big.setPixelSize(big.pixelSize() * 7 / 5);
  } else {
    big.setPointSizeF(big.pointSizeF() * 1.4);
  }
  big.setBold(true);
  big.setItalic(true);
  Label1->setFont(big);
  Label1->setMinimumHeight(QFontMetrics(big).height() + 4);
  column->addWidget(Label1);

  // Row and column headers stand for the fixed first row and column of the grid.
  sgXLS = new QTableWidget(kPreviewLines, kPreviewFields, this);
  sgXLS->setObjectName(QStringLiteral("sgXLS"));
  sgXLS->setHorizontalHeaderLabels(Numbers(kPreviewFields));
  sgXLS->setVerticalHeaderLabels(Numbers(kPreviewLines));
  sgXLS->verticalHeader()->setFixedWidth(kPreviewHeaderWidth);
  sgXLS->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  sgXLS->verticalHeader()->setDefaultSectionSize(kPreviewRowHeight);
  sgXLS->verticalHeader()->setMinimumSectionSize(8);
  sgXLS->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  sgXLS->horizontalHeader()->setDefaultSectionSize(kPreviewColumnWidth);
  sgXLS->horizontalHeader()->setMinimumSectionSize(8);
  sgXLS->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  sgXLS->horizontalHeader()->setFixedHeight(kPreviewRowHeight);
  // Typing changes what a cell shows and nothing else; a double-click points, it does not edit.
  sgXLS->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
  sgXLS->setSelectionMode(QAbstractItemView::SingleSelection);
  sgXLS->setWordWrap(false);
  column->addWidget(sgXLS, 1);

  connect(sgXLS, &QTableWidget::cellDoubleClicked, this, [this](int row, int col) {
    const QTableWidgetItem* header = sgXLS->horizontalHeaderItem(col);
    emit cellChosen(row + 1, header != nullptr ? header->text() : QString::number(col + 1));
  });
}

void TXLSform::LoadFile(const std::string& path) {
  setWindowTitle(ui::ToQ(std::filesystem::path(path).filename().string()));
  sgXLS->clearContents();
  const std::vector<std::string> lines = ReadPreviewLines(path);
  sgXLS->setUpdatesEnabled(false);
  for (size_t r = 0; r < lines.size(); ++r) {
    const std::vector<std::string> fields = CsvSplitFields(lines[r], kPreviewFields);
    for (size_t c = 0; c < fields.size(); ++c) {
      if (fields[c].empty()) continue;
      sgXLS->setItem(static_cast<int>(r), static_cast<int>(c),
                     new QTableWidgetItem(ui::ToQ(fields[c])));
    }
  }
  sgXLS->setUpdatesEnabled(true);
}

void TXLSform::SetPrompt(const QString& prompt) { Label1->setText(prompt); }

QString TXLSform::prompt() const { return Label1->text(); }

void TXLSform::PlaceRightOf(const QWidget& opener) {
  const QRect frame = opener.frameGeometry();
  const QRect screen = ScreenOf(opener, false);
  const int left = frame.x() + frame.width();
  const int width = std::max(kPreviewMinWidth, screen.x() + screen.width() - left);
  move(left, frame.y());
  resize(width, std::max(kPreviewMinHeight, opener.height()));
}

void TXLSform::PlaceBelow(const QWidget& opener) {
  const QRect frame = opener.frameGeometry();
  const QRect work = ScreenOf(opener, true);
  const int top = frame.y() + frame.height();
  move(frame.x(), top);
  resize(std::max(kPreviewMinWidth, opener.width()),
         std::max(kPreviewMinHeight, work.y() + work.height() - top));
}

void TXLSform::ShowInFront() {
  show();
  raise();
  activateWindow();
  repaint();
}

void TXLSform::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  DockIfClose();
}

void TXLSform::DockIfClose() {
  QWidget* dock = dockWindow_ ? dockWindow_() : nullptr;
  if (dock == nullptr || !dock->isVisible()) return;
  const QRect frame = dock->frameGeometry();
  const int edge = frame.x() + frame.width();
  const QPoint docked(edge, frame.y());
  if (std::abs(pos().x() - edge) < kDockDistance && pos() != docked) move(docked);
}

}  // namespace kestrum
