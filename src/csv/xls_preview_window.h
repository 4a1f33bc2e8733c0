// TXLSform: the start of the chosen CSV file as a grid of numbered rows (file lines) and
// columns (field numbers, as the CSV reader counts them). A double-click reports the line
// and the column of the cell; what that means is up to whoever listens.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

class QLabel;
class QTableWidget;

namespace kestrum {

inline constexpr int kPreviewHeaderWidth = 33;
inline constexpr int kPreviewColumnWidth = 64;
inline constexpr int kPreviewRowHeight = 24;
// A preview dropped closer than this to the field window's right edge docks.
inline constexpr int kDockDistance = 20;
// The narrowest and lowest a placed preview gets, whatever room the screen leaves.
inline constexpr int kPreviewMinWidth = 320;
inline constexpr int kPreviewMinHeight = 200;

class TXLSform : public QWidget {
  Q_OBJECT

 public:
  explicit TXLSform(QWidget* parent = nullptr);

  // Fills the grid from the file's first lines (caption: the file's name without its folder).
  // Throws InputError when the file cannot be read; the grid then stays empty.
  void LoadFile(const std::string& path);

  void SetPrompt(const QString& prompt);
  QString prompt() const;

  // Left edge at opener's right edge, same top and height, as wide as the rest of the screen.
  void PlaceRightOf(const QWidget& opener);
  // Below opener, left-aligned and as wide as it, down to the bottom of the work area.
  void PlaceBelow(const QWidget& opener);
  // Shows the window (or brings it to the front) and repaints it.
  void ShowInFront();

  // The window this preview docks to while it is open (none: no docking).
  void SetDockWindow(std::function<QWidget*()> dockWindow) { dockWindow_ = std::move(dockWindow); }

  QLabel* Label1 = nullptr;
  QTableWidget* sgXLS = nullptr;

 signals:
  // A cell was double-clicked: line is the grid row's number (the file line), column the
  // header text of its column ("1" .. "63").
  void cellChosen(int line, const QString& column);

 protected:
  void moveEvent(QMoveEvent* event) override;

 private:
  void DockIfClose();

  std::function<QWidget*()> dockWindow_;
};

}  // namespace kestrum
