// TXLSform: the start of the chosen CSV file as a grid of numbered rows (file lines) and
// columns (field numbers, as the CSV reader counts them). A double-click reports the line
// and the column of the cell; what that means is up to whoever listens.
#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QTableWidget;

namespace kestrum {

inline constexpr int kPreviewHeaderWidth = 33;
inline constexpr int kPreviewColumnWidth = 64;
inline constexpr int kPreviewRowHeight = 24;
// A preview dropped closer than this to the field window's right edge docks.
inline constexpr int kDockDistance = 20;
// The narrowest and lowest a placed preview gets, whatever room the screen leaves (frame).
inline constexpr QSize kPreviewLeastFrame(320, 200);
// Room for the prompt and eight columns of a dozen rows: a preview this big is placed
// before a smaller one (frame).
inline constexpr QSize kPreviewComfortableFrame(560, 260);

// What a window opened from the main window leaves free, in desktop pixels: the main window's
// frame, and inside it the controls the user watches (the CSV tab's Convert button and
// completion label). Both empty when there is no main window.
struct Surroundings {
  QRect mainFrame;
  QRect keepClear;
};

class TXLSform : public QWidget {
  Q_OBJECT

 public:
  explicit TXLSform(QWidget* parent = nullptr);

  // Fills the grid from the file's first lines (caption: the file's name without its folder).
  // Throws InputError when the file cannot be read; the grid then stays empty.
  void LoadFile(const std::string& path);
  // The file line (from 1) whose fields head the columns (PreviewHeaderLine): each column's
  // number gets that header as its tooltip; 0: no tooltips. Kept for a file loaded later.
  void SetHeaderLine(int line);
  int headerLine() const { return headerLine_; }

  void SetPrompt(const QString& prompt);
  QString prompt() const;

  // Beside opener, reaching to the edge of the work area: at its right (its left edge at
  // opener's right edge, the same top and height) where the work area has room, else where
  // it has (ui::PlacePreview), leaving the main window or at least its watched controls free.
  void PlaceBeside(const QWidget& opener, const Surroundings& around);
  // Shows the window (or brings it to the front) and repaints it.
  void ShowInFront();

  // The window this preview docks to while it is open (none: no docking).
  void SetDockWindow(std::function<QWidget*()> dockWindow) { dockWindow_ = std::move(dockWindow); }

  QLabel* Label1 = nullptr;
  QTableWidget* sgXLS = nullptr;

 signals:
  // A cell was double-clicked, or Return or Enter pressed on the current cell: line is the
  // grid row's number (the file line), column the header text of its column ("1" .. "63").
  void cellChosen(int line, const QString& column);

 protected:
  void moveEvent(QMoveEvent* event) override;

 private:
  void DockIfClose();
  // What a double-click on the cell does: reports its line and its column's header text.
  void ChooseCell(int row, int column);

  void ShowHeaderTips();

  std::function<QWidget*()> dockWindow_;
  std::vector<std::string> lines_;  // the lines the grid shows
  int headerLine_ = 0;
};

}  // namespace kestrum
