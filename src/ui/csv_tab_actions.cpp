#include "ui/csv_tab_actions.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <exception>

#include "csv/csv_preview.h"
#include "csv/field_specs_window.h"
#include "csv/layout_offer.h"
#include "csv/xls_preview_window.h"
#include "ui/picker_rules.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace kestrum::ui {

namespace {

constexpr const char* kFeedbackAddress = "csv-feedback@kestrum.example";
constexpr const char* kSupportAddress = "support@kestrum.example";

void SetField(QLineEdit* field, const QString& text) {
  field->setText(text);
  field->setCursorPosition(0);
}

QRect OnDesktop(const QWidget& widget) {
  return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

// The named layout of the file at path; nothing for a file of none, and for one that cannot
// be read (not a regular file, no such file, unreadable), which the field window's preview
// reports when it opens, as for any file.
std::optional<LayoutMatch> LayoutOfFile(const QString& path) {
  if (!QFileInfo(path).isFile()) return std::nullopt;
  try {
    return DetectLayout(ToStd(path));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

QString CsvUnderDevelopmentText() {
  return QStringLiteral("Conversion of user-supplied data in a CSV format is currently under "
                        "development,\n please check your results carefully.\n\n"
                        "If you have constructive suggestions or positive feedback, send them "
                        "to: \n") +
         QLatin1String(kFeedbackAddress) +
         QStringLiteral("\n\nFor all other comments, please write to ") +
         QLatin1String(kSupportAddress) + QLatin1Char('.');
}

CsvTabActions::CsvTabActions(QWidget& window, CsvTab& tab, Settings& settings,
                             CsvTabHooks hooks)
    : QObject(&window), window_(window), tab_(tab), settings_(settings),
      hooks_(std::move(hooks)) {
  connect(tab_.btnGetXLS, &QPushButton::clicked, this, [this] { btnGetXLSClick(); });
  connect(tab_.btnFieldSpecs, &QPushButton::clicked, this, [this] { btnFieldSpecsClick(); });
  connect(tab_.btnFindSiteInfo, &QPushButton::clicked, this,
          [this] { btnFindSiteInfoClick(); });
}

// The windows go before the main window's state they report into.
CsvTabActions::~CsvTabActions() {
  delete fieldSpecs_.data();
  delete findPreview_.data();
}

void CsvTabActions::btnGetXLSClick() {
  hooks_.notice(CsvUnderDevelopmentText());
  const QString initial = InitialFolderFor(tab_.edXLSfn->text(), QDir::currentPath());
  const QString chosen = QFileDialog::getOpenFileName(&window_, QString(), initial,
                                                      QLatin1String(kCsvFileFilter));
  if (!chosen.isEmpty()) UseCSVFile(chosen);
}

void CsvTabActions::UseCSVFile(const QString& path) {
  SetField(tab_.edXLSfn, path);
  settings_.csvFileName = ToStd(path).substr(0, kMaxSettingText);
  // What a layout took for the file before (its notes among them) is gone with it.
  layout_.reset();
  layoutPending_ = false;
  layoutHeaderLine_ = 0;
  ResetCsvSite();
  // The reset field map assigns nothing: Convert waits for the window again.
  hooks_.setComplete(false);
  hooks_.refresh();
  SetField(tab_.edCSVBinName, ToQ(BinFileNameFor(ToStd(path))));
  tab_.btnFieldSpecs->setEnabled(true);
  tab_.btnFindSiteInfo->setEnabled(true);
  if (QFileInfo(path).suffix().compare(QStringLiteral("xls"), Qt::CaseInsensitive) == 0) {
    hooks_.notice(QLatin1String(kXlsRemovedText));
  }
  const std::optional<LayoutMatch> match = LayoutOfFile(path);
  if (!match) return;
  layoutHeaderLine_ = match->headerLine;
  if (hooks_.question && hooks_.question(ToQ(LayoutOfferText(*match)))) TakeLayout(*match);
}

void CsvTabActions::TakeLayout(const LayoutMatch& match) {
  if (fieldSpecs_) fieldSpecs_->close();  // it shows another field map: not committed
  settings_.csvSite = match.site;
  SetField(tab_.ledCSVdesc, ToQ(match.site.description));
  SetField(tab_.ledCSVlat, ToQ(match.site.latitude));
  SetField(tab_.ledCSVlon, ToQ(match.site.longitude));
  SetField(tab_.ledCSVtz, ToQ(match.site.timeZone));
  SetField(tab_.ledCSVelev, ToQ(match.site.elevation));
  settings_.csvTimeShift = match.timeShiftHours;
  tab_.seCSVTimeShift->setValue(match.timeShiftHours);
  layout_ = match;
  layoutPending_ = true;
  layoutHeaderLine_ = match.headerLine;
  OpenFieldSpecs(match.fieldMap, true);
}

void CsvTabActions::TakeOfferBack() {
  if (!layout_ || !layoutPending_) return;
  const SiteInfo& site = layout_->site;
  const std::pair<QLineEdit*, std::string SiteInfo::*> fields[] = {
      {tab_.ledCSVdesc, &SiteInfo::description}, {tab_.ledCSVlat, &SiteInfo::latitude},
      {tab_.ledCSVlon, &SiteInfo::longitude},    {tab_.ledCSVtz, &SiteInfo::timeZone},
      {tab_.ledCSVelev, &SiteInfo::elevation}};
  // What the user typed meanwhile stays.
  for (const auto& [field, member] : fields) {
    if (field->text() != ToQ(site.*member)) continue;
    field->clear();
    settings_.csvSite.*member = std::string();
  }
  if (tab_.seCSVTimeShift->value() == layout_->timeShiftHours) {
    tab_.seCSVTimeShift->setValue(0);
    settings_.csvTimeShift = 0;
  }
  layout_.reset();
  layoutPending_ = false;
}

std::vector<std::string> CsvTabActions::LayoutNotes(const SiteInfo& site, int timeShiftHours) const {
  const LayoutMatch* layout = takenLayout();
  return layout != nullptr ? LayoutRunNotes(*layout, site, timeShiftHours)
                           : std::vector<std::string>();
}

void CsvTabActions::ResetCsvSite() {
  settings_.csvSite = SiteInfo{};
  for (QLineEdit* field :
       {tab_.ledCSVdesc, tab_.ledCSVlat, tab_.ledCSVlon, tab_.ledCSVtz, tab_.ledCSVelev}) {
    field->clear();
  }
  settings_.csvFieldMap = CsvResetFieldMap();
  // The shift belongs to the file's clock and its site's time zone, emptied above.
  settings_.csvTimeShift = 0;
  tab_.seCSVTimeShift->setValue(0);
}

void CsvTabActions::btnFieldSpecsClick() {
  if (fieldSpecs_) {
    fieldSpecs_->show();
    fieldSpecs_->raise();
    fieldSpecs_->activateWindow();
    return;
  }
  OpenFieldSpecs(settings_.csvFieldMap, false);
}

void CsvTabActions::OpenFieldSpecs(const CsvFieldMap& opening, bool offer) {
  TfrmFieldSpecs::Hooks hooks;
  hooks.commit = [this](const CsvFieldMap& fieldMap) { settings_.csvFieldMap = fieldMap; };
  hooks.completeness = hooks_.setComplete;
  hooks.notice = hooks_.notice;
  hooks.error = hooks_.error;
  hooks.openHelp = hooks_.openFieldHelp;
  hooks.committed = [this] { return settings_.csvFieldMap; };
  hooks.surroundings = [this] { return Around(); };
  fieldSpecs_ = new TfrmFieldSpecs(opening, settings_.csvFileName, std::move(hooks), &window_);
  fieldSpecs_->SetLayoutHeaderLine(layoutHeaderLine_);
  TfrmFieldSpecs* window = fieldSpecs_;
  connect(fieldSpecs_, &TfrmFieldSpecs::closed, this, [this, window, offer] {
    const bool done = window->outcome() == TfrmFieldSpecs::Outcome::Done;
    fieldSpecs_ = nullptr;
    if (offer && done) {
      layoutPending_ = false;  // taken: its notes go with the runs
    } else if (offer) {
      TakeOfferBack();
    }
    hooks_.refresh();
  });
  fieldSpecs_->ShowWithPreview();
}

void CsvTabActions::btnFindSiteInfoClick() {
  if (fieldSpecs_) fieldSpecs_->ClearTarget();
  if (fieldSpecs_ && fieldSpecs_->preview() != nullptr && fieldSpecs_->preview()->isVisible()) {
    fieldSpecs_->preview()->ShowInFront();
    return;
  }
  if (findPreview_ && findPreview_->isVisible()) {
    findPreview_->ShowInFront();
    return;
  }
  delete findPreview_.data();
  // Its double-clicks are not connected: this preview only helps to read the site data.
  findPreview_ = new TXLSform(&window_);
  findPreview_->SetDockWindow([this]() -> QWidget* { return fieldSpecs_.data(); });
  findPreview_->PlaceBeside(window_, Around());
  findPreview_->SetHeaderLine(PreviewHeaderLine(layoutHeaderLine_, settings_.csvFieldMap.firstRow));
  findPreview_->ShowInFront();
  try {
    findPreview_->LoadFile(settings_.csvFileName);
  } catch (const std::exception& e) {
    hooks_.error(ToQ(e.what()));
  }
}

bool CsvTabActions::CloseFieldSpecs() {
  if (!fieldSpecs_) return false;
  const bool uncommitted = fieldSpecs_->HasUncommittedChanges();
  fieldSpecs_->close();
  return uncommitted;
}

Surroundings CsvTabActions::Around() const {
  return {ui::FrameOf(window_), OnDesktop(*tab_.btnProcCSV).united(OnDesktop(*tab_.lblFldCompleted))};
}

void CsvTabActions::DiscardFieldSpecs() {
  delete fieldSpecs_.data();
  fieldSpecs_ = nullptr;
}

}  // namespace kestrum::ui
