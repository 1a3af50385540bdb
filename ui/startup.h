#pragma once
// What the desktop program does before its window appears: fonts and icon of the application,
// and the tables the pages show, which must load before the user can act. The tables that judge
// a name are read when a name is first assessed.

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>

class QApplication;
class QSettings;
class QWidget;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

// Names, fonts, icon and Qt's own texts in Chinese (whatever the system's language is).
void prepareApplication(QApplication& app);

// The inputs of the last run: huimingfang/huimingfang.conf (INI) in `configDir`, by default the
// user's configuration folder. The file of versions that named no organisation ("Unknown
// Organization/huimingfang.conf") is moved there once. A file that is not a regular one or is
// larger than 1 MB is never read: it is kept aside and `problem` says so (the settings start
// from their defaults); null when it cannot even be moved (nothing is read or saved then).
std::unique_ptr<QSettings> openSettings(QString* problem, const QString& configDir = {});

// The directory of the program's tables, found from where the program lies (build tree and
// installed tree alike) unless HMF_DATA_DIR names one.
std::filesystem::path programDataDirectory();

struct LoadedTables
{
    std::unique_ptr<core::Tables> tables;
    QString error; // names the file and what is wrong with it; empty when the tables loaded
};

// The tables the window needs to appear (all but the assessment tables).
LoadedTables loadProgramTables(const std::filesystem::path& dataDir);

// Reads the groups of `parts` (core::TableParts) into `tables` unless they are read already; a
// damaged file is named in a message box over `parent` and the answer is false.
bool loadMoreTables(core::Tables& tables, unsigned parts, QWidget* parent);

// What a page calls before it reads a group of tables read on first use; false when they could
// not be read (the user has been told).
using TableLoader = std::function<bool(unsigned parts)>;

} // namespace hmf::ui
