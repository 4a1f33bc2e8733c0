// TfrmFieldSpecs ("CSV Field Specifications"): the user picks the date form, the moisture
// and solar quantities and their units, what becomes of rows that share an hour and what a
// one-field date marks, and points in the preview of the file at the column of each item
// and at the first data row. Only "Done" commits the field map.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "csv/csv_field_map.h"
#include "csv/xls_preview_window.h"
#include "ui/screen_fit.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTableWidget;
class QToolButton;

namespace kestrum {

// What a double-click in the preview writes into.
struct FieldMapTarget {
  enum Kind { None, Slot, FirstRow };
  Kind kind = None;
  int slot = -1;  // 0-based layout slot when kind is Slot
  bool operator==(const FieldMapTarget&) const = default;
};

class TfrmFieldSpecs : public QWidget {
  Q_OBJECT

 public:
  enum class Outcome { Cancel, Done };

  struct Hooks {
    std::function<void(const CsvFieldMap&)> commit;  // "Done": the field map is stored
    std::function<void(bool complete)> completeness;  // the window lost the focus or closed
    std::function<void(const QString&)> notice;       // "Can't deal with cloud cover yet!"
    std::function<void(const QString&)> error;        // the preview could not read the file
    std::function<void()> openHelp;                   // empty: no help page, button disabled
    // The field map as last committed (empty: the stored one the window opened with); a
    // close without "Done" reports its completeness.
    std::function<CsvFieldMap()> committed;
    // The main window and its watched controls, which this window and its preview leave
    // free where the screen allows (empty: no main window).
    std::function<Surroundings()> surroundings;
  };

  // Builds the window from the stored field map: choices, first row and unit boxes,
  // the layout, then the stored assignments; slot 1 is the target.
  TfrmFieldSpecs(const CsvFieldMap& stored, std::string csvFile, Hooks hooks,
                 QWidget* parent = nullptr);
  ~TfrmFieldSpecs() override;

  // Places the window beside the main window, clear of its Convert button and completion
  // label, inside the work area (ui::PlaceBesideMainWindow).
  void PlaceOnScreen();
  // Shows the window and opens its preview beside it, prompting for slot 1.
  void ShowWithPreview();
  // The header line of the file's layout (0: none known): the preview's columns take their
  // tooltips from it, else from the line above "Beginning Row of Data:".
  void SetLayoutHeaderLine(int line);

  // Empties the grid and builds the layout of the three choices ("Cloud Cover" is refused);
  // the unit boxes get their items and the stored codes and move under their columns;
  // "Stamps mark:" is enabled for the one-field date form only.
  void UpDateXLSList();
  // Selecting the assignment cell of slot (0-based): it becomes the target, the preview
  // prompts for its item and is shown (or brought to the front).
  void SelectSlot(int slot);
  // The first-row box becomes the target until a double-click sets it; the target then
  // returns to the one before ("Column" cell and prompt).
  void btnFirstRowClick();
  // The find button: double-clicks in a preview write nothing until a cell or the
  // first-row button is chosen again.
  void ClearTarget();
  // A double-click in the preview on file line `line`, column header `column`.
  void sgXLSDblClick(int line, const QString& column);
  void bbtnSnapRightClick();
  void bbtnSnapBotClick();

  // The field map as the window shows it (not yet committed).
  CsvFieldMap Current() const;
  // The completeness rule applied to Current().
  bool Complete() const { return CsvFieldMapComplete(Current()); }
  // The field map as last committed, and whether the window shows another one.
  CsvFieldMap Committed() const;
  bool HasUncommittedChanges() const;
  const std::vector<CsvSlot>& layout() const { return layout_; }
  FieldMapTarget target() const { return target_; }
  Outcome outcome() const { return outcome_; }
  // The preview of this window; null after the user closed it.
  TXLSform* preview() const { return preview_; }
  // The preview, opened (beside this window) when the user closed it.
  TXLSform* EnsurePreview();

  // As large as its content and buttons want (the window scrolls its content when smaller).
  QSize sizeHint() const override;

