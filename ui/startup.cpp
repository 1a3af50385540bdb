#include "ui/startup.h"

#include "core/datafile.h"
#include "core/platform.h"
#include "core/tables.h"
#include "ui/artwork.h"
#include "ui/fonts.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace hmf::ui {

void prepareApplication(QApplication& app)
{
    app.setApplicationName(QStringLiteral("huimingfang"));
    // No display name: X11 window managers would show it after every title ("… — 慧名坊").
    app.setDesktopFileName(QStringLiteral("huimingfang"));
    // The desktop's font and size, with a family that has Chinese glyphs.
    app.setFont(interfaceFont(QApplication::font()));
    app.setWindowIcon(windowIcon());
    // Qt's own texts (OK, Cancel, the file and print dialogs) in Chinese: the program speaks
    // Chinese whatever the system's language is.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    else
        delete translator;
}

std::filesystem::path programDataDirectory()
{
    return core::findDataDirectory(
        core::pathFromUtf8(QCoreApplication::applicationDirPath().toStdString()));
}

LoadedTables loadProgramTables(const std::filesystem::path& dataDir)
{
    LoadedTables result;
    core::LoadError error;
    result.tables = core::loadTables(dataDir, core::kAllTables & ~core::kAssessmentTables, error);
    if (!result.tables) {
        result.error = QStringLiteral("数据文件有误，程序无法启动：\n%1\n（数据目录：%2）")
                           .arg(QString::fromStdString(error.message()),
                                QFile::decodeName(dataDir.string().c_str()));
    }
    return result;
}

bool loadMoreTables(core::Tables& tables, unsigned parts, QWidget* parent)
{
    core::LoadError error;
    if (tables.load(parts, error))
        return true;
    MessageBox::show(
        parent, QStringLiteral("数据文件有误：\n%1").arg(QString::fromStdString(error.message())),
        MessageBox::Icon::Warning);
    return false;
}

} // namespace hmf::ui
