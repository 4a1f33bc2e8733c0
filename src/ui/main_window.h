// TForm1: the main window. Four tabs; the window copies its controls into the settings
// and a run request, starts the conversion driver and shows what comes back.
#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "config/settings.h"
#include "run/hourly_table.h"
#include "run/process.h"
#include "run/run_log.h"
#include "run/run_state.h"
#include "ui/csv_tab.h"
#include "ui/csv_tab_actions.h"
#include "ui/dialog_hooks.h"
#include "ui/epw_tab.h"
#include "ui/review_tab.h"
#include "ui/setup_tab.h"
#include "ui/window_run_ui.h"

class QLineEdit;
class QUrl;
class QTabWidget;

namespace kestrum {
class OutsideLibraries;
class ReviewPage;
}

namespace kestrum::ui {

// What main() hands the window; tests build the same with temporary paths.
struct WindowStart {
  ProgramPaths paths;
  QStringList arguments;                  // the command line without the program name
  OutsideLibraries* libraries = nullptr;  // bound by main(); a conversion needs them
  DialogHooks dialogs;                    // empty members become message boxes
};

inline constexpr const char* kStartCaption = "Tavorin Zenfold";
inline constexpr int kClientWidth = 551;
inline constexpr int kClientHeight = 534;
inline constexpr int kFontPixels = 11;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // FormCreate: reads the settings file, places the window, loads the settings into the
  // controls, looks for the help page and reads the command line.
  explicit TForm1(WindowStart start, QWidget* parent = nullptr);
  ~TForm1() override;

  // Shows the window; in automatic mode minimised, with the automatic run queued for the
  // first idle moment.
  void Start();

  // The controls as plain values, and back.
  MainWindowState ReadState();
  void ShowState(const MainWindowState& state);

  // CaptureSettings from the controls (grid messages go through the notice hook).
  void CaptureWindowSettings();

  // The conversion of one tab: capture, run the driver, show the outcome. Errors raised
  // by a stage propagate to the caller.
  RunOutcome RunConversion(RunBranch branch);

  // EPW picker, split: the dialog, then what a chosen file does (its header fills the
  // site fields, the output name follows it, the time shift goes back to 0).
  void btnGetEPWClick();
  void UseEPWFile(const QString& path);
  // Directory pickers of edEPWdir, edCSVdir, edInterimPath.
  void btnEPWdirClick(QLineEdit* field);
  void UseDirectory(QLineEdit* field, const QString& dir);
  // Log file picker.
  void btnLOGClick();
  void UseLogFile(const QString& path);
  void edLOGChange();
  void btnViewClick();
  void bbCSVtopClick();
  // The help page at anchor ("#CSVtop", "#CSVfld"), for this window and the field
  // field map window alike.
  void OpenHelpAt(const QString& anchor);
  void btnDOEwebsiteClick();
  // Opens a web or help page in the desktop's handler; when none could be started, a
  // message box names the page. The help buttons of every tab go through it.
  bool OpenPage(const QUrl& page);
  void btnResetCleanDataClick();
  void btnProcEPWClick();
  void btnProcCSVClick();
  void FormActivate();
  void AutoRunOnIdle();

  // What the window did and holds (for the program and its tests).
  const Settings& settings() const { return settings_; }
  const ProgramPaths& paths() const { return start_.paths; }
  const RunLog& runLog() const { return runLog_; }
  const RunState& runState() const { return runState_; }
  bool automaticMode() const { return runState_.automaticMode; }
  bool helpPagePresent() const { return helpPagePresent_; }
  const QString& helpPagePath() const { return helpPagePath_; }
  const std::string& editFileName() const { return editFileName_; }
  std::optional<int> exitStatus() const { return exitStatus_; }
  void setFieldMapComplete(bool complete) { fieldMapComplete_ = complete; }
  // The behaviour of the review tab and of the CSV tab.
  ReviewPage& reviewPage() { return *reviewPage_; }
  CsvTabActions& csvActions() { return *csvActions_; }

  EpwTab epw;
  CsvTab csv;
  ReviewTab review;
  SetupTab setup;
  QTabWidget* tabs = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildTabs();
  void ConnectHandlers();
  void ConnectReviewTab();
  // FormClose: save, then clear the interim results. False keeps the window open.
  bool FormClose();
  // The automatic run: which conversion, its log lines; returns the exit status.
  int RunAutomatically();
  // Exit: the "exiting" notice (Notify), then the end of the program with status.
  void Exit(int status);
  // A settings file that is there but could not be read: a notice, or in automatic mode a
  // line in the log and on stderr.
  void ReportSettingsProblem();
  // A notice that waits for acknowledgement; in an automatic run where no window can be
  // seen (DialogHooks::windowsSeen), a line in the log and on stderr instead.
  void Notify(const QString& message);
  void ReportError(const std::exception& error);

  WindowStart start_;
  Settings settings_;
  RunLog runLog_;
  RunState runState_;
  std::unique_ptr<HourlyTable> table_;
  ReviewPage* reviewPage_ = nullptr;  // a child of the window
  WindowRunUi runUi_;
  std::string editFileName_;
  QString helpPagePath_;
  bool helpPagePresent_ = false;
  bool fieldMapComplete_ = false;
  bool autoRunDone_ = false;
  bool running_ = false;
  bool exiting_ = false;
  bool rewriteLogPending_ = false;
  std::string settingsProblem_;  // SettingsFileProblem at start; empty when none
  std::optional<int> exitStatus_;
  // Last, so that its windows go first when the window is destroyed.
  std::unique_ptr<CsvTabActions> csvActions_;
};

}  // namespace kestrum::ui
