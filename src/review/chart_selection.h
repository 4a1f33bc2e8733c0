// What the review charts show for each choice: which column of which review file each
// series takes, and the titles of the series, the axes and the chart.
#pragma once

#include <string>

namespace kestrum {

enum class ReviewDataType { Temperature, Solar, Wind };
enum class ReviewFile { Original, Final };

// One series: a 1-based column of a review file (0: no series) and its legend text.
struct SeriesChoice {
  ReviewFile file = ReviewFile::Final;
  int column = 0;
  std::string title;
};

// The overview chart of the review tab.
struct OverviewSelection {
  SeriesChoice series1, series2;  // series2.column is 0 when there is no second series
  std::string leftAxisTitle;
  std::string rightAxisTitle;     // empty: series 2 stays on the left axis, the right is hidden
  std::string chartTitle;
  bool series1OnTop = false;      // the wind speed is drawn over the wind direction
  bool hasSecondSeries() const { return series2.column != 0; }
  bool usesRightAxis() const { return !rightAxisTitle.empty(); }
};

// moistureOffset: 0 wet bulb, 1 dew point, 2 relative humidity (ReadMoistureOffset).
OverviewSelection SelectOverview(ReviewDataType type, bool finalData, int moistureOffset);

// The options of the detailed chart window.
enum class MoistureOption { WetBulb, DewPoint, RelHum, HumRatio };
enum class SolarOption { Horizontal, DirectNormal, Both };

struct DetailChoice {
  ReviewDataType type = ReviewDataType::Temperature;
  MoistureOption moisture = MoistureOption::WetBulb;
  SolarOption solar = SolarOption::Horizontal;
  bool secondOption = false;  // "Second Option" of the comparison options
  bool showFinal = true;      // "Final Data"
  bool showOrig = false;      // "Original"
};

struct DetailSelection {
  SeriesChoice series1, series2;
  bool drawSeries2 = false;  // the two columns differ, or comparison
  bool legend = false;
  std::string valueAxisTitle;
  std::string rightAxisTitle;
  bool rightAxisInUse = false;
  std::string chartTitle;
  bool comparison = false;
  // Captions of "First Option" and "Second Option"; empty leaves a caption as it is.
  std::string firstOptionCaption, secondOptionCaption;
  bool showCompareOptions = false;
  bool showMoistOptions = false;
  bool showSolarOptions = false;
  bool series1OnTop = false;  // the wind speed is drawn over the wind direction
};

DetailSelection SelectDetail(const DetailChoice& choice);

// The moisture option of a run whose original-data file names the moisture offset m
// (ReadMoistureOffset: 0 wet bulb, 1 dew point, 2 relative humidity).
MoistureOption MoistureOptionOf(int moistureOffset);

// What a picture of a chart shows, for its caption: "NAME: final data", "NAME: original
// data" or, with both, "NAME: original and final data".
std::string PictureCaption(const std::string& runName, bool finalData, bool originalData);

}  // namespace kestrum
