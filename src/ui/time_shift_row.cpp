#include "ui/time_shift_row.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <optional>

#include "run/hour_placement.h"
#include "ui/qt_text.h"

namespace kestrum::ui {

TimeShiftRow AddTimeShiftRow(QGridLayout* grid, int row, int columnSpan, const QString& shiftName,
                             const QString& utcName, QWidget* parent) {
  TimeShiftRow r;
  r.shift = new QSpinBox(parent);
  r.shift->setObjectName(shiftName);
  r.shift->setRange(-kMaxTimeShiftHours, kMaxTimeShiftHours);
  r.shift->setSuffix(QStringLiteral(" h"));
  r.shift->setToolTip(QString::fromLatin1(kTimeShiftHint));
  r.label = new QLabel(QString::fromLatin1(kTimeShiftCaption), parent);
  r.label->setObjectName(shiftName + QStringLiteral("Label"));
  r.label->setBuddy(r.shift);
  r.label->setToolTip(r.shift->toolTip());
  r.utc = new QPushButton(QString::fromLatin1(kUtcCaption), parent);
  r.utc->setObjectName(utcName);
  r.utc->setToolTip(QString::fromLatin1(kUtcHint));
  r.utc->setEnabled(false);  // until the time zone is a whole number of hours
  auto* cells = new QHBoxLayout();
  cells->setSpacing(4);
  cells->addWidget(r.shift);
  cells->addWidget(r.utc);
  cells->addStretch(1);
  grid->addWidget(r.label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
  grid->addLayout(cells, row, 1, 1, columnSpan);
  return r;
}

void ConnectUtcButton(QPushButton* utc, QSpinBox* shift, QLineEdit* timeZone) {
  QObject::connect(timeZone, &QLineEdit::textChanged, utc, [utc](const QString& text) {
    utc->setEnabled(UtcShiftForTimeZone(ToStd(text)).has_value());
  });
  QObject::connect(utc, &QPushButton::clicked, shift, [shift, timeZone] {
    if (const std::optional<int> hours = UtcShiftForTimeZone(ToStd(timeZone->text()))) {
      shift->setValue(*hours);
    }
  });
  utc->setEnabled(UtcShiftForTimeZone(ToStd(timeZone->text())).has_value());
}

}  // namespace kestrum::ui
