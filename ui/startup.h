#pragma once
// What the desktop program does before its window appears: fonts and icon of the application,
// and the tables, which must all load before the user can act.

#include <QString>

#include <filesystem>
#include <memory>

class QApplication;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

void prepareApplication(QApplication& app);

// The directory of the program's tables, found from where the program lies (build tree and
// installed tree alike) unless HMF_DATA_DIR names one.
std::filesystem::path programDataDirectory();

struct LoadedTables
{
    std::unique_ptr<core::Tables> tables;
    QString error; // names the file and what is wrong with it; empty when the tables loaded
};

LoadedTables loadProgramTables(const std::filesystem::path& dataDir);

} // namespace hmf::ui
