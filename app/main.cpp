// huimingfang: the desktop program. Everything happens in the main window's handlers; the
// inputs of one run are remembered for the next.

#include "core/prebuilt.h"
#include "core/tables.h"
#include "ui/mainwindow.h"
#include "ui/messagebox.h"
#include "ui/startup.h"

#include <QApplication>
#include <QSettings>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    hmf::core::installPrebuiltTables(hmf::core::prebuiltTables());
    QApplication app(argc, argv);
    hmf::ui::prepareApplication(app);

    const std::filesystem::path dataDir = hmf::ui::programDataDirectory();
    hmf::ui::LoadedTables loaded = hmf::ui::loadProgramTables(dataDir);
    if (!loaded.tables) {
        std::fprintf(stderr, "huimingfang: %s\n", loaded.error.toLocal8Bit().constData());
        hmf::ui::MessageBox::show(nullptr, loaded.error, hmf::ui::MessageBox::Icon::Warning);
        return 1;
    }

    // The tables stay until the process ends and are never freed: nobody sees that work at exit.
    static hmf::core::Tables* const tables = loaded.tables.release();
    hmf::ui::MainWindow window(*tables, dataDir);
    // The inputs and window size of the last run come back; they are kept again at the end.
    QString settingsProblem;
    const std::unique_ptr<QSettings> settings = hmf::ui::openSettings(&settingsProblem);
    if (settings)
        window.restoreSettings(*settings);
    window.show();
    if (!settingsProblem.isEmpty())
        QTimer::singleShot(0, &window, [&window, settingsProblem] {
            hmf::ui::MessageBox::show(&window, settingsProblem, hmf::ui::MessageBox::Icon::Warning);
        });
    const int status = app.exec();
    if (settings)
        window.saveSettings(*settings);
    return status;
}
