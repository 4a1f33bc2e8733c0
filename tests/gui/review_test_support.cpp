#include "review_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>

#include "epw/epw_header.h"
#include "gui_test_support.h"
#include "run/process.h"
#include "ui/qt_text.h"

namespace kestrum::test {

const SampleRun& SampleReviewRun() {
  static QTemporaryDir dir;
  static const SampleRun run = [] {
    const std::string path = ui::ToStd(dir.path());
    RunRequest request;
    request.branch = RunBranch::Epw;
    request.sourceFile = ui::ToStd(SampleEpw());
    request.outputFileName = "Golden.BIN";
    request.outputDir = path;
    request.interimDir = path;
    request.programDir = path;
    EpwHeader header;
    ReadEPWHeader(request.sourceFile, header);
    request.site = header.site;
    HourlyTable table;
    RunState state;
    state.automaticMode = true;
    SilentUi ui;
    RunLog log(path + "/run.log");
    RunServices services{table, state, ui, log, *Libraries()};
    if (!Process(request, services).converted) throw std::runtime_error("sample run failed");
    return SampleRun{dir.path(), QStringLiteral("Golden")};
  }();
  return run;
}

std::vector<double> ColumnOf(const QString& path, int column) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QList<QByteArray> lines = file.readAll().split('\n');
  std::vector<double> values;
  for (qsizetype i = 2; i < lines.size(); ++i) {
    const QByteArray line = lines[i].trimmed();
    if (line.isEmpty()) continue;
    values.push_back(line.split(',').value(column - 1).trimmed().toDouble());
  }
  return values;
}

void CopySampleRun(const QString& dir, const QString& base) {
  const SampleRun& run = SampleReviewRun();
  QDir().mkpath(dir);
  QFile::copy(run.originalFile(), dir + QLatin1Char('/') + base + QStringLiteral("-orig.csv"));
  QFile::copy(run.finalFile(), dir + QLatin1Char('/') + base + QStringLiteral("-final.csv"));
}

}  // namespace kestrum::test
