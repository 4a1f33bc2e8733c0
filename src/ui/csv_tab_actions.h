// What the controls of the tab "CSV Data Source Conversion" do: choosing the CSV file,
// the field window and the find button's preview. The window's settings
// receive the chosen file, the reset site and, through "Done", the field map.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/settings.h"
#include "csv/field_specs_window.h"
#include "csv/layout_match.h"
#include "csv/xls_preview_window.h"
#include "ui/csv_tab.h"

class QWidget;

namespace kestrum::ui {

// The file dialog's filter: "CSV files (*.csv)|*.CSV", matched in either case on a file
// system that tells cases apart.
inline constexpr const char* kCsvFileFilter = "CSV files (*.csv *.CSV)";
inline constexpr const char* kXlsRemovedText = "XLS format support temporarily removed.";
// The progress box's line when a CSV run closes a field window that holds changes not
// committed with "Done".
inline constexpr const char* kFieldChangesNotUsedText =
    "The field specification window was closed without Done: its changes were not used.";
// Shown before every CSV file choice.
QString CsvUnderDevelopmentText();

struct CsvTabHooks {
  std::function<void(const QString&)> notice;  // an information message with an OK button
  std::function<void(const QString&)> error;   // a file that cannot be read
  std::function<bool(const QString&)> question;  // yes/no: the offer of a file's layout
  std::function<void(bool)> setComplete;       // the field map completeness flag
  std::function<void()> refresh;               // the main window's label and Convert button
  std::function<void()> openFieldHelp;         // the help page at "#CSVfld"; empty: none
};

class CsvTabActions : public QObject {
  Q_OBJECT

 public:
  CsvTabActions(QWidget& window, CsvTab& tab, Settings& settings, CsvTabHooks hooks);
  ~CsvTabActions() override;

  // The information message, the file dialog, then UseCSVFile with the choice.
  void btnGetXLSClick();
  // A chosen CSV file: shown and stored, the site and field map reset, the output
  // name derived, "Field Specifications" and "find" enabled; an ".XLS" file is noted.
  // Then, when the file is of a named layout (DetectLayout; a file it cannot read is
  // simply none), the layout is offered (LayoutOfferText); Yes takes it (TakeLayout).
  void UseCSVFile(const QString& path);
  // The offer accepted: the layout's site in the site fields, its time shift, and the field
  // window opened (a window already open closes without committing) on the layout's field
  // map with its time options, for "Done" to commit. A window closed without "Done" takes
  // the offer back: the site fields and the shift that still hold the layout's values are
  // emptied and set to 0 again, as if the offer had been declined.
  void TakeLayout(const LayoutMatch& match);
  // What the CSV run with this site and shift says before it reads, when its file was taken
  // by a layout whose field map "Done" committed (LayoutRunNotes); else nothing.
  std::vector<std::string> LayoutNotes(const SiteInfo& site, int timeShiftHours) const;
  // The layout the chosen file was taken by, once "Done" committed its field map.
  const LayoutMatch* takenLayout() const {
    return layout_ && !layoutPending_ ? &*layout_ : nullptr;
  }
  // Empties the five site texts (settings and fields), resets the field map (the rules
  // for rows sharing an hour and for time stamps included) and sets the time shift to 0.
  void ResetCsvSite();
  // Opens the field window with its preview, or brings it to the front.
  void btnFieldSpecsClick();
  // The preview beside the main window (or the one showing, brought to the front); the
  // field window's target is cleared first.
  void btnFindSiteInfoClick();
  // A CSV run starts: an open field window closes without committing. True when it held
  // changes that are thus not used.
  bool CloseFieldSpecs();
  // The program closes: an open field window goes without being closed.
  void DiscardFieldSpecs();

  TfrmFieldSpecs* fieldSpecs() const { return fieldSpecs_; }
  TXLSform* findPreview() const { return findPreview_; }

  // The main window's frame and, in desktop pixels, the Convert button and completion label
  // that the field window and the previews leave in view where the screen allows.
  Surroundings Around() const;

 private:
  QWidget& window_;
  CsvTab& tab_;
  Settings& settings_;
  CsvTabHooks hooks_;
  // The field window on `opening` (its header line for the preview's tooltips); offer: the
  // window of TakeLayout, whose close without "Done" takes the offer back.
  void OpenFieldSpecs(const CsvFieldMap& opening, bool offer);
  void TakeOfferBack();

  QPointer<TfrmFieldSpecs> fieldSpecs_;
  QPointer<TXLSform> findPreview_;
  // The chosen file's header line where its layout is known (0: none), for the previews.
  int layoutHeaderLine_ = 0;
  // The layout taken for the chosen file: offered and accepted (pending while its field
  // window is open), committed by "Done". Gone with another file.
  std::optional<LayoutMatch> layout_;
  bool layoutPending_ = false;
};

}  // namespace kestrum::ui
