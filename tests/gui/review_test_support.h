// Review files made by a real conversion of the bundled sample, once per test program, and
// reading them back independently of the review code.
#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

namespace kestrum::chart {
class ChartView;
}

namespace kestrum::test {

struct SampleRun {
  QString interimDir;  // holds Golden-orig.csv and Golden-final.csv
  QString base;        // "Golden"
  QString originalFile() const { return interimDir + QStringLiteral("/Golden-orig.csv"); }
  QString finalFile() const { return interimDir + QStringLiteral("/Golden-final.csv"); }
};

// Converts the sample through the core the first time it is called.
const SampleRun& SampleReviewRun();

// The review files of a cold climate's year (Chicago, dry bulb down to -9 F in January),
// converted the first time it is called: interimDir holds Chicago-orig.csv and
// Chicago-final.csv.
struct ColdRun {
  QString interimDir;
  QString base;  // "Chicago"
  QString originalFile() const { return interimDir + QStringLiteral("/Chicago-orig.csv"); }
  QString finalFile() const { return interimDir + QStringLiteral("/Chicago-final.csv"); }
};
const ColdRun& ColdReviewRun();

// Column (1-based) of every data row of a review file, split at commas.
std::vector<double> ColumnOf(const QString& path, int column);

// The labels the chart's legend shows, where they are drawn (view pixels), left to right.
struct LegendLabel {
  QString text;
  QRectF area;
};
QList<LegendLabel> LegendLabels(const chart::ChartView& chart);

// Copies the sample's two review files into dir under base.
void CopySampleRun(const QString& dir, const QString& base);

}  // namespace kestrum::test
