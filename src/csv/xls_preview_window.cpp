#include "csv/xls_preview_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMoveEvent>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstdlib>
#include <filesystem>

#include "csv/csv_lines.h"
#include "csv/csv_preview.h"
#include "ui/qt_text.h"
#include "ui/screen_fit.h"
#include "ui/window_placement.h"

namespace kestrum {

namespace {

// The preview's grid: Return or Enter on the current cell points at it as a double-click
// does, unless the cell is being typed into (then the key ends the typing).
class PreviewGrid : public QTableWidget {
 public:
  PreviewGrid(int rows, int columns, QWidget* parent, std::function<void(int, int)> choose)
      : QTableWidget(rows, columns, parent), choose_(std::move(choose)) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != EditingState && currentIndex().isValid()) {
      choose_(currentRow(), currentColumn());
      event->accept();
      return;
    }
    QTableWidget::keyPressEvent(event);
  }

 private:
  std::function<void(int, int)> choose_;
};

QStringList Numbers(int count) {
  QStringList numbers;
  for (int i = 1; i <= count; ++i) numbers << QString::number(i);
  return numbers;
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
  Label1->setWordWrap(true);  // a narrow preview shows the whole prompt on two lines
  column->addWidget(Label1);

  // Row and column headers stand for the fixed first row and column of the grid.
  sgXLS = new PreviewGrid(kPreviewLines, kPreviewFields, this,
                          [this](int row, int col) { ChooseCell(row, col); });
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

  connect(sgXLS, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int col) { ChooseCell(row, col); });
}

void TXLSform::ChooseCell(int row, int column) {
  const QTableWidgetItem* header = sgXLS->horizontalHeaderItem(column);
  emit cellChosen(row + 1, header != nullptr ? header->text() : QString::number(column + 1));
}

void TXLSform::LoadFile(const std::string& path) {
  setWindowTitle(ui::ToQ(std::filesystem::path(path).filename().string()));
  sgXLS->clearContents();
  lines_.clear();
  ShowHeaderTips();
  lines_ = ReadPreviewLines(path);
  sgXLS->setUpdatesEnabled(false);
  for (size_t r = 0; r < lines_.size(); ++r) {
    const std::vector<std::string> fields = CsvSplitFields(lines_[r], kPreviewFields);
    for (size_t c = 0; c < fields.size(); ++c) {
      if (fields[c].empty()) continue;
      sgXLS->setItem(static_cast<int>(r), static_cast<int>(c),
                     new QTableWidgetItem(ui::ToQ(fields[c])));
    }
  }
  sgXLS->setUpdatesEnabled(true);
  ShowHeaderTips();
}

void TXLSform::SetHeaderLine(int line) {
  headerLine_ = line;
  ShowHeaderTips();
}

void TXLSform::ShowHeaderTips() {
  const std::vector<std::string> headers = PreviewColumnHeaders(lines_, headerLine_);
  for (int c = 0; c < kPreviewFields; ++c) {
    if (QTableWidgetItem* header = sgXLS->horizontalHeaderItem(c)) {
      header->setToolTip(ui::ToQ(headers[static_cast<size_t>(c)]));
    }
  }
}

void TXLSform::SetPrompt(const QString& prompt) { Label1->setText(prompt); }

QString TXLSform::prompt() const { return Label1->text(); }

void TXLSform::PlaceBeside(const QWidget& opener, const Surroundings& around) {
  const QRect frame = ui::FrameOf(opener, opener.parentWidget());
  ui::SetFrame(*this,
               ui::PlacePreview(frame, around.mainFrame, around.keepClear,
                                kPreviewComfortableFrame, kPreviewLeastFrame,
                                ui::WorkAreaAt(frame.center())),
               &opener);
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
