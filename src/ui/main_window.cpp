#include "ui/main_window.h"

#include <QCloseEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "config/edit_ini_window.h"
#include "config/settings_access.h"
#include "epw/epw_header.h"
#include "format/outside_libraries.h"
#include "review/review_page_window.h"
#include "run/run_checks.h"
#include "run/run_error.h"
#include "ui/automatic_run.h"
#include "ui/picker_rules.h"
#include "ui/pictures.h"
#include "ui/qt_text.h"
#include "ui/time_shift_row.h"
#include "ui/window_placement.h"

namespace kestrum::ui {

namespace {

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

// Clears a flag when the scope ends, also by an exception.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

// A field shows the start of its text, as a typed text would be read.
void SetField(QLineEdit* field, const QString& text) {
  field->setText(text);
  field->setCursorPosition(0);
}

}  // namespace

TForm1::TForm1(WindowStart start, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      start_(std::move(start)),
      table_(std::make_unique<HourlyTable>()),
      runUi_(*this) {
  CompleteWithMessageBoxes(start_.dialogs, this);
  setObjectName(QStringLiteral("Form1"));
  setWindowIcon(QIcon(WeatherPicture(48)));
  setFixedSize(kClientWidth, kClientHeight);
  // The frame has a fixed size: the text size is fixed with it, in pixels.
  QFont small = font();
  small.setPixelSize(kFontPixels);
  setFont(small);
  BuildTabs();
  ConnectHandlers();
  ConnectReviewTab();
  runUi_.setNoticeHook([this](const QString& message) { Notify(message); });
  runUi_.setReviewList(review.cbResultsList, review.lblResList);
  runUi_.setActiveMemo(epw.memEPW);

  // Place the window where it was left; caption and application title.
  settings_ = Settings::Defaults(start_.paths);
  try {
    settings_ = ReadSettingsFile(start_.paths.settingsFile, start_.paths);
    settingsProblem_ = SettingsFileProblem(start_.paths.settingsFile);
  } catch (const std::exception& e) {
    ReportError(e);
  }
  // Where it was left, as long as that lies inside the screen's work area (a window left on
  // a larger or a second screen comes back inside this one).
  move(settings_.left, settings_.top);
  KeepInWorkArea(*this);
  SetWindowCaption(*this, QString::fromLatin1(kStartCaption), QString::fromLatin1(kStartCaption));

  // The settings into the controls (this reads the header of a remembered EPW file).
  MainWindowState state;
  try {
    LoadSettings(settings_, state);
  } catch (const std::exception& e) {
    ReportError(e);
  }
  ShowState(state);
  runLog_.set_path(settings_.logFilePath);
  editFileName_ = settings_.logFilePath;

  helpPagePath_ = HelpPagePath(ToQ(start_.paths.programDir));
  helpPagePresent_ = QFileInfo(helpPagePath_).isFile();
  csv.bbCSVtop->setEnabled(helpPagePresent_);
  csvActions_ = std::make_unique<CsvTabActions>(
      *this, csv, settings_,
      CsvTabHooks{.notice = start_.dialogs.notice,
                  .error = start_.dialogs.error,
                  .question = start_.dialogs.question,
                  .setComplete =
                      [this](bool complete) {
                        fieldMapComplete_ = complete;
                        if (isActiveWindow()) FormActivate();  // activated before it was told
                      },
                  .refresh = [this] { FormActivate(); },
                  .openFieldHelp = helpPagePresent_
                                       ? std::function<void()>(
                                             [this] { OpenHelpAt(QStringLiteral("#CSVfld")); })
                                       : std::function<void()>()});

  runState_.automaticMode = IsAutomaticMode(start_.arguments);
  runUi_.setAutomaticMode(runState_.automaticMode);
  tabs->setCurrentWidget(epw.page);
  rewriteLogPending_ = setup.cbReWriteLog->isChecked();
}

TForm1::~TForm1() = default;

void TForm1::BuildTabs() {
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(3, 3, 3, 3);
  tabs = new QTabWidget(this);
  tabs->setObjectName(QStringLiteral("PageControl1"));
  tabs->tabBar()->setAttribute(Qt::WA_Hover, true);
  // All four captions in one row, without scroll arrows.
  tabs->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 7px; }"));
  tabs->setUsesScrollButtons(false);
  epw = EpwTab::Build(tabs);
  csv = CsvTab::Build(tabs);
  review = ReviewTab::Build(tabs);
  setup = SetupTab::Build(tabs);
  tabs->addTab(epw.page, QString::fromLatin1(kEpwTabCaption));
  tabs->addTab(csv.page, QString::fromLatin1(kCsvTabCaption));
  tabs->addTab(review.page, QString::fromLatin1(kReviewTabCaption));
  tabs->addTab(setup.page, QString::fromLatin1(kSetupTabCaption));
  frame->addWidget(tabs);
}

void TForm1::ConnectHandlers() {
  connect(epw.btnGetEPW, &QPushButton::clicked, this, [this] { btnGetEPWClick(); });
  connect(epw.btnEPWdir, &QPushButton::clicked, this, [this] { btnEPWdirClick(epw.edEPWdir); });
  connect(csv.btnCSVdir, &QPushButton::clicked, this, [this] { btnEPWdirClick(csv.edCSVdir); });
  connect(setup.btnInterimPath, &QPushButton::clicked, this,
          [this] { btnEPWdirClick(setup.edInterimPath); });
  connect(setup.btnLOG, &QPushButton::clicked, this, [this] { btnLOGClick(); });
  connect(setup.edLOG, &QLineEdit::editingFinished, this, [this] { edLOGChange(); });
  connect(csv.btnView, &QPushButton::clicked, this, [this] { btnViewClick(); });
  connect(csv.bbCSVtop, &QToolButton::clicked, this, [this] { bbCSVtopClick(); });
  connect(epw.btnDOEwebsite, &QPushButton::clicked, this, [this] { btnDOEwebsiteClick(); });
  connect(setup.btnResetCleanData, &QPushButton::clicked, this,
          [this] { btnResetCleanDataClick(); });
  connect(epw.btnProcEPW, &QPushButton::clicked, this, [this] { btnProcEPWClick(); });
  connect(csv.btnProcCSV, &QPushButton::clicked, this, [this] { btnProcCSVClick(); });
  ConnectUtcButton(epw.btnEPWutc, epw.seEPWTimeShift, epw.ledEPWtz);
  ConnectUtcButton(csv.btnCSVutc, csv.seCSVTimeShift, csv.ledCSVtz);
  // "Rewrite File": the log is emptied once, at the next conversion after the box is checked.
  connect(setup.cbReWriteLog, &QCheckBox::toggled, this,
          [this](bool checked) { rewriteLogPending_ = checked; });
}

void TForm1::ConnectReviewTab() {
  ReviewHooks hooks;
  hooks.interimDir = [this] { return setup.edInterimPath->text(); };
  hooks.notice = [this](const QString& m) { start_.dialogs.notice(m); };
  hooks.error = [this](const QString& m) { start_.dialogs.error(m); };
  reviewPage_ = new ReviewPage(review, std::move(hooks), this);
  connect(tabs, &QTabWidget::currentChanged, this, [this](int index) {
    if (tabs->widget(index) == review.page) reviewPage_->tsReviewEnter();
  });
  // Another interim directory typed in: the review list shows the runs found there.
  connect(setup.edInterimPath, &QLineEdit::editingFinished, this, [this] {
    if (!setup.edInterimPath->isModified()) return;
    setup.edInterimPath->setModified(false);
    reviewPage_->interimDirectoryChanged();
  });
}

MainWindowState TForm1::ReadState() {
  MainWindowState s;
  s.edEPWfile = ToStd(epw.edEPWfile->text());
  s.edEPWBinName = ToStd(epw.edEPWBinName->text());
  s.edEPWdir = ToStd(epw.edEPWdir->text());
  s.ledEPWloc = ToStd(epw.ledEPWloc->text());
  s.ledEPWlat = ToStd(epw.ledEPWlat->text());
  s.ledEPWlon = ToStd(epw.ledEPWlon->text());
  s.ledEPWtz = ToStd(epw.ledEPWtz->text());
  s.ledEPWelev = ToStd(epw.ledEPWelev->text());
  s.ledEPWcomment = ToStd(epw.ledEPWcomment->text());
  s.cbCalcSolDN = epw.cbCalcSolDN->isChecked();
  s.cbEPWuseRH = epw.cbEPWuseRH->isChecked();
  s.cbEPWuseObs = epw.cbEPWuseObs->isChecked();
  s.cbEPWWriteEpw = epw.cbEPWWriteEpw->isChecked();
  s.seEPWTimeShift = epw.seEPWTimeShift->value();
  s.btnProcEPWEnabled = epw.btnProcEPW->isEnabled();

  s.edXLSfn = ToStd(csv.edXLSfn->text());
  s.edCSVBinName = ToStd(csv.edCSVBinName->text());
  s.edCSVdir = ToStd(csv.edCSVdir->text());
  s.ledCSVdesc = ToStd(csv.ledCSVdesc->text());
  s.ledCSVlat = ToStd(csv.ledCSVlat->text());
  s.ledCSVlon = ToStd(csv.ledCSVlon->text());
  s.ledCSVtz = ToStd(csv.ledCSVtz->text());
  s.ledCSVelev = ToStd(csv.ledCSVelev->text());
  s.btnFieldSpecsEnabled = csv.btnFieldSpecs->isEnabled();
  s.btnFindSiteInfoEnabled = csv.btnFindSiteInfo->isEnabled();
  s.cbCSVWriteEpw = csv.cbCSVWriteEpw->isChecked();
  s.seCSVTimeShift = csv.seCSVTimeShift->value();

  s.cbSaveCSV = review.cbSaveCSV->isChecked();

  setup.CommitGridEdits();
  s.grids = setup.GridTexts();
  s.cbLogIt = setup.cbLogIt->isChecked();
  s.cbClearResults = setup.cbClearResults->isChecked();
  s.cbReWriteLog = setup.cbReWriteLog->isChecked();
  s.edInterimPath = ToStd(setup.edInterimPath->text());
  s.edLOG = ToStd(setup.edLOG->text());
  return s;
}

void TForm1::ShowState(const MainWindowState& s) {
  SetField(epw.edEPWfile, ToQ(s.edEPWfile));
  SetField(epw.edEPWBinName, ToQ(s.edEPWBinName));
  SetField(epw.edEPWdir, ToQ(s.edEPWdir));
  SetField(epw.ledEPWloc, ToQ(s.ledEPWloc));
  SetField(epw.ledEPWlat, ToQ(s.ledEPWlat));
  SetField(epw.ledEPWlon, ToQ(s.ledEPWlon));
  SetField(epw.ledEPWtz, ToQ(s.ledEPWtz));
  SetField(epw.ledEPWelev, ToQ(s.ledEPWelev));
  SetField(epw.ledEPWcomment, ToQ(s.ledEPWcomment));
  epw.cbCalcSolDN->setChecked(s.cbCalcSolDN);
  epw.cbEPWuseRH->setChecked(s.cbEPWuseRH);
  epw.cbEPWuseObs->setChecked(s.cbEPWuseObs);
  epw.cbEPWWriteEpw->setChecked(s.cbEPWWriteEpw);
  epw.seEPWTimeShift->setValue(s.seEPWTimeShift);
  epw.btnProcEPW->setEnabled(s.btnProcEPWEnabled);

  SetField(csv.edXLSfn, ToQ(s.edXLSfn));
  SetField(csv.edCSVBinName, ToQ(s.edCSVBinName));
  SetField(csv.edCSVdir, ToQ(s.edCSVdir));
  SetField(csv.ledCSVdesc, ToQ(s.ledCSVdesc));
  SetField(csv.ledCSVlat, ToQ(s.ledCSVlat));
  SetField(csv.ledCSVlon, ToQ(s.ledCSVlon));
  SetField(csv.ledCSVtz, ToQ(s.ledCSVtz));
  SetField(csv.ledCSVelev, ToQ(s.ledCSVelev));
  csv.btnFieldSpecs->setEnabled(s.btnFieldSpecsEnabled);
  csv.btnFindSiteInfo->setEnabled(s.btnFindSiteInfoEnabled);
  csv.cbCSVWriteEpw->setChecked(s.cbCSVWriteEpw);
  csv.seCSVTimeShift->setValue(s.seCSVTimeShift);

  review.cbSaveCSV->setChecked(s.cbSaveCSV);

  setup.ShowGridTexts(s.grids);
  setup.cbLogIt->setChecked(s.cbLogIt);
  setup.cbClearResults->setChecked(s.cbClearResults);
  setup.cbReWriteLog->setChecked(s.cbReWriteLog);
  SetField(setup.edInterimPath, ToQ(s.edInterimPath));
  SetField(setup.edLOG, ToQ(s.edLOG));
  setup.edLOG->setToolTip(ToQ(s.edLOG));
}

void TForm1::CaptureWindowSettings() {
  const MainWindowState state = ReadState();
  CaptureSettings(state, settings_, runUi_);
  runLog_.set_path(settings_.logFilePath);
}

void TForm1::Start() {
  if (runState_.automaticMode) {
    showMinimized();
    ReportSettingsProblem();
    QTimer::singleShot(0, this, [this] { AutoRunOnIdle(); });
  } else {
    show();
    ReportSettingsProblem();
  }
}

void TForm1::ReportSettingsProblem() {
  if (settingsProblem_.empty()) return;
  if (!runState_.automaticMode) {
    start_.dialogs.notice(ToQ(settingsProblem_));
    return;
  }
  // Nobody waits at the screen: the log (begun afresh here when "Rewrite File" is on, so
  // that the run keeps the line) and stderr say it.
  std::fprintf(stderr, "kestrum: %s\n", settingsProblem_.c_str());
  try {
    if (rewriteLogPending_) {
      runLog_.Truncate();
      rewriteLogPending_ = false;
    }
    runLog_.WriteLogLine("     " + settingsProblem_);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrum: %s\n", e.what());
  }
}

RunOutcome TForm1::RunConversion(RunBranch branch) {
  if (start_.libraries == nullptr) {
    throw RunError("The libraries libsolvane.so and libftpack.so are not bound; no conversion "
                   "can run.");
  }
  FlagScope running(running_);
  const MainWindowState state = ReadState();
  CaptureSettings(state, settings_, runUi_);
  runLog_.set_path(settings_.logFilePath);
  RunRequest request = MakeRunRequest(branch, settings_, state, start_.paths);
  // A file taken by its layout: what the layout took upon itself is warned, as the command
  // line does.
  if (branch == RunBranch::Csv) {
    request.notes = csvActions_->LayoutNotes(request.site, request.timeShiftHours);
  }
  // A bad output name or a limits row with Min above Max: a message, and no run.
  if (const std::string problem = RunRequestProblem(request, runLog_.path()); !problem.empty()) {
    throw RunError(problem);
  }
  if (rewriteLogPending_) {
    runLog_.Truncate();
    rewriteLogPending_ = false;
  }
  // A run whose interim directory does not exist runs in the program's directory; the
  // field says so at once (the setting follows at the next capture).
  if (!IsDirectory(state.edInterimPath)) {
    SetField(setup.edInterimPath, ToQ(start_.paths.defaultInterimDir));
  }
  runUi_.setActiveMemo(branch == RunBranch::Epw ? epw.memEPW : csv.memCSV);
  RunServices services{*table_, runState_, runUi_, runLog_, *start_.libraries};
  const RunOutcome outcome = Process(request, services);
  if (outcome.interimReplaced) SetField(setup.edInterimPath, ToQ(outcome.interimDir));
  return outcome;
}

void TForm1::btnProcEPWClick() {
  if (running_) return;
  try {
    RunConversion(RunBranch::Epw);
  } catch (const std::exception& e) {
    ReportError(e);
  }
}

void TForm1::btnProcCSVClick() {
  if (running_) return;
  // An open field window closes uncommitted: the run uses the committed one, and says so
  // when the window showed another.
  if (csvActions_->CloseFieldSpecs()) {
    AppendProgressLine(*csv.memCSV, QString::fromLatin1(kFieldChangesNotUsedText));
  }
  try {
    RunConversion(RunBranch::Csv);
  } catch (const std::exception& e) {
    ReportError(e);
  }
}

void TForm1::btnGetEPWClick() {
  const QString initial = InitialFolderFor(epw.edEPWfile->text(), QDir::currentPath());
  const QString chosen =
      QFileDialog::getOpenFileName(this, QStringLiteral("Convert EnergyPlus weather file"),
                                   initial, QStringLiteral("EPW files (*.epw)"));
  if (chosen.isEmpty()) return;
  try {
    UseEPWFile(chosen);
  } catch (const std::exception& e) {
    ReportError(e);
  }
}

void TForm1::UseEPWFile(const QString& path) {
  SetField(epw.edEPWfile, path);
  EpwHeader header;
  header.site.description = ToStd(epw.ledEPWloc->text());
  header.site.latitude = ToStd(epw.ledEPWlat->text());
  header.site.longitude = ToStd(epw.ledEPWlon->text());
  header.site.timeZone = ToStd(epw.ledEPWtz->text());
  header.site.elevation = ToStd(epw.ledEPWelev->text());
  header.comment = ToStd(epw.ledEPWcomment->text());
  ReadEPWHeader(ToStd(path), header);
  SetField(epw.ledEPWloc, ToQ(header.site.description));
  SetField(epw.ledEPWlat, ToQ(header.site.latitude));
  SetField(epw.ledEPWlon, ToQ(header.site.longitude));
  SetField(epw.ledEPWtz, ToQ(header.site.timeZone));
  SetField(epw.ledEPWelev, ToQ(header.site.elevation));
  SetField(epw.ledEPWcomment, ToQ(header.comment));
  SetField(epw.edEPWBinName, ToQ(BinFileNameFor(ToStd(path))));
  // Another file, another clock: its rows keep their hours until the user moves them.
  epw.seEPWTimeShift->setValue(0);
  epw.btnProcEPW->setEnabled(true);
}

void TForm1::btnEPWdirClick(QLineEdit* field) {
  const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("Select a directory"),
                                                        QString(), QFileDialog::ShowDirsOnly);
  if (!dir.isEmpty()) UseDirectory(field, dir);
}

