// huimingfang: the desktop program. Everything happens in the main window's handlers.

#include "core/tables.h"
#include "ui/mainwindow.h"
#include "ui/messagebox.h"
#include "ui/startup.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
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
    static const hmf::core::Tables* const tables = loaded.tables.release();
    hmf::ui::MainWindow window(*tables, dataDir);
    window.show();
    return app.exec();
}
