#pragma once
// 主窗口: the tool bar and the five pages, one class each (namingpage.h, analysispage.h,
// luckpage.h, threetalentpage.h, tipspage.h). The window switches between the pages, opens the
// small lookup windows and carries a chosen name from 宝宝取名 to 姓名评测.

#include "naming/session.h"

#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <optional>

class QAction;
class QActionGroup;
class QTabWidget;
class QToolBar;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

class AnalysisPage;
class NamingPage;

class MainWindow : public QWidget
{
    Q_OBJECT
  public:
    MainWindow(const core::Tables& tables, std::filesystem::path dataDir,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Test hooks: draw from this library file instead of the sex's library, and seed the draws
    // with a fixed number instead of the clock.
    void setLibraryOverride(std::filesystem::path file);
    void setSeedOverride(std::optional<std::uint64_t> seed);

    const naming::SessionState& session() const { return m_session; }
    bool generationRunning() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildToolBar();
    void onToolAction(QAction* action);
    void openBirthChart();
    void analyseListedName(const QString& title);

    const core::Tables& m_tables;
    naming::SessionState m_session;

    QToolBar* m_toolBar = nullptr;
    QActionGroup* m_toolGroup = nullptr;
    QTabWidget* m_tabs = nullptr;
    NamingPage* m_naming = nullptr;
    AnalysisPage* m_analysis = nullptr;
};

} // namespace hmf::ui
