// Small building blocks shared by the tabs of the main window.
#pragma once

#include <QString>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kestrum::ui {

// A group box with compact margins.
QGroupBox* MakeGroup(const QString& title, QWidget* parent);

// A line edit named objectName with a caption label ("Latitude") placed in grid at
// (row, column) with the edit at (row, column + 1). The label is named objectName + "Label".
QLineEdit* AddLabelledEdit(QGridLayout* grid, int row, int column, const QString& objectName,
                           const QString& caption, QWidget* parent);

// A narrow "..." button.
QPushButton* MakeEllipsisButton(const QString& objectName, QWidget* parent);

// A push button with a bold caption.
QPushButton* MakeBoldButton(const QString& objectName, const QString& caption, QWidget* parent);

// A plain line edit with an object name.
QLineEdit* MakeEdit(const QString& objectName, QWidget* parent);

// A captioned control of type W (check box, radio button, push button) with an object name.
template <class W>
W* MakeNamed(const QString& objectName, const QString& caption, QWidget* parent) {
  auto* widget = new W(caption, parent);
  widget->setObjectName(objectName);
  return widget;
}

}  // namespace kestrum::ui