  QGroupBox* rgDateFormat = nullptr;
  QGroupBox* rgMoisture = nullptr;
  QGroupBox* rgSolarDat = nullptr;
  QButtonGroup* dateChoice = nullptr;      // ids: DateInd
  QButtonGroup* moistureChoice = nullptr;  // ids: MoistInd
  QButtonGroup* solarChoice = nullptr;     // ids: SolarInd (2 = "Cloud Cover")
  // "Rows sharing an hour:" and "Stamps mark:" (the latter enabled for the one-field date
  // form only). They change no item of the layout, so they leave the assignments alone.
  QWidget* rgSubhourly = nullptr;
  QWidget* rgTimeStamps = nullptr;
  QButtonGroup* subhourlyChoice = nullptr;  // ids: Subhourly (kSubhourlyLast, kSubhourlyMean)
  QButtonGroup* timeStampChoice = nullptr;  // ids: TimeStamps (kStampsEnding, kStampsBeginning)
  QSpinBox* seFirstRow = nullptr;
  QPushButton* btnFirstRow = nullptr;
  QTableWidget* sgXLSspecs = nullptr;
  QComboBox* cbDBTunits2 = nullptr;
  QComboBox* cbMoistUnits2 = nullptr;
  QComboBox* cbSolarUnits2 = nullptr;
  QComboBox* cbVelUnits2 = nullptr;
  QPushButton* btnDone = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* bbtnSnapRight = nullptr;
  QPushButton* bbtnSnapBot = nullptr;
  QToolButton* bbCSVfld = nullptr;
  // Below the assignments: "[completed]", or "[not yet completed: WindDir]" naming the
  // required items the window's field map still lacks (CompletionCaption).
  QLabel* lblFldMissing = nullptr;

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Return or Enter: "Done" (the default button); Escape: "Cancel".
  void keyPressEvent(QKeyEvent* event) override;
  // Return or Enter on a "Column" cell: that item's column is chosen in the preview.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildAssignments(QWidget* parent);
  std::vector<std::pair<QComboBox*, int>> UnitBoxSlots() const;
  void SizeColumns();
  void PlaceAssignments();
  void SnapPreview(ui::Side side);
  // The smallest frame the window can take (its buttons and a little of its content).
  QSize LeastFrameSize() const;
  void SetPrompt(const QString& prompt);
  void SetTarget(FieldMapTarget target, const QString& prompt);
  void ShowPreview();
  void UpdateCompletion();
  int PreviewHeaderLineNow() const;

  CsvFieldMap stored_;
  std::string csvFile_;
  Hooks hooks_;
  std::vector<CsvSlot> layout_;
  FieldMapTarget target_;
  FieldMapTarget targetBeforeFirstRow_;  // where the target returns once the first row is set
  Outcome outcome_ = Outcome::Cancel;
  QPointer<TXLSform> preview_;
  QScrollArea* body_ = nullptr;  // everything but the button row, which stays in view
  QWidget* buttonRow_ = nullptr;
  QGroupBox* kinds_ = nullptr;  // " Type of Data in File "
  QWidget* assignArea_ = nullptr;
  std::array<QLabel*, 3> rowLabels_{};
  QLabel* unitsLabel_ = nullptr;
  int rowHeight_ = 0;
  int layoutHeaderLine_ = 0;
  bool building_ = false;
  bool closing_ = false;
};

// The prompt of the preview for an item: "Dbl-Click on the column containing DBTemp data:".
QString ColumnPrompt(const char* itemName);
// "[completed]" for a complete field map; else "[not yet completed: DBTemp, WindDir]" with
// the required items it lacks (CsvMissingRequired), "[not yet completed]" when it has no layout.
QString CompletionCaption(const CsvFieldMap& fieldMap);
inline constexpr const char* kFirstRowPrompt = "Dbl-Click on the first row of data.";
inline constexpr const char* kCloudCoverRefused = "Can't deal with cloud cover yet!";

}  // namespace kestrum
