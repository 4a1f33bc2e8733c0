#include "csv/field_specs_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "csv/xls_preview_window.h"
#include "run/hourly_table.h"
#include "ui/pictures.h"
#include "ui/qt_text.h"

namespace kestrum {

namespace {

constexpr int kDataRow = 0;
constexpr int kColumnRow = 1;
constexpr int kTypeRow = 2;
constexpr int kFirstRowMax = 64000;
constexpr uint8_t kNoUnit = 255;  // a unit box without a selection

const QStringList kTemperatureUnits = {QStringLiteral("° F"), QStringLiteral("° C")};
const QStringList kHumidityUnits = {QStringLiteral("% 0-100"), QStringLiteral("frac 0-1")};
const QStringList kSolarUnits = {QStringLiteral("w/m²"), QStringLiteral("btu/hr-ft²")};
const QStringList kWindUnits = {QStringLiteral("mph"), QStringLiteral("knots"),
                                QStringLiteral("m/s")};

// A radio group: a titled box of exclusive choices whose ids are their positions.
QGroupBox* MakeChoice(const QString& name, const QString& title, const QStringList& captions,
                      QButtonGroup*& group, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(name);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(6, 2, 6, 4);
  column->setSpacing(2);
  group = new QButtonGroup(box);
  for (int i = 0; i < captions.size(); ++i) {
    auto* button = new QRadioButton(captions[i], box);
    button->setObjectName(name + QString::number(i));
    group->addButton(button, i);
    column->addWidget(button);
  }
  column->addStretch(1);
  return box;
}

QComboBox* MakeUnitBox(const QString& name, const QStringList& items, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItems(items);
  return box;
}

// A stored choice outside the group falls back to its first-start value.
void Check(QButtonGroup* group, int32_t value, int32_t fallback) {
  QAbstractButton* button = group->button(value);
  if (button == nullptr) button = group->button(fallback);
  button->setChecked(true);
}

// The box's position for a code; a code it does not offer leaves it without a selection.
void SelectCode(QComboBox* box, uint8_t code) {
  box->setCurrentIndex(code < box->count() ? code : -1);
}

uint8_t CodeOf(const QComboBox* box) {
  const int index = box->currentIndex();
  return index < 0 ? kNoUnit : static_cast<uint8_t>(index);
}

}  // namespace

QString ColumnPrompt(const char* itemName) {
  return QStringLiteral("Dbl-Click on the column containing ") + QLatin1String(itemName) +
         QStringLiteral(" data:");
}

TfrmFieldSpecs::TfrmFieldSpecs(const CsvFieldMap& stored, std::string csvFile, Hooks hooks,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), stored_(stored), csvFile_(std::move(csvFile)),
      hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("frmFieldSpecs"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("CSV Field Specifications"));
  if (parent != nullptr) setFont(parent->font());  // the main window's text size
  BuildControls();

  // The choices, the first row and the units as stored; then the layout and the stored
  // assignments, slot by slot.
  building_ = true;
  Check(dateChoice, stored_.dateInd, CsvResetFieldMap().dateInd);
  Check(moistureChoice, stored_.moistInd, CsvResetFieldMap().moistInd);
  Check(solarChoice, stored_.solarInd, CsvResetFieldMap().solarInd);
  seFirstRow->setValue(stored_.firstRow);
  SelectCode(cbDBTunits2, stored_.dbtUnits);
  SelectCode(cbVelUnits2, stored_.windUnits);
  building_ = false;
  UpDateXLSList();
  for (int slot = 0; slot < kCsvSlots; ++slot) {
    sgXLSspecs->item(kColumnRow, slot)->setText(ui::ToQ(stored_.columns[slot]));
  }

