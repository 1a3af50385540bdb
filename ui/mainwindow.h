#pragma once
// 主窗口: the tool bar on the left, the pages in a stack beside it (namingpage.h, analysispage.h,
// luckpage.h, threetalentpage.h, tipspage.h, shortlistpage.h), the menu bar and the status bar.
// The window switches between the pages, opens the small lookup windows and carries a chosen
// name from 宝宝取名 to 姓名评测 or to 收藏夹.

#include "naming/session.h"

#include <QFont>
#include <QMainWindow>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <optional>

class QAction;
class QLabel;
class QActionGroup;
class QListWidgetItem;
class QSettings;
class QStackedWidget;
class QToolBar;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

class AnalysisPage;
class NamingPage;
class ShortlistPage;

// The size the window opens at when its text fits; it grows where larger text needs more room.
inline constexpr QSize kWindowDefaultSize(769, 648);

class MainWindow : public QMainWindow
{
    Q_OBJECT
  public:
    // `shortlistFile` is where the kept names live; empty for the user's data directory. The
    // assessment tables are read into `tables` when a name is first assessed.
    MainWindow(core::Tables& tables, std::filesystem::path dataDir,
               const QString& shortlistFile = {}, QWidget* parent = nullptr);

    // The inputs, options and window size of the last run, and their saving at the end.
    void restoreSettings(const QSettings& settings);
    void saveSettings(QSettings& settings) const;

    ~MainWindow() override;

    // Test hooks: draw from this library file instead of the sex's library, and seed the draws
    // with a fixed number instead of the clock.
    void setLibraryOverride(std::filesystem::path file);
    void setSeedOverride(std::optional<std::uint64_t> seed);

    const naming::SessionState& session() const { return m_session; }
    bool generationRunning() const;

    // 编辑 → 撤销 (Ctrl+Z): disabled until the shortlist connects what it undoes.
    QAction* undoAction() const { return m_undo; }

    // The text size as a percentage of the desktop's, 90 to 200; it is kept in the settings.
    int textPercent() const { return m_textPercent; }
    void setTextPercent(int percent);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void buildToolBar();
    void buildMenus();
    void fitToolBar();
    void fitRunLine();
    void onToolAction(QAction* action);
    void showPage(int page);
    void markShownPage();
    void openBirthChart();
    void analyseListedName(QListWidgetItem* row);
    // Clicks the page's own button of that name: the menu does what the button does.
    void clickButton(const char* name);
    void showAbout();

    core::Tables& m_tables;
    naming::SessionState m_session;

    QToolBar* m_toolBar = nullptr;
    QActionGroup* m_toolGroup = nullptr;
    QStackedWidget* m_pages = nullptr;
    NamingPage* m_naming = nullptr;
    AnalysisPage* m_analysis = nullptr;
    ShortlistPage* m_shortlist = nullptr;
    QAction* m_undo = nullptr;
    QLabel* m_runLine = nullptr;
    QFont m_desktopFont;
    int m_textPercent = 100;
};

} // namespace hmf::ui
