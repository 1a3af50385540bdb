#include "ui/startup.h"

#include "core/datafile.h"
#include "core/platform.h"
#include "core/tables.h"
#include "ui/artwork.h"
#include "ui/fonts.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>

namespace hmf::ui {

namespace {

// Qt's Chinese translations lack the kinds that the file dialog shows for folders and files.
class FileKindTranslator : public QTranslator
{
  public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        static const std::pair<const char*, const char*> kinds[] = {
            {"Folder", "文件夹"}, {"File Folder", "文件夹"}, {"Drive", "驱动器"},
            {"File", "文件"},     {"%1 File", "%1 文件"},
        };
        for (const auto& [english, chinese] : kinds)
            if (qstrcmp(sourceText, english) == 0)
                return QString::fromUtf8(chinese);
        return {};
    }
};

constexpr qint64 kMaxSettingsSize = 1024 * 1024;

} // namespace

void prepareApplication(QApplication& app)
{
    app.setApplicationName(QStringLiteral("huimingfang"));
    // Without an organisation Qt keeps the settings under "Unknown Organization".
    app.setOrganizationName(QStringLiteral("huimingfang"));
    app.setOrganizationDomain(QStringLiteral("huimingfang.net"));
    app.setApplicationVersion(QStringLiteral("31.0"));
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
    app.installTranslator(new FileKindTranslator(&app));
    // Dates and numbers in Qt's dialogs in Chinese too.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

std::unique_ptr<QSettings> openSettings(QString* problem, const QString& configDir)
{
    const QDir dir(configDir.isEmpty()
                       ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                       : configDir);
    const QString name = QCoreApplication::applicationName() + QStringLiteral(".conf");
    const QString file = dir.filePath(QStringLiteral("huimingfang/") + name);
    const QString old = dir.filePath(QStringLiteral("Unknown Organization/") + name);
    if (!QFileInfo(file).exists() && !QFileInfo(file).isSymLink() && QFileInfo(old).isFile()) {
        dir.mkpath(QStringLiteral("huimingfang"));
        if (QFile::rename(old, file))
            dir.rmdir(QStringLiteral("Unknown Organization")); // only when nothing else is there
    }

    const QFileInfo info(file);
    const bool present = info.exists() || info.isSymLink();
    QString wrong;
    if (present && !info.isFile())
        wrong = QStringLiteral("不是普通文件");
    else if (present && info.size() > kMaxSettingsSize)
        wrong = QStringLiteral("过大（超过 1 MB）");
    if (!wrong.isEmpty()) {
        const QString stamp =
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QString aside = file + QStringLiteral(".damaged-") + stamp;
        for (int n = 2; QFileInfo(aside).exists() || QFileInfo(aside).isSymLink(); ++n)
            aside = file + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
        const QString message = QFile::rename(file, aside)
                                    ? QStringLiteral("设置文件%1，已另存为：%2\n设置从默认开始。")
                                          .arg(wrong, QDir::toNativeSeparators(aside))
                                    : QStringLiteral("设置文件%1：%2\n本次不读取也不保存设置。")
                                          .arg(wrong, QDir::toNativeSeparators(file));
        if (problem)
            *problem = message;
    }
    // A file that could not be moved is neither read nor written.
    const QFileInfo now(file);
    if ((now.exists() || now.isSymLink()) && (!now.isFile() || now.size() > kMaxSettingsSize))
        return nullptr;
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

std::filesystem::path programDataDirectory()
{
    return core::findDataDirectory(
        core::pathFromUtf8(QCoreApplication::applicationDirPath().toStdString()));
}

LoadedTables loadProgramTables(const std::filesystem::path& dataDir)
{
    LoadedTables result;
    auto loaded = core::loadTables(dataDir, core::kAllTables & ~core::kAssessmentTables);
    if (loaded) {
        result.tables = std::move(*loaded);
    } else {
        result.error = QStringLiteral("数据文件有误，程序无法启动：\n%1\n（数据目录：%2）")
                           .arg(QString::fromStdString(loaded.error().message()),
                                QFile::decodeName(dataDir.string().c_str()));
    }
    return result;
}

bool loadMoreTables(core::Tables& tables, unsigned parts, QWidget* parent)
{
    const core::Status status = tables.load(parts);
    if (status)
        return true;
    MessageBox::show(
        parent,
        QStringLiteral("数据文件有误：\n%1").arg(QString::fromStdString(status.error().message())),
        MessageBox::Icon::Warning);
    return false;
}

} // namespace hmf::ui
