#include "csv/field_specs_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <tuple>

#include "csv/csv_preview.h"
#include "run/hour_placement.h"
#include "run/hourly_table.h"
#include "ui/pictures.h"
#include "ui/qt_text.h"
#include "ui/screen_fit.h"
#include "ui/window_placement.h"

namespace kestrum {

namespace {

constexpr int kDataRow = 0;
constexpr int kColumnRow = 1;
constexpr int kTypeRow = 2;
constexpr int kFirstRowMax = 64000;
constexpr uint8_t kNoUnit = 255;  // a unit box without a selection
constexpr int kCellPadding = 8;    // beside the widest text of a grid column
// The least of the content that a window shrunk to the screen keeps in view above its buttons.
constexpr int kLeastContentHeight = 120;

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

// A radio group on one line: its caption, then its exclusive choices (ids: their values).
QWidget* MakeLineChoice(const QString& name, const QString& caption,
                        const std::vector<std::pair<QString, int>>& choices, QButtonGroup*& group,
                        QWidget* parent) {
  auto* line = new QWidget(parent);
  line->setObjectName(name);
  auto* row = new QHBoxLayout(line);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);
  auto* label = new QLabel(caption, line);
  row->addWidget(label);
  group = new QButtonGroup(line);
  for (const auto& [text, id] : choices) {
    auto* button = new QRadioButton(text, line);
    button->setObjectName(name + QString::number(id));
    group->addButton(button, id);
    row->addWidget(button);
  }
  label->setBuddy(group->buttons().front());
  return line;
}

QComboBox* MakeUnitBox(const QString& name, const QStringList& items, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItems(items);
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);  // the moisture box changes its items
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

bool SameFieldMap(const CsvFieldMap& a, const CsvFieldMap& b) {
  const auto values = [](const CsvFieldMap& m) {
    return std::tie(m.firstRow, m.dateInd, m.moistInd, m.solarInd, m.dbtUnits, m.moistUnits,
                    m.solUnits, m.windUnits, m.columns, m.subhourly, m.timeStamps);
  };
  return values(a) == values(b);
}

bool IsReturn(const QKeyEvent& event) {
  return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

// Sets a flag for a scope and gives it back its value after.
class Guard {
 public:
  explicit Guard(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~Guard() { flag_ = before_; }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  bool& flag_;
  bool before_;
};

}  // namespace

QString CompletionCaption(const CsvFieldMap& fieldMap) {
  if (CsvFieldMapComplete(fieldMap)) return QStringLiteral("[completed]");
  QStringList names;
  for (const std::string& name : CsvMissingRequired(fieldMap)) names << ui::ToQ(name);
  if (names.isEmpty()) return QStringLiteral("[not yet completed]");
  return QStringLiteral("[not yet completed: ") + names.join(QStringLiteral(", ")) +
         QLatin1Char(']');
}

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
  Check(subhourlyChoice, stored_.subhourly, CsvResetFieldMap().subhourly);
  Check(timeStampChoice, stored_.timeStamps, CsvResetFieldMap().timeStamps);
  seFirstRow->setValue(stored_.firstRow);
  SelectCode(cbDBTunits2, stored_.dbtUnits);
  SelectCode(cbVelUnits2, stored_.windUnits);
  building_ = false;
  UpDateXLSList();
  for (int slot = 0; slot < kCsvSlots; ++slot) {
    sgXLSspecs->item(kColumnRow, slot)->setText(ui::ToQ(stored_.columns[slot]));
  }
  UpdateCompletion();

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
  sgXLSspecs->installEventFilter(this);
  connect(btnFirstRow, &QPushButton::clicked, this, [this] { btnFirstRowClick(); });
  connect(seFirstRow, &QSpinBox::valueChanged, this, [this] {
    if (preview_) preview_->SetHeaderLine(PreviewHeaderLineNow());
  });
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

// The choices and the assignments scroll when the screen leaves the window less room than
// they take; the button row below them stays in view.
void TfrmFieldSpecs::BuildControls() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(6, 4, 6, 6);
  column->setSpacing(4);

  auto* content = new QWidget();
  content->setObjectName(QStringLiteral("panContent"));
  auto* inner = new QVBoxLayout(content);
  inner->setContentsMargins(2, 0, 2, 0);
  inner->setSpacing(2);

  auto* top = new QHBoxLayout();
  auto* heading = new QLabel(QStringLiteral("Use this form to specify where to find all of the "
                                            "required data within the chosen CSV file"),
                             content);
  heading->setObjectName(QStringLiteral("lblHeading"));
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  top->addWidget(heading, 1);
  bbCSVfld = new QToolButton(content);
  bbCSVfld->setObjectName(QStringLiteral("bbCSVfld"));
  bbCSVfld->setIcon(QIcon(ui::HelpPicture(20)));
  bbCSVfld->setIconSize(QSize(20, 20));
  bbCSVfld->setToolTip(QStringLiteral("Browse URL"));
  bbCSVfld->setAutoRaise(true);
  bbCSVfld->setEnabled(static_cast<bool>(hooks_.openHelp));
  top->addWidget(bbCSVfld, 0, Qt::AlignTop);
  inner->addLayout(top);

  auto* kinds = new QGroupBox(QStringLiteral(" Type of Data in File "), content);
  kinds->setObjectName(QStringLiteral("gbDataTypes"));
  auto* kindColumn = new QVBoxLayout(kinds);
  kindColumn->setContentsMargins(6, 0, 6, 4);
  kindColumn->setSpacing(3);
  auto* kindRow = new QHBoxLayout();
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
  kindColumn->addLayout(kindRow);
  // How the rows meet the hours: neither changes an item of the layout.
  rgSubhourly = MakeLineChoice(QStringLiteral("rgSubhourly"),
                               QStringLiteral("Rows sharing an hour:"),
                               {{QStringLiteral("Keep the last"), kSubhourlyLast},
                                {QStringLiteral("Average them"), kSubhourlyMean}},
                               subhourlyChoice, kinds);
  rgSubhourly->setToolTip(QStringLiteral(
      "Half-hourly data or repeated rows: the hour takes the last of its rows, or the mean of "
      "them (the wind direction that of the mean wind vector; snow and rain when any row has "
      "them; the cloud type of the last row)"));
  rgTimeStamps = MakeLineChoice(QStringLiteral("rgTimeStamps"), QStringLiteral("Stamps mark:"),
                                {{QStringLiteral("End of hour"), kStampsEnding},
                                 {QStringLiteral("Start of hour"), kStampsBeginning}},
                                timeStampChoice, kinds);
  rgTimeStamps->setToolTip(QStringLiteral(
      "1 Date Formatted Field: the date and time of a row end its hour (01:00 is the first "
      "hour of the day) or start it (00:00 is the first hour)"));
  auto* hourRow = new QHBoxLayout();
  hourRow->setSpacing(12);
  hourRow->addWidget(rgSubhourly);
  hourRow->addWidget(rgTimeStamps);
  hourRow->addStretch(1);
  kindColumn->addLayout(hourRow);
  inner->addWidget(kinds);
  kinds_ = kinds;

  auto* assignments = new QGroupBox(QStringLiteral(" Data Assignments "), content);
  assignments->setObjectName(QStringLiteral("gbAssignments"));
  auto* assignColumn = new QVBoxLayout(assignments);
  assignColumn->setContentsMargins(6, 2, 6, 4);
  assignColumn->setSpacing(4);
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
  assignColumn->addLayout(firstRow);
  assignColumn->addWidget(BuildAssignments(assignments), 0, Qt::AlignLeft);
  lblFldMissing = new QLabel(assignments);
  lblFldMissing->setObjectName(QStringLiteral("lblFldMissing"));
  lblFldMissing->setWordWrap(true);
  // A long list of items wraps instead of widening the window.
  lblFldMissing->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  assignColumn->addWidget(lblFldMissing);
  inner->addWidget(assignments);
  inner->addStretch(1);

  body_ = new QScrollArea(this);
  body_->setObjectName(QStringLiteral("sbContent"));
  body_->setFrameShape(QFrame::NoFrame);
  body_->setWidgetResizable(true);
  body_->setWidget(content);
  column->addWidget(body_, 1);

  buttonRow_ = new QWidget(this);
  buttonRow_->setObjectName(QStringLiteral("panButtons"));
  auto* buttons = new QHBoxLayout(buttonRow_);
  buttons->setContentsMargins(0, 0, 0, 0);
  bbtnSnapRight = new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight),
                                  QStringLiteral("Snap"), buttonRow_);
  bbtnSnapRight->setObjectName(QStringLiteral("bbtnSnapRight"));
  bbtnSnapRight->setToolTip(QStringLiteral("Place the preview to the right of this window"));
  bbtnSnapBot = new QPushButton(style()->standardIcon(QStyle::SP_ArrowDown),
                                QStringLiteral("Snap"), buttonRow_);
  bbtnSnapBot->setObjectName(QStringLiteral("bbtnSnapBot"));
  bbtnSnapBot->setToolTip(QStringLiteral("Place the preview below this window"));
  btnDone = new QPushButton(QStringLiteral("Done"), buttonRow_);
  btnDone->setObjectName(QStringLiteral("btnDone"));
  btnCancel = new QPushButton(QStringLiteral("Cancel"), buttonRow_);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  buttons->addWidget(bbtnSnapRight);
  buttons->addWidget(bbtnSnapBot);
  buttons->addStretch(1);
  buttons->addWidget(btnDone);
  buttons->addWidget(btnCancel);
  column->addWidget(buttonRow_);

  // As in a dialog: Return presses the button that has the focus, elsewhere "Done".
  for (QPushButton* button : {btnFirstRow, bbtnSnapRight, bbtnSnapBot, btnDone, btnCancel}) {
    button->setAutoDefault(true);
  }
  btnDone->setDefault(true);
  setMinimumHeight(column->contentsMargins().top() + column->contentsMargins().bottom() +
                   column->spacing() + buttonRow_->sizeHint().height() + kLeastContentHeight);
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

  rowHeight_ = QFontMetrics(sgXLSspecs->font()).height() + 8;
  for (int r = 0; r < 3; ++r) sgXLSspecs->setRowHeight(r, rowHeight_);
  return assignArea_;
}

