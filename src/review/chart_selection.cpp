#include "review/chart_selection.h"

namespace kestrum {

namespace {

constexpr const char* kTemperatureAxis = "Temperature (F)";
constexpr const char* kSolarAxis = "Solar Radiation (W/m^2)";
constexpr const char* kWindSpeedAxis = "Wind Speed (mph)";
constexpr const char* kWindDirectionAxis = "Wind Direction (degrees)";

SeriesChoice Column(ReviewFile file, int column, std::string title) {
  return {file, column, std::move(title)};
}

}  // namespace

OverviewSelection SelectOverview(ReviewDataType type, bool finalData, int m) {
  const ReviewFile file = finalData ? ReviewFile::Final : ReviewFile::Original;
  OverviewSelection s;
  switch (type) {
    case ReviewDataType::Temperature: {
      s.series1 = Column(file, 4, "Dry Bulb Temp");
      s.leftAxisTitle = kTemperatureAxis;
      const int moistureColumn = finalData ? 5 + m : 5;
      if (m == 1) {
        s.series2 = Column(file, moistureColumn, "Dewpoint Temp");
        s.chartTitle = "Ambient Drybulb and Dewpoint Temperatures";
      } else if (m == 2) {
        s.series2 = Column(file, moistureColumn, "RH (%)");
        s.rightAxisTitle = "Relative Humidity (%)";
        s.chartTitle = "Ambient Drybulb Temperature and Relative Humidity";
      } else {
        s.series2 = Column(file, moistureColumn, "Wet Bulb Temp");
        s.chartTitle = "Ambient Drybulb and Wetbulb Temperatures";
      }
      break;
    }
    case ReviewDataType::Solar:
      s.leftAxisTitle = kSolarAxis;
      if (finalData) {
        s.series1 = Column(file, 9, "Horizontal");
        s.series2 = Column(file, 10, "Direct Normal");
        s.chartTitle = "Global Horizontal and Direct Normal Solar Radiation";
      } else {
        s.series1 = Column(file, 6, "Horizontal");
        s.series2 = Column(file, 0, "");
        s.chartTitle = "Global Horizontal Solar Radiation";
      }
      break;
    case ReviewDataType::Wind:
      s.series1 = Column(file, finalData ? 11 : 7, "Speed");
      s.series2 = Column(file, finalData ? 12 : 8, "Direction");
      s.leftAxisTitle = kWindSpeedAxis;
      s.rightAxisTitle = kWindDirectionAxis;
      s.chartTitle = "Wind Speed and Direction";
      s.series1OnTop = true;
      break;
  }
  return s;
}

namespace {

// Original data compared with final data: one quantity, one axis.
DetailSelection Comparison(const DetailChoice& c) {
  DetailSelection s;
  s.comparison = true;
  s.showCompareOptions = c.type != ReviewDataType::Solar;
  auto pair = [&s](int original, int final, const char* axis, const char* title) {
    s.series1 = Column(ReviewFile::Original, original, "Original Data");
    s.series2 = Column(ReviewFile::Final, final, "Final Data");
    s.valueAxisTitle = axis;
    s.chartTitle = title;
  };
  switch (c.type) {
    case ReviewDataType::Temperature: {
      s.firstOptionCaption = "Dry Bulb";
      static constexpr const char* kSecond[] = {"Web Bulb", "Dew Point", "Rel Hum", "Hum Ratio"};
      s.secondOptionCaption = kSecond[static_cast<int>(c.moisture)];
      if (!c.secondOption) {
        pair(4, 4, kTemperatureAxis, "Comparison of Dry Bulb Temperature");
      } else if (c.moisture == MoistureOption::WetBulb) {
        pair(5, 5, kTemperatureAxis, "Comparison of Wetbulb Temperatures");
      } else if (c.moisture == MoistureOption::DewPoint) {
        pair(5, 6, kTemperatureAxis, "Comparison of Dew Point Temperatures");
      } else if (c.moisture == MoistureOption::RelHum) {
        pair(5, 7, "Relative Humidity (%)", "Comparison of Relative Humidity");
      } else {
        // The original data hold no humidity ratio: the final values are charted alone.
        s.series1 = Column(ReviewFile::Final, 8, "Final Data");
        s.series2 = Column(ReviewFile::Final, 0, "");
        s.valueAxisTitle = "Humidity Ratio (lbs-water/lbs-Air)";
        s.chartTitle = "Final Humidity Ratio (the original data hold none to compare)";
        s.legend = true;
        return s;
      }
      break;
    }
    case ReviewDataType::Solar:
      pair(6, 9, kSolarAxis, "Comparison of Horizontal Solar Radiation");
      break;
    case ReviewDataType::Wind:
      s.firstOptionCaption = "Speed";
      s.secondOptionCaption = "Direction";
      if (c.secondOption) {
        pair(8, 12, kWindDirectionAxis, "Comparison of Wind Direction");
      } else {
        pair(7, 11, kWindSpeedAxis, "Comparison of Wind Speed");
      }
      break;
  }
  s.drawSeries2 = true;
  s.legend = true;
  return s;
}

// One file, the final or the original data.
DetailSelection OneFile(const DetailChoice& c) {
  DetailSelection s;
  const bool final = c.showFinal;
  const ReviewFile file = final ? ReviewFile::Final : ReviewFile::Original;
  auto series = [&s, file](int column1, const char* title1, int column2, const char* title2) {
    s.series1 = Column(file, column1, title1);
    s.series2 = Column(file, column2, title2);
  };
  switch (c.type) {
    case ReviewDataType::Temperature:
      s.showMoistOptions = !c.showOrig;
      s.valueAxisTitle = kTemperatureAxis;
      switch (c.moisture) {
        case MoistureOption::WetBulb:
          series(4, "Dry Bulb Temp", 5, "Wet Bulb Temp");
          s.chartTitle = "Ambient Drybulb and Wetbulb Temperatures";
          break;
        case MoistureOption::DewPoint:
          series(4, "Dry Bulb Temp", final ? 6 : 5, "Dew Pt Temp");
          s.chartTitle = "Ambient Drybulb and Dew Point Temperatures";
          break;
        case MoistureOption::RelHum:
          series(4, "Dry Bulb Temp", final ? 7 : 5, "Relative Humidity");
          s.rightAxisTitle = "% RH";
          s.chartTitle = "Ambient Drybulb Temperature and Relative Humidity";
          break;
        case MoistureOption::HumRatio:
          if (final) {
            series(4, "Dry Bulb Temp", 8, "Humidity Ratio");
            s.rightAxisTitle = "lbs-water/lbs-Air";
            s.chartTitle = "Ambient Drybulb Temperature and Humidity Ratio";
          } else {
            // The original data hold no humidity ratio (their column 8 is the wind direction).
            series(4, "Dry Bulb Temp", 4, "");
            s.chartTitle = "Ambient Drybulb Temperature (the original data hold no humidity ratio)";
          }
          break;
      }
      break;
    case ReviewDataType::Solar:
      s.showSolarOptions = !c.showOrig;
      s.valueAxisTitle = kSolarAxis;
      // Original data: global horizontal in column 6, direct normal (when the source gave
      // it) in column 9.
      switch (c.solar) {
        case SolarOption::Horizontal:
          series(final ? 9 : 6, "Horizontal", final ? 9 : 6, "");
          s.chartTitle = "Horizontal Solar Radiation";
          break;
        case SolarOption::DirectNormal:
          series(final ? 10 : 9, "Direct Normal", final ? 10 : 9, "");
          s.chartTitle = "Direct Normal Solar Radiation";
          break;
        case SolarOption::Both:
          series(final ? 9 : 6, "Horizontal", final ? 10 : 9, "Direct Normal");
          s.chartTitle = "Solar Radiation";
          break;
      }
      break;
    case ReviewDataType::Wind:
      series(final ? 11 : 7, "Speed", final ? 12 : 8, "Direction");
      s.valueAxisTitle = kWindSpeedAxis;
      s.rightAxisTitle = kWindDirectionAxis;
      s.chartTitle = "Wind Speed and Direction";
      s.series1OnTop = true;
      break;
  }
  s.rightAxisInUse = !s.rightAxisTitle.empty();
  s.drawSeries2 = s.series1.column != s.series2.column;
  s.legend = s.drawSeries2;
  return s;
}

}  // namespace

DetailSelection SelectDetail(const DetailChoice& choice) {
  return choice.showFinal && choice.showOrig ? Comparison(choice) : OneFile(choice);
}

MoistureOption MoistureOptionOf(int moistureOffset) {
  switch (moistureOffset) {
    case 1:
      return MoistureOption::DewPoint;
    case 2:
      return MoistureOption::RelHum;
    default:
      return MoistureOption::WetBulb;
  }
}

std::string PictureCaption(const std::string& runName, bool finalData, bool originalData) {
  const char* data = finalData && originalData ? "original and final data"
                     : finalData              ? "final data"
                                              : "original data";
  return runName + ": " + data;
}

}  // namespace kestrum
