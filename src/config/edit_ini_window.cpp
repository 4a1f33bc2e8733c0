#include "config/edit_ini_window.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSaveFile>

#include "ui/window_placement.h"

namespace kestrum {

namespace {

constexpr int kWidth = 552;
constexpr int kHeight = 375;

// Valid UTF-8 survives the way there and back; an invalid byte comes back as U+FFFD.
bool IsUtf8(const QByteArray& bytes) { return QString::fromUtf8(bytes).toUtf8() == bytes; }

// Courier New at the given pixel height, or another fixed-pitch family where it is missing.
QFont FixedPitchFont(int pixels) {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::Monospace, QFont::PreferDefault);
  font.setFixedPitch(true);
  font.setPixelSize(pixels);
  if (QFontInfo(font).fixedPitch()) return font;
  QFont fallback = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fallback.setPixelSize(pixels);
  if (QFontInfo(fallback).fixedPitch()) return fallback;
  for (const QString& family : QFontDatabase::families()) {
    if (QFontDatabase::isFixedPitch(family)) {
      QFont any(family);
      any.setPixelSize(pixels);
      return any;
    }
  }
  return font;
}

bool FitsEightBit(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() > 0xFF) return false;
  }
  return true;
}

}  // namespace

QStringList SplitTextLines(const QByteArray& bytes, bool* eightBit) {
  const bool utf8 = IsUtf8(bytes);
  if (eightBit != nullptr) *eightBit = !utf8;
  const QString text = utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
  QStringList lines;
  QString line;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      lines.append(line);
      line.clear();
      if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
        ++i;
      }
    } else {
      line.append(c);
    }
  }
  if (!line.isEmpty()) lines.append(line);
  return lines;
}

QByteArray JoinTextLines(const QStringList& lines, bool eightBit) {
  bool latin1 = eightBit;
  for (const QString& line : lines) latin1 = latin1 && FitsEightBit(line);
  QByteArray bytes;
  for (const QString& line : lines) {
    bytes.append(latin1 ? line.toLatin1() : line.toUtf8());
    bytes.append("\r\n");
  }
  return bytes;
}

TfrmEditINI::TfrmEditINI(const QString& editFileName, QWidget* parent)
    : QDialog(parent), editFileName_(editFileName) {
  setObjectName(QStringLiteral("frmEditINI"));
  setWindowTitle(QStringLiteral("Varnell-Kestrum Edit/View Configuration File"));
  setSizeGripEnabled(true);
  resize(kWidth, kHeight);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setFont(FixedPitchFont(15));
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setPlainText(QStringLiteral("Memo1"));

  strip_ = new QWidget(this);
  strip_->setObjectName(QStringLiteral("panButtons"));
  Button1 = new QPushButton(QStringLiteral("Save && Exit"), strip_);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button3 = new QPushButton(QStringLiteral("Close Edit Window"), strip_);
  Button3->setObjectName(QStringLiteral("Button3"));
  Button3->setAutoDefault(false);
  Button1->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, &TfrmEditINI::Button1Click);
  connect(Button3, &QPushButton::clicked, this, &TfrmEditINI::Button3Click);

  // FormCreate: the file's lines replace the box's text when the file exists.
  QFile file(editFileName_);
  if (!editFileName_.isEmpty() && file.exists()) {
    if (file.open(QIODevice::ReadOnly)) {
      Memo1->setPlainText(SplitTextLines(file.readAll(), &eightBit_).join(QLatin1Char('\n')));
    } else {
      QMessageBox::critical(this, windowTitle(),
                            QStringLiteral("Cannot read %1: %2").arg(editFileName_, file.errorString()));
    }
  }

  // Centred on the work area of the screen (that of the window it is opened from), and
  // fitted into it where the work area is smaller.
  ui::CentreInWorkArea(*this, ui::WorkAreaOf(parent != nullptr ? *parent->window() : *this).center(),
                       parent);
  PlaceControls();
}

bool TfrmEditINI::SaveLines(QString* error) {
  const QString text = Memo1->toPlainText();
  const QStringList lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
  QSaveFile file(editFileName_);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error != nullptr) *error = QStringLiteral("Cannot write %1: %2").arg(editFileName_, file.errorString());
    return false;
  }
  file.write(JoinTextLines(lines, eightBit_));
  if (!file.commit()) {
    if (error != nullptr) *error = QStringLiteral("Cannot write %1: %2").arg(editFileName_, file.errorString());
    return false;
  }
  return true;
}

void TfrmEditINI::Button1Click() {
  QString error;
  if (!SaveLines(&error)) {
    QMessageBox::critical(this, windowTitle(), error);
    return;  // the window stays open
  }
  accept();
}

void TfrmEditINI::Button3Click() { reject(); }

void TfrmEditINI::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  PlaceControls();
}

void TfrmEditINI::PlaceControls() {
  const int w = width();
  const int h = height();
  Memo1->setGeometry(0, 0, w, h - kButtonStripHeight);
  strip_->setGeometry(0, h - kButtonStripHeight, w, kButtonStripHeight);
  const int buttonHeight = 27;
  const int top = (kButtonStripHeight - buttonHeight) / 2;
  Button1->setGeometry(8, top, 110, buttonHeight);
  // FormResize: "Close Edit Window" keeps its distance from the right edge.
  Button3->setGeometry(w - kCloseButtonOffset, top, 150, buttonHeight);
}

}  // namespace kestrum