  for (QButtonGroup* group : {dateChoice, moistureChoice, solarChoice}) {
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
      if (checked && !building_) UpDateXLSList();
    });
  }
  connect(sgXLSspecs, &QTableWidget::cellClicked, this, [this](int row, int column) {
    if (row == kColumnRow) SelectSlot(column);
  });
  connect(sgXLSspecs, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
    const FieldMapTarget chosen{FieldMapTarget::Slot, column};
    if (!building_ && row == kColumnRow && !(target_ == chosen)) SelectSlot(column);
  });
  connect(btnFirstRow, &QPushButton::clicked, this, [this] { btnFirstRowClick(); });
  connect(btnDone, &QPushButton::clicked, this, [this] {
    outcome_ = Outcome::Done;
    close();
  });
  connect(btnCancel, &QPushButton::clicked, this, [this] {
    outcome_ = Outcome::Cancel;
    close();
  });
  connect(bbtnSnapRight, &QPushButton::clicked, this, [this] { bbtnSnapRightClick(); });
  connect(bbtnSnapBot, &QPushButton::clicked, this, [this] { bbtnSnapBotClick(); });
  connect(bbCSVfld, &QToolButton::clicked, this, [this] {
    if (hooks_.openHelp) hooks_.openHelp();
  });
}

TfrmFieldSpecs::~TfrmFieldSpecs() = default;

void TfrmFieldSpecs::BuildControls() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 6, 8, 8);
  column->setSpacing(6);
  column->setSizeConstraint(QLayout::SetFixedSize);

  auto* top = new QHBoxLayout();
  auto* heading = new QLabel(QStringLiteral("Use this form to specify where to find all of the "
                                            "required data within the chosen CSV file"),
                             this);
  heading->setObjectName(QStringLiteral("lblHeading"));
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  top->addWidget(heading, 1);
  bbCSVfld = new QToolButton(this);
  bbCSVfld->setObjectName(QStringLiteral("bbCSVfld"));
  bbCSVfld->setIcon(QIcon(ui::HelpPicture(24)));
  bbCSVfld->setIconSize(QSize(24, 24));
  bbCSVfld->setToolTip(QStringLiteral("Browse URL"));
  bbCSVfld->setAutoRaise(true);
  bbCSVfld->setEnabled(static_cast<bool>(hooks_.openHelp));
  top->addWidget(bbCSVfld, 0, Qt::AlignTop);
  column->addLayout(top);

  auto* kinds = new QGroupBox(QStringLiteral(" Type of Data in File "), this);
  kinds->setObjectName(QStringLiteral("gbDataTypes"));
  auto* kindRow = new QHBoxLayout(kinds);
  kindRow->setContentsMargins(6, 2, 6, 6);
  rgDateFormat = MakeChoice(QStringLiteral("rgDateFormat"), QStringLiteral(" Date Format "),
                            {QStringLiteral("1 Date Formatted Field"),
                             QStringLiteral("3 Fields: Mon, Day, Hr "),
                             QStringLiteral("None (8760 rows req'd)")},
                            dateChoice, kinds);
  rgMoisture = MakeChoice(QStringLiteral("rgMoisture"), QStringLiteral(" Moisture Data "),
                          {QStringLiteral("Dew Point Temp"), QStringLiteral("Wetbulb Temp"),
                           QStringLiteral("Relative Humidity")},
                          moistureChoice, kinds);
  rgSolarDat = MakeChoice(QStringLiteral("rgSolarDat"), QStringLiteral(" Solar "),
                          {QStringLiteral("Hor. Rad."), QStringLiteral("Hor + DN"),
                           QStringLiteral("Cloud Cover")},
                          solarChoice, kinds);
  kindRow->addWidget(rgDateFormat);
  kindRow->addWidget(rgMoisture);
  kindRow->addWidget(rgSolarDat);
  kindRow->addStretch(1);
  column->addWidget(kinds);

  auto* assignments = new QGroupBox(QStringLiteral(" Data Assignments "), this);
  assignments->setObjectName(QStringLiteral("gbAssignments"));
  auto* inner = new QVBoxLayout(assignments);
  inner->setContentsMargins(6, 4, 6, 6);
  inner->setSpacing(6);
  auto* firstRow = new QHBoxLayout();
  auto* firstRowLabel = new QLabel(QStringLiteral("Beginning Row of Data:"), assignments);
  seFirstRow = new QSpinBox(assignments);
  seFirstRow->setObjectName(QStringLiteral("seFirstRow"));
  seFirstRow->setRange(1, kFirstRowMax);
  firstRowLabel->setBuddy(seFirstRow);
  btnFirstRow = new QPushButton(QStringLiteral("..."), assignments);
  btnFirstRow->setObjectName(QStringLiteral("btnFirstRow"));
  btnFirstRow->setFixedWidth(28);
  btnFirstRow->setToolTip(QStringLiteral("Double-click the first data row in the preview"));
  firstRow->addWidget(firstRowLabel);
  firstRow->addWidget(seFirstRow);
  firstRow->addWidget(btnFirstRow);
  firstRow->addStretch(1);
  inner->addLayout(firstRow);
  inner->addWidget(BuildAssignments(assignments));
  column->addWidget(assignments);

  auto* buttons = new QHBoxLayout();
  bbtnSnapRight = new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight),
                                  QStringLiteral("Snap"), this);
  bbtnSnapRight->setObjectName(QStringLiteral("bbtnSnapRight"));
  bbtnSnapRight->setToolTip(QStringLiteral("Place the preview to the right of this window"));
  bbtnSnapBot = new QPushButton(style()->standardIcon(QStyle::SP_ArrowDown),
                                QStringLiteral("Snap"), this);
  bbtnSnapBot->setObjectName(QStringLiteral("bbtnSnapBot"));
  bbtnSnapBot->setToolTip(QStringLiteral("Place the preview below this window"));
  btnDone = new QPushButton(QStringLiteral("Done"), this);
  btnDone->setObjectName(QStringLiteral("btnDone"));
  btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  buttons->addWidget(bbtnSnapRight);
  buttons->addWidget(bbtnSnapBot);
  buttons->addStretch(1);
  buttons->addWidget(btnDone);
  buttons->addWidget(btnCancel);
  column->addLayout(buttons);
}

