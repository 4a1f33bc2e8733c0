// TfrmEditINI: a small window that shows one text file in an editable box and can save
// it back. The main window opens it on the log file ("&View Log").
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace kestrum {

// The lines of a text file: CR LF, LF or a lone CR ends a line; a final line end does not
// start another line. Bytes that are not valid UTF-8 are read as Latin-1 (8-bit text),
// and *eightBit then says so.
QStringList SplitTextLines(const QByteArray& bytes, bool* eightBit = nullptr);

// The lines, each followed by CR LF: as 8-bit text when eightBit and every character fits,
// else as UTF-8 (plain ASCII is the same either way).
QByteArray JoinTextLines(const QStringList& lines, bool eightBit = false);

class TfrmEditINI : public QDialog {
  Q_OBJECT

 public:
  // Shows the file at editFileName when it exists; otherwise the box keeps "Memo1".
  explicit TfrmEditINI(const QString& editFileName, QWidget* parent = nullptr);

  const QString& editFileName() const { return editFileName_; }

  // Writes the box's lines to the file (created or replaced). False, with the reason in
  // error, when the file cannot be written.
  bool SaveLines(QString* error);

  // Window width minus this is the left edge of "Close Edit Window".
  static constexpr int kCloseButtonOffset = 167;
  static constexpr int kButtonStripHeight = 41;

  QPlainTextEdit* Memo1 = nullptr;
  QPushButton* Button1 = nullptr;  // "Save && Exit"
  QPushButton* Button3 = nullptr;  // "Close Edit Window"

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private slots:
  void Button1Click();
  void Button3Click();

 private:
  void PlaceControls();

  QString editFileName_;
  bool eightBit_ = false;  // the file was read as 8-bit text: it is saved the same way
  QWidget* strip_ = nullptr;
};

}  // namespace kestrum