// The unit boxes with the slot of their item in the layout (-1: the layout has no such item).
std::vector<std::pair<QComboBox*, int>> TfrmFieldSpecs::UnitBoxSlots() const {
  const std::pair<QComboBox*, std::vector<CsvItem>> boxes[] = {
      {cbDBTunits2, {CsvItem::DryBulb}},
      {cbMoistUnits2, {CsvItem::DewPoint, CsvItem::WetBulb, CsvItem::RelHum}},
      {cbSolarUnits2, {CsvItem::SolarHorizontal}},
      {cbVelUnits2, {CsvItem::WindSpeed}}};
  std::vector<std::pair<QComboBox*, int>> placed;
  for (const auto& [box, items] : boxes) {
    int slot = -1;
    for (CsvItem item : items) slot = std::max(slot, CsvSlotOf(layout_, item));
    placed.emplace_back(box, slot);
  }
  return placed;
}

// Each column as wide as its item's name, its type and the unit box below it need: no wider,
// so that the window fits beside the main window on ordinary screens.
void TfrmFieldSpecs::SizeColumns() {
  const QFontMetrics metrics(sgXLSspecs->font());
  const int typeWidth = std::max(metrics.horizontalAdvance(QStringLiteral("Req'd")),
                                 metrics.horizontalAdvance(QStringLiteral("Option")));
  std::array<int, kCsvSlots> widths{};
  for (int slot = 0; slot < kCsvSlots; ++slot) {
    const int name = slot < static_cast<int>(layout_.size())
                         ? metrics.horizontalAdvance(QLatin1String(layout_[slot].name))
                         : 0;
    widths[slot] = std::max(typeWidth, name) + kCellPadding;
  }
  for (const auto& [box, slot] : UnitBoxSlots()) {
    if (slot >= 0) widths[slot] = std::max(widths[slot], box->sizeHint().width());
  }
  for (int slot = 0; slot < kCsvSlots; ++slot) sgXLSspecs->setColumnWidth(slot, widths[slot]);
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
  int usedWidth = 0;
  for (int slot = 0; slot < used; ++slot) usedWidth += sgXLSspecs->columnWidth(slot);
  sgXLSspecs->setGeometry(labelWidth, 0, usedWidth + 2 * frame, 3 * rowHeight_ + 2 * frame);
  for (int r = 0; r < 3; ++r) {
    rowLabels_[r]->setGeometry(0, frame + r * rowHeight_, labelWidth - 6, rowHeight_);
  }
  const int unitsTop = sgXLSspecs->geometry().bottom() + 4;
  const int boxHeight = cbDBTunits2->sizeHint().height();
  unitsLabel_->setGeometry(0, unitsTop, labelWidth - 6, boxHeight);
  for (const auto& [box, slot] : UnitBoxSlots()) {
    box->setVisible(slot >= 0);
    if (slot >= 0) {
      box->setGeometry(labelWidth + frame + sgXLSspecs->columnViewportPosition(slot), unitsTop,
                       sgXLSspecs->columnWidth(slot), boxHeight);
    }
  }
  assignArea_->setFixedSize(sgXLSspecs->geometry().right() + 1, unitsTop + boxHeight + 2);
  // Before the window is first shown the layouts around the area do not hear of its new size.
  for (QWidget* w = assignArea_; w != this && w != nullptr; w = w->parentWidget()) {
    w->updateGeometry();
    if (w->layout() != nullptr) w->layout()->invalidate();
  }
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
  // A row's time stamp is read only in the one-field date form.
  rgTimeStamps->setEnabled(dateChoice->checkedId() == kDateOneField);
  SizeColumns();
  PlaceAssignments();
  building_ = false;
  UpdateCompletion();
  SetTarget({FieldMapTarget::Slot, 0}, ColumnPrompt(layout_.front().name));
  if (cloudCover && hooks_.notice) hooks_.notice(QString::fromLatin1(kCloudCoverRefused));
}

