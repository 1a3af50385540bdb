#pragma once
// What the window tests share: the program's tables, a shown main window whose shortlist lives in
// a temporary file, fixture character libraries, and widgets found by their product names.

#include "core/gbk.h"
#include "core/tables.h"
#include "ui/mainwindow.h"
#include "ui/startup.h"

#include <QFile>
#include <QListWidget>
#include <QStringList>
#include <QtTest>

#include <cstdint>
#include <filesystem>
#include <memory>

namespace hmf::uitest {

// The program's tables from the data directory the tests run with; null with `error` filled.
inline std::unique_ptr<core::Tables> loadProgramTables(std::filesystem::path& dataDir,
                                                       QString& error)
{
    dataDir = ui::programDataDirectory();
    ui::LoadedTables loaded = ui::loadProgramTables(dataDir);
    error = loaded.error;
    return std::move(loaded.tables);
}

// A shown main window on the program's tables, keeping its names in `shortlistFile`; the caller
// waits for it to be exposed.
inline std::unique_ptr<ui::MainWindow>
openWindow(core::Tables& tables, const std::filesystem::path& dataDir, const QString& shortlistFile)
{
    auto window = std::make_unique<ui::MainWindow>(tables, dataDir, shortlistFile);
    window->show();
    return window;
}

// Writes `characters` as a character library (GBK, one a line) at `path` and makes the window
// draw from it with a fixed seed; false when the file cannot be written.
inline bool useFixtureLibrary(ui::MainWindow& window, const QString& path,
                              const QStringList& characters, std::uint64_t seed)
{
    const auto gbk = core::utf8ToGbk(characters.join(QStringLiteral("\r\n")).toStdString());
    QFile file(path);
    if (!gbk || !file.open(QIODevice::WriteOnly) ||
        file.write(gbk->data(), qint64(gbk->size())) != qint64(gbk->size()))
        return false;
    file.close();
    window.setLibraryOverride(std::filesystem::path(QFile::encodeName(path).toStdString()));
    window.setSeedOverride(seed);
    return true;
}

// The widget of that product name under `root`; a name that is not there ends the test run.
template <typename T> T* findWidget(const QObject* root, const char* name)
{
    T* widget = root->findChild<T*>(QString::fromUtf8(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

inline QStringList rowsOf(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

} // namespace hmf::uitest