void TForm1::UseDirectory(QLineEdit* field, const QString& dir) {
  const QString before = field->text();
  SetField(field, QDir::toNativeSeparators(QDir::cleanPath(dir)));
  if (field == setup.edInterimPath && field->text() != before) {
    reviewPage_->interimDirectoryChanged();
  }
}

void TForm1::btnLOGClick() {
  const QString chosen = QFileDialog::getOpenFileName(
      this, QString(), QDir::currentPath(), QStringLiteral("Text files (*.txt);;All files (*)"));
  if (!chosen.isEmpty()) UseLogFile(chosen);
}

void TForm1::UseLogFile(const QString& path) {
  SetField(setup.edLOG, path);
  setup.edLOG->setToolTip(path);
}

void TForm1::edLOGChange() {
  settings_.logFilePath = ToStd(setup.edLOG->text().left(static_cast<qsizetype>(kMaxSettingText)));
  runLog_.set_path(settings_.logFilePath);
}

void TForm1::btnViewClick() {
  editFileName_ = settings_.logFilePath;
  TfrmEditINI viewer(ToQ(editFileName_), this);
  viewer.exec();
}

void TForm1::bbCSVtopClick() { OpenHelpAt(QStringLiteral("#CSVtop")); }

void TForm1::OpenHelpAt(const QString& anchor) {
  OpenPage(HelpPageUrl(helpPagePath_ + anchor));
}