void TfrmFieldSpecs::SelectSlot(int slot) {
  if (slot < 0 || slot >= static_cast<int>(layout_.size())) return;
  SetTarget({FieldMapTarget::Slot, slot}, ColumnPrompt(layout_[slot].name));
  ShowPreview();
}

void TfrmFieldSpecs::btnFirstRowClick() {
  if (target_.kind != FieldMapTarget::FirstRow) targetBeforeFirstRow_ = target_;
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
      // Back to the item that was the target before, so that the next double-click sets
      // its column and not the first row again.
      if (targetBeforeFirstRow_.kind == FieldMapTarget::Slot) {
        SelectSlot(targetBeforeFirstRow_.slot);
      } else {
        SetTarget(targetBeforeFirstRow_, QString());
      }
      return;
    case FieldMapTarget::Slot: {
      raise();
      activateWindow();
      sgXLSspecs->setFocus();
      sgXLSspecs->item(kColumnRow, target_.slot)->setText(column);
      UpdateCompletion();
      const int next = target_.slot + 1;
      if (next < static_cast<int>(layout_.size())) SelectSlot(next);
      sgXLSspecs->viewport()->update();
      return;
    }
  }
}

void TfrmFieldSpecs::bbtnSnapRightClick() { SnapPreview(ui::Side::Right); }

