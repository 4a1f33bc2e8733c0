// TfrmFieldSpecs ("CSV Field Specifications"): the user picks the date form, the moisture
// and solar quantities and their units, and points in the preview of the file at the column
// of each item and at the first data row. Only "Done" commits the field map.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "csv/csv_field_map.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QToolButton;

namespace kestrum {

class TXLSform;

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
  };

  // Builds the window from the stored field map: choices, first row and unit boxes,
  // the layout, then the stored assignments; slot 1 is the target.
  TfrmFieldSpecs(const CsvFieldMap& stored, std::string csvFile, Hooks hooks,
                 QWidget* parent = nullptr);
  ~TfrmFieldSpecs() override;

  // Shows the window and opens its preview to the right of it, prompting for slot 1.
  void ShowWithPreview();

  // Empties the grid and builds the layout of the three choices ("Cloud Cover" is refused);
  // the unit boxes get their items and the stored codes and move under their columns.
  void UpDateXLSList();
  // Selecting the assignment cell of slot (0-based): it becomes the target, the preview
  // prompts for its item and is shown (or brought to the front).
  void SelectSlot(int slot);
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
  const std::vector<CsvSlot>& layout() const { return layout_; }
  FieldMapTarget target() const { return target_; }
  Outcome outcome() const { return outcome_; }
  // The preview of this window; null after the user closed it.
  TXLSform* preview() const { return preview_; }
  // The preview, opened (to the right of this window) when the user closed it.
  TXLSform* EnsurePreview();

  QGroupBox* rgDateFormat = nullptr;
  QGroupBox* rgMoisture = nullptr;
  QGroupBox* rgSolarDat = nullptr;
  QButtonGroup* dateChoice = nullptr;      // ids: DateInd
  QButtonGroup* moistureChoice = nullptr;  // ids: MoistInd
  QButtonGroup* solarChoice = nullptr;     // ids: SolarInd (2 = "Cloud Cover")
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

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildAssignments(QWidget* parent);
  void PlaceAssignments();
  void SetPrompt(const QString& prompt);
  void SetTarget(FieldMapTarget target, const QString& prompt);
  void ShowPreview();

  CsvFieldMap stored_;
  std::string csvFile_;
  Hooks hooks_;
  std::vector<CsvSlot> layout_;
  FieldMapTarget target_;
  Outcome outcome_ = Outcome::Cancel;
  QPointer<TXLSform> preview_;
  QWidget* assignArea_ = nullptr;
  std::array<QLabel*, 3> rowLabels_{};
  QLabel* unitsLabel_ = nullptr;
  int columnWidth_ = 0;
  int rowHeight_ = 0;
  bool building_ = false;
  bool closing_ = false;
};

// The prompt of the preview for an item: "Dbl-Click on the column containing DBTemp data:".
QString ColumnPrompt(const char* itemName);
inline constexpr const char* kFirstRowPrompt = "Dbl-Click on the first row of data.";
inline constexpr const char* kCloudCoverRefused = "Can't deal with cloud cover yet!";

}  // namespace kestrum