// The grid with its row captions and the unit boxes below it, placed by hand so that each
// box stands under its item's column.
QWidget* TfrmFieldSpecs::BuildAssignments(QWidget* parent) {
  assignArea_ = new QWidget(parent);
  assignArea_->setObjectName(QStringLiteral("panAssignments"));
  const QStringList captions = {QStringLiteral("Data"), QStringLiteral("Column"),
                                QStringLiteral("Type")};
  for (int i = 0; i < 3; ++i) {
    rowLabels_[i] = new QLabel(captions[i], assignArea_);
    rowLabels_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  unitsLabel_ = new QLabel(QStringLiteral("Units:"), assignArea_);
  unitsLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  sgXLSspecs = new QTableWidget(3, kCsvSlots, assignArea_);
  sgXLSspecs->setObjectName(QStringLiteral("sgXLSspecs"));
  sgXLSspecs->horizontalHeader()->hide();
  sgXLSspecs->verticalHeader()->hide();
  sgXLSspecs->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgXLSspecs->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgXLSspecs->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgXLSspecs->setSelectionMode(QAbstractItemView::SingleSelection);
  sgXLSspecs->setTabKeyNavigation(false);

  cbDBTunits2 = MakeUnitBox(QStringLiteral("cbDBTunits2"), kTemperatureUnits, assignArea_);
  cbMoistUnits2 = MakeUnitBox(QStringLiteral("cbMoistUnits2"), kTemperatureUnits, assignArea_);
  cbSolarUnits2 = MakeUnitBox(QStringLiteral("cbSolarUnits2"), kSolarUnits, assignArea_);
  cbVelUnits2 = MakeUnitBox(QStringLiteral("cbVelUnits2"), kWindUnits, assignArea_);

  // Every column is as wide as the widest unit box or item name needs.
  QComboBox probe(assignArea_);
  probe.addItems(kTemperatureUnits + kHumidityUnits + kSolarUnits + kWindUnits);
  const QFontMetrics metrics(sgXLSspecs->font());
  int widest = probe.sizeHint().width();
  for (const char* name : {"SolarHor", "SnowFlag", "RainFlag", "WindSpd", "Option"}) {
    widest = std::max(widest, metrics.horizontalAdvance(QLatin1String(name)) + 12);
  }
  columnWidth_ = widest;
  rowHeight_ = metrics.height() + 8;
  for (int c = 0; c < kCsvSlots; ++c) sgXLSspecs->setColumnWidth(c, columnWidth_);
  for (int r = 0; r < 3; ++r) sgXLSspecs->setRowHeight(r, rowHeight_);
  return assignArea_;
}

void TfrmFieldSpecs::PlaceAssignments() {
  const int frame = sgXLSspecs->frameWidth();
  const QFontMetrics metrics(font());
  int labelWidth = 0;
  for (const QLabel* label : rowLabels_) {
    labelWidth = std::max(labelWidth, metrics.horizontalAdvance(label->text()));
  }
  labelWidth = std::max(labelWidth, metrics.horizontalAdvance(unitsLabel_->text())) + 8;
  const int used = static_cast<int>(layout_.size());
  sgXLSspecs->setGeometry(labelWidth, 0, used * columnWidth_ + 2 * frame,
                          3 * rowHeight_ + 2 * frame);
  for (int r = 0; r < 3; ++r) {
    rowLabels_[r]->setGeometry(0, frame + r * rowHeight_, labelWidth - 6, rowHeight_);
  }
  const int unitsTop = sgXLSspecs->geometry().bottom() + 5;
  const int boxHeight = cbDBTunits2->sizeHint().height();
  unitsLabel_->setGeometry(0, unitsTop, labelWidth - 6, boxHeight);
  const std::pair<QComboBox*, std::vector<CsvItem>> boxes[] = {
      {cbDBTunits2, {CsvItem::DryBulb}},
      {cbMoistUnits2, {CsvItem::DewPoint, CsvItem::WetBulb, CsvItem::RelHum}},
      {cbSolarUnits2, {CsvItem::SolarHorizontal}},
      {cbVelUnits2, {CsvItem::WindSpeed}}};
  for (const auto& [box, items] : boxes) {
    int slot = -1;
    for (CsvItem item : items) slot = std::max(slot, CsvSlotOf(layout_, item));
    box->setVisible(slot >= 0);
    if (slot >= 0) {
      box->setGeometry(labelWidth + frame + slot * columnWidth_, unitsTop, columnWidth_,
                       boxHeight);
    }
  }
  assignArea_->setFixedSize(labelWidth + kCsvSlots * columnWidth_ + 2 * frame,
                            unitsTop + boxHeight + 2);
}

void TfrmFieldSpecs::UpDateXLSList() {
  building_ = true;
  // Every cell emptied: assignments made under other choices mean nothing under these.
  const QBrush text = palette().brush(QPalette::Text);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < kCsvSlots; ++c) {
      auto* item = new QTableWidgetItem();
      if (r == kColumnRow) {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setTextAlignment(Qt::AlignCenter);
      } else {
        item->setFlags(Qt::NoItemFlags);  // the item and type rows cannot be selected
        item->setForeground(text);
      }
      sgXLSspecs->setItem(r, c, item);
    }
  }
  const bool cloudCover = solarChoice->checkedId() == kSolarCloudCover;
  if (cloudCover) solarChoice->button(kSolarGlobal)->setChecked(true);
  layout_ = CsvLayout(dateChoice->checkedId(), moistureChoice->checkedId(),
                      solarChoice->checkedId());
  for (int slot = 0; slot < kCsvSlots; ++slot) {
    const bool used = slot < static_cast<int>(layout_.size());
    sgXLSspecs->setColumnHidden(slot, !used);
    if (!used) continue;
    sgXLSspecs->item(kDataRow, slot)->setText(QLatin1String(layout_[slot].name));
    sgXLSspecs->item(kTypeRow, slot)
        ->setText(layout_[slot].required ? QStringLiteral("Req'd") : QStringLiteral("Option"));
  }
  cbMoistUnits2->clear();
  cbMoistUnits2->addItems(moistureChoice->checkedId() == kMoistureRelHum ? kHumidityUnits
                                                                                : kTemperatureUnits);
  SelectCode(cbMoistUnits2, stored_.moistUnits);
  SelectCode(cbSolarUnits2, stored_.solUnits);
  PlaceAssignments();
  sgXLSspecs->setCurrentCell(kColumnRow, 0);
  building_ = false;
  SetTarget({FieldMapTarget::Slot, 0}, ColumnPrompt(layout_.front().name));
  if (cloudCover && hooks_.notice) hooks_.notice(QString::fromLatin1(kCloudCoverRefused));
}