void TfrmFieldSpecs::bbtnSnapBotClick() { SnapPreview(ui::Side::Below); }

// The preview against that side of this window, as big as the rest of the work area; where
// that is too little, this window first makes room (ui::SnapPreview), so that its own
// buttons stay in view.
void TfrmFieldSpecs::SnapPreview(ui::Side side) {
  TXLSform* preview = EnsurePreview();
  const QWidget* like = parentWidget();
  const QRect frame = ui::FrameOf(*this, like);
  const ui::SnapPlacement snap = ui::SnapPreview(frame, LeastFrameSize(), side,
                                                 kPreviewLeastFrame, ui::WorkAreaAt(frame.center()));
  if (snap.opener != frame) ui::SetFrame(*this, snap.opener, like);
  ui::SetFrame(*preview, snap.preview, this);
  preview->ShowInFront();
}

// As wide as the button row and the three choices, as high as the buttons and a little
// of the content: the rest scrolls.
QSize TfrmFieldSpecs::LeastFrameSize() const {
  const QMargins margins = QWidget::layout()->contentsMargins();
  const int width = std::max(buttonRow_->sizeHint().width(), kinds_->sizeHint().width()) +
                    margins.left() + margins.right() + body_->verticalScrollBar()->sizeHint().width();
  return QSize(width, minimumHeight()).grownBy(ui::FrameMargins(*this, parentWidget()));
}

QSize TfrmFieldSpecs::sizeHint() const {
  const QLayout* column = QWidget::layout();  // layout() is the item layout
  const QMargins margins = column->contentsMargins();
  const QSize content = body_->widget()->sizeHint();
  const QSize buttons = buttonRow_->sizeHint();
  const int frame = 2 * body_->frameWidth();
  return QSize(std::max(content.width() + frame, buttons.width()) + margins.left() +
                   margins.right(),
               content.height() + frame + column->spacing() + buttons.height() +
                   margins.top() + margins.bottom());
}

void TfrmFieldSpecs::PlaceOnScreen() {
  const QWidget* like = parentWidget();
  // At least as wide as the least frame, which leaves room for the content's scroll bar:
  // a window that only fits its content without it could be placed nowhere.
  const QSize least = LeastFrameSize();
  const QSize preferred =
      sizeHint().grownBy(ui::FrameMargins(*this, like)).expandedTo(QSize(least.width(), 0));
  const Surroundings around = hooks_.surroundings ? hooks_.surroundings() : Surroundings{};
  QRect frame;
  if (around.mainFrame.isEmpty()) {
    const QRect here(ui::FrameOf(*this, like).topLeft(), preferred);
    frame = ui::FitToWorkArea(here, ui::WorkAreaAt(here.center()));
  } else {
    frame = ui::PlaceBesideMainWindow(around.mainFrame, around.keepClear, preferred, least,
                                      ui::WorkAreaAt(around.mainFrame.center()));
  }
  ui::SetFrame(*this, frame, like);
}