void TForm1::btnDOEwebsiteClick() {
  if (!settings_.doeUrl.empty()) OpenPage(QUrl(ToQ(settings_.doeUrl)));
}

bool TForm1::OpenPage(const QUrl& page) { return OpenPageOrSay(page, start_.dialogs.error); }

void TForm1::btnResetCleanDataClick() { setup.ShowGridTexts(DefaultGridTexts()); }

void TForm1::FormActivate() {
  csv.lblFldCompleted->setText(fieldMapComplete_ ? QStringLiteral("[completed]")
                                                  : QStringLiteral("[not yet completed]"));
  csv.btnProcCSV->setEnabled(fieldMapComplete_);
}

void TForm1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (running_) {  // a conversion is in progress: it finishes first
    event->ignore();
    return;
  }
  if (exiting_ || FormClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TForm1::FormClose() {
  CaptureWindowSettings();
  settings_.top = pos().y();
  settings_.left = pos().x();
  for (;;) {
    try {
      WriteSettingsFile(start_.paths.settingsFile, settings_);
      break;
    } catch (const std::exception& e) {
      switch (start_.dialogs.saveFailed(ToQ(e.what()))) {
        case SaveFailedChoice::Retry:
          continue;
        case SaveFailedChoice::CloseWithoutSaving:
          return true;  // nothing is deleted either
        case SaveFailedChoice::Cancel:
          return false;
      }
    }
  }
  csvActions_->DiscardFieldSpecs();  // uncommitted choices are not saved either
  try {
    ClearInterimResults(ToStd(setup.edInterimPath->text()), settings_.clearResults,
                        review.cbSaveCSV->isChecked(), settings_.csvFileName);
  } catch (const std::exception& e) {
    ReportError(e);
  }
  return true;
}

void TForm1::AutoRunOnIdle() {
  if (autoRunDone_) return;
  autoRunDone_ = true;
  if (!runState_.automaticMode) return;
  Exit(RunAutomatically());
}

int TForm1::RunAutomatically() {
  const AutoChoice choice = ChooseAutomaticRun(settings_);
  try {
    if (choice.branch == AutoBranch::None) {
      CaptureWindowSettings();
      if (rewriteLogPending_) {
        runLog_.Truncate();
        rewriteLogPending_ = false;
      }
      runLog_.WriteLogLine("Processing started at " + LocalDateTimeText());
      for (const std::string& line : choice.reasons) {
        runLog_.WriteLogLine(line);
        runUi_.EchoLine(line);
      }
      runLog_.WriteLogLine("Processing finished at " + LocalDateTimeText());
      return kAutoExitError;
    }
    const RunOutcome outcome =
        RunConversion(choice.branch == AutoBranch::Epw ? RunBranch::Epw : RunBranch::Csv);
    if (outcome.converted) return kAutoExitConverted;
    return outcome.failedStage == "cleaning" ? kAutoExitCleaningFailed : kAutoExitError;
  } catch (const RunStopped& e) {
    // The driver has logged the error and the finish line.
    std::fprintf(stderr, "kestrum: %s\n", e.what());
    return kAutoExitError;
  } catch (const std::exception& e) {
    // Nobody is there to read a message box: the log and stderr say why the run stopped.
    std::fprintf(stderr, "kestrum: %s\n", e.what());
    try {
      runLog_.WriteLogLine(std::string("  Automatic run stopped: ") + e.what());
      runLog_.WriteLogLine("Processing finished at " + LocalDateTimeText());
    } catch (const std::exception& logError) {
      std::fprintf(stderr, "kestrum: %s\n", logError.what());
    }
    return kAutoExitError;
  }
}

void TForm1::Exit(int status) {
  exiting_ = true;
  Notify(QStringLiteral("exiting"));
  exitStatus_ = status;
  start_.dialogs.quit(status);
}

void TForm1::Notify(const QString& message) {
  if (!runState_.automaticMode || start_.dialogs.windowsSeen()) {
    start_.dialogs.notice(message);
    return;
  }
  // An automatic run where no window can be seen: a box would wait for ever for someone
  // to dismiss it. The log and stderr carry its text instead.
  const std::string text = ToStd(message);
  std::fprintf(stderr, "kestrum: %s\n", text.c_str());
  try {
    runLog_.WriteLogLine(text);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrum: %s\n", e.what());
  }
}

void TForm1::ReportError(const std::exception& error) { start_.dialogs.error(ToQ(error.what())); }

}  // namespace kestrum::ui