void TfrmFieldSpecs::SelectSlot(int slot) {
  if (slot < 0 || slot >= static_cast<int>(layout_.size())) return;
  building_ = true;
  sgXLSspecs->setCurrentCell(kColumnRow, slot);
  building_ = false;
  SetTarget({FieldMapTarget::Slot, slot}, ColumnPrompt(layout_[slot].name));
  ShowPreview();
}

void TfrmFieldSpecs::btnFirstRowClick() {
  SetTarget({FieldMapTarget::FirstRow, -1}, QString::fromLatin1(kFirstRowPrompt));
  ShowPreview();
}

void TfrmFieldSpecs::ClearTarget() { SetTarget({}, QString()); }

void TfrmFieldSpecs::sgXLSDblClick(int line, const QString& column) {
  switch (target_.kind) {
    case FieldMapTarget::None:
      return;
    case FieldMapTarget::FirstRow:
      raise();
      activateWindow();
      seFirstRow->setFocus();
      seFirstRow->setValue(line);
      return;
    case FieldMapTarget::Slot: {
      raise();
      activateWindow();
      sgXLSspecs->setFocus();
      sgXLSspecs->item(kColumnRow, target_.slot)->setText(column);
      const int next = target_.slot + 1;
      if (next < static_cast<int>(layout_.size())) SelectSlot(next);
      sgXLSspecs->viewport()->update();
      return;
    }
  }
}