CsvFieldMap TfrmFieldSpecs::Committed() const {
  return hooks_.committed ? hooks_.committed() : stored_;
}

bool TfrmFieldSpecs::HasUncommittedChanges() const { return !SameFieldMap(Current(), Committed()); }

CsvFieldMap TfrmFieldSpecs::Current() const {
  CsvFieldMap fieldMap = stored_;
  fieldMap.firstRow = seFirstRow->value();
  fieldMap.dateInd = dateChoice->checkedId();
  fieldMap.moistInd = moistureChoice->checkedId();
  fieldMap.solarInd = solarChoice->checkedId();
  fieldMap.dbtUnits = CodeOf(cbDBTunits2);
  fieldMap.moistUnits = CodeOf(cbMoistUnits2);
  fieldMap.solUnits = CodeOf(cbSolarUnits2);
  fieldMap.windUnits = CodeOf(cbVelUnits2);
  fieldMap.subhourly = subhourlyChoice->checkedId();
  fieldMap.timeStamps = timeStampChoice->checkedId();
  for (int slot = 0; slot < kCsvSlots; ++slot) {
    fieldMap.columns[slot] = ui::ToStd(sgXLSspecs->item(kColumnRow, slot)->text());
  }
  return fieldMap;
}

void TfrmFieldSpecs::ShowWithPreview() {
  PlaceOnScreen();
  show();
  EnsurePreview()->ShowInFront();
}

TXLSform* TfrmFieldSpecs::EnsurePreview() {
  if (preview_) return preview_;
  preview_ = new TXLSform(this);
  const QPointer<TfrmFieldSpecs> self(this);
  preview_->SetDockWindow([self]() -> QWidget* { return self.data(); });
  preview_->PlaceBeside(*this, hooks_.surroundings ? hooks_.surroundings() : Surroundings{});
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
  preview_->SetHeaderLine(PreviewHeaderLineNow());
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
  // Only a "Column" cell that is the target looks selected.
  const Guard quiet(building_);
  if (target_.kind == FieldMapTarget::Slot) {
    sgXLSspecs->setCurrentCell(kColumnRow, target_.slot);
  } else {
    sgXLSspecs->setCurrentCell(-1, -1);
    sgXLSspecs->clearSelection();
  }
}

void TfrmFieldSpecs::ShowPreview() { EnsurePreview()->ShowInFront(); }

void TfrmFieldSpecs::UpdateCompletion() { lblFldMissing->setText(CompletionCaption(Current())); }

void TfrmFieldSpecs::SetLayoutHeaderLine(int line) {
  layoutHeaderLine_ = line;
  if (preview_) preview_->SetHeaderLine(PreviewHeaderLineNow());
}

int TfrmFieldSpecs::PreviewHeaderLineNow() const {
  return PreviewHeaderLine(layoutHeaderLine_, seFirstRow->value());
}

void TfrmFieldSpecs::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && !isActiveWindow() && !closing_ &&
      hooks_.completeness) {
    hooks_.completeness(Complete());
  }
}

void TfrmFieldSpecs::keyPressEvent(QKeyEvent* event) {
  if (IsReturn(*event)) {
    btnDone->click();
  } else if (event->key() == Qt::Key_Escape) {
    btnCancel->click();
  } else {
    QWidget::keyPressEvent(event);
  }
}

bool TfrmFieldSpecs::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sgXLSspecs && event->type() == QEvent::KeyPress &&
      IsReturn(*static_cast<QKeyEvent*>(event)) && sgXLSspecs->currentRow() == kColumnRow) {
    SelectSlot(sgXLSspecs->currentColumn());
    if (preview_) preview_->sgXLS->setFocus();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TfrmFieldSpecs::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    if (outcome_ == Outcome::Done && hooks_.commit) hooks_.commit(Current());
    // Closing takes the focus away from the window as well; the flag now follows the field
    // map in force: this window's after "Done", else the one committed before.
    if (hooks_.completeness) {
      hooks_.completeness(CsvFieldMapComplete(outcome_ == Outcome::Done ? Current() : Committed()));
    }
    if (preview_) preview_->close();
    emit closed();
  }
  QWidget::closeEvent(event);
}

}  // namespace kestrum
