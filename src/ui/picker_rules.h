// What the main window's pickers and help buttons compute, as plain functions.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace kestrum::ui {

// The folder a file-open dialog starts in: the directory part of fieldText when the text
// is not empty and that directory exists, else currentDir.
QString InitialFolderFor(const QString& fieldText, const QString& currentDir);

// The help page beside the program: programDir + "/Tavorin-Zenfold.html".
QString HelpPagePath(const QString& programDir);
inline constexpr const char* kHelpPageName = "Tavorin-Zenfold.html";

// A local page with an optional anchor ("/opt/k/Tavorin-Zenfold.html#CSVtop") as a
// file URL whose fragment is the anchor.
QUrl HelpPageUrl(const QString& target);

// Opens page (a web page, or a local help page made by HelpPageUrl) in the desktop's
// handler. When no browser or other handler could be started, tells say so, naming the
// page, and returns false.
bool OpenPageOrSay(const QUrl& page, const std::function<void(const QString&)>& tell);

// The page as a message names it: the file with its anchor for a local page, else the URL.
QString PageName(const QUrl& page);

}  // namespace kestrum::ui