void TfrmFieldSpecs::bbtnSnapRightClick() {
  TXLSform* preview = EnsurePreview();
  preview->PlaceRightOf(*this);
  preview->ShowInFront();
}

void TfrmFieldSpecs::bbtnSnapBotClick() {
  TXLSform* preview = EnsurePreview();
  preview->PlaceBelow(*this);
  preview->ShowInFront();
}

CsvFieldMap TfrmFieldSpecs::Current() const {
  // Choices the window shows no control for (the rule for rows sharing an hour, the
  // time-stamp choice) keep their stored values.
  CsvFieldMap fieldMap = stored_;
  fieldMap.firstRow = seFirstRow->value();
  fieldMap.dateInd = dateChoice->checkedId();
  fieldMap.moistInd = moistureChoice->checkedId();
  fieldMap.solarInd = solarChoice->checkedId();
  fieldMap.dbtUnits = CodeOf(cbDBTunits2);
  fieldMap.moistUnits = CodeOf(cbMoistUnits2);
  fieldMap.solUnits = CodeOf(cbSolarUnits2);
  fieldMap.windUnits = CodeOf(cbVelUnits2);
  for (int slot = 0; slot < kCsvSlots; ++slot) {
    fieldMap.columns[slot] = ui::ToStd(sgXLSspecs->item(kColumnRow, slot)->text());
  }
  return fieldMap;
}

void TfrmFieldSpecs::ShowWithPreview() {
  show();
  EnsurePreview()->ShowInFront();
}

TXLSform* TfrmFieldSpecs::EnsurePreview() {
  if (preview_) return preview_;
  preview_ = new TXLSform(this);
  const QPointer<TfrmFieldSpecs> self(this);
  preview_->SetDockWindow([self]() -> QWidget* { return self.data(); });
  preview_->PlaceRightOf(*this);
  connect(preview_, &TXLSform::cellChosen, this,
          [this](int line, const QString& column) { sgXLSDblClick(line, column); });
  switch (target_.kind) {
    case FieldMapTarget::Slot:
      preview_->SetPrompt(ColumnPrompt(layout_[target_.slot].name));
      break;
    case FieldMapTarget::FirstRow:
      preview_->SetPrompt(QString::fromLatin1(kFirstRowPrompt));
      break;
    case FieldMapTarget::None:
      break;
  }
  try {
    preview_->LoadFile(csvFile_);
  } catch (const std::exception& e) {
    if (hooks_.error) hooks_.error(ui::ToQ(e.what()));
  }
  return preview_;
}

void TfrmFieldSpecs::SetTarget(FieldMapTarget target, const QString& prompt) {
  target_ = target;
  if (preview_) preview_->SetPrompt(prompt);
}

void TfrmFieldSpecs::ShowPreview() { EnsurePreview()->ShowInFront(); }

void TfrmFieldSpecs::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && !isActiveWindow() && !closing_ &&
      hooks_.completeness) {
    hooks_.completeness(Complete());
  }
}

void TfrmFieldSpecs::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    if (outcome_ == Outcome::Done && hooks_.commit) hooks_.commit(Current());
    // Closing takes the focus away from the window as well.
    if (hooks_.completeness) hooks_.completeness(Complete());
    if (preview_) preview_->close();
    emit closed();
  }
  QWidget::closeEvent(event);
}

}  // namespace kestrum
