#include "ui/form_parts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kestrum::ui {

QGroupBox* MakeGroup(const QString& title, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  return group;
}

QLineEdit* AddLabelledEdit(QGridLayout* grid, int row, int column, const QString& objectName,
                           const QString& caption, QWidget* parent) {
  auto* edit = MakeEdit(objectName, parent);
  auto* label = new QLabel(caption, parent);
  label->setObjectName(objectName + QStringLiteral("Label"));
  label->setBuddy(edit);
  grid->addWidget(label, row, column, Qt::AlignRight | Qt::AlignVCenter);
  grid->addWidget(edit, row, column + 1);
  return edit;
}

QPushButton* MakeEllipsisButton(const QString& objectName, QWidget* parent) {
  auto* button = new QPushButton(QStringLiteral("..."), parent);
  button->setObjectName(objectName);
  button->setFixedWidth(28);
  return button;
}

QPushButton* MakeBoldButton(const QString& objectName, const QString& caption, QWidget* parent) {
  auto* button = MakeNamed<QPushButton>(objectName, caption, parent);
  QFont font = button->font();
  font.setBold(true);
  button->setFont(font);
  return button;
}

QLineEdit* MakeEdit(const QString& objectName, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(objectName);
  return edit;
}

}  // namespace kestrum::ui
