#include "ui/results_group.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/form_parts.h"

namespace kestrum::ui {

ResultsGroup MakeResultsGroup(const ResultsNames& names, QWidget* parent) {
  ResultsGroup r;
  r.group = MakeGroup(QStringLiteral(" Results "), parent);
  r.grid = new QGridLayout(r.group);
  r.grid->setContentsMargins(6, 2, 6, 6);
  r.grid->setHorizontalSpacing(6);
  r.grid->setVerticalSpacing(2);
  r.grid->addWidget(new QLabel(QStringLiteral("Processed file name:"), r.group), 0, 0);
  r.grid->addWidget(new QLabel(QStringLiteral("Will be created here:"), r.group), 0, 1);
  r.binName = MakeEdit(names.binName, r.group);
  r.dir = MakeEdit(names.dir, r.group);
  r.dirButton = MakeEllipsisButton(names.dirButton, r.group);
  r.grid->addWidget(r.binName, 1, 0);
  auto* dirRow = new QHBoxLayout();
  dirRow->setSpacing(4);
  dirRow->addWidget(r.dir, 1);
  dirRow->addWidget(r.dirButton);
  r.grid->addLayout(dirRow, 1, 1);
  r.convert = MakeBoldButton(names.convert, QStringLiteral("&Convert"), r.group);
  r.convert->setToolTip(QStringLiteral("Start the processing"));
  r.convert->setEnabled(false);
  r.grid->setColumnStretch(0, 2);
  r.grid->setColumnStretch(1, 5);
  r.grid->setRowStretch(2, 1);
  return r;
}

QPlainTextEdit* AddResultsMemo(const ResultsGroup& results, const QString& objectName) {
  auto* memo = new QPlainTextEdit(results.group);
  memo->setObjectName(objectName);
  memo->setReadOnly(true);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  results.grid->addWidget(memo, 2, 1);
  return memo;
}

QCheckBox* AddWriteEpwBox(const ResultsGroup& results, const QString& objectName) {
  auto* box = new QCheckBox(QString::fromLatin1(kWriteEpwCaption), results.group);
  box->setObjectName(objectName);
  box->setToolTip(QStringLiteral(
      "Write NAME.epw beside the BIN file: the repaired year for other simulation tools"));
  results.grid->addWidget(box, 3, 0, 1, 2);
  return box;
}

}  // namespace kestrum::ui
