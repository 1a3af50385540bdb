#pragma once
// 主窗口: the tool bar, the five pages and every handler of the desktop program. The window is a
// thin layer: it reads its controls, calls the core, calendar and naming libraries and writes the
// results back.

#include "naming/generator.h"
#include "naming/report.h"
#include "naming/session.h"

#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <optional>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTextEdit;
class QToolBar;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

class MainWindow : public QWidget
{
    Q_OBJECT
  public:
    MainWindow(const core::Tables& tables, std::filesystem::path dataDir,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Test hooks: draw from this library file instead of the sex's library, and seed the draws
    // with a fixed number instead of the clock.
    void setLibraryOverride(std::filesystem::path file) { m_libraryOverride = std::move(file); }
    void setSeedOverride(std::optional<std::uint64_t> seed) { m_seedOverride = seed; }

    const naming::SessionState& session() const { return m_session; }
    bool generationRunning() const { return m_running; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildToolBar();
    void buildNamingPage(QWidget* page);
    void buildAnalysisPage(QWidget* page);
    void buildLuckPage(QWidget* page);

    void onToolAction(QAction* action);
    void openBirthChart();

    void startGeneration();
    void stopGeneration();
    void readDrawSettings(naming::DrawSettings& settings) const;

    void analyseTypedName();
    void analyseListedName(QListWidget* list);
    bool showReport(const naming::ReportRequest& request);

    void copyCandidates();

    const core::Tables& m_tables;
    std::filesystem::path m_dataDir;
    naming::SessionState m_session;
    naming::NameGenerator m_generator;
    naming::DrawSettings m_drawSettings;
    bool m_running = false;
    std::filesystem::path m_libraryOverride;
    std::optional<std::uint64_t> m_seedOverride;

    QToolBar* m_toolBar = nullptr;
    QActionGroup* m_toolGroup = nullptr;
    QTabWidget* m_tabs = nullptr;

    // Page 宝宝取名.
    QLineEdit* m_surname = nullptr;
    QComboBox* m_sex = nullptr;
    QComboBox* m_length = nullptr;
    QCheckBox* m_fixedOn = nullptr;
    QComboBox* m_fixedPosition = nullptr;
    QLineEdit* m_fixedChar = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QLineEdit* m_year = nullptr;
    QLineEdit* m_month = nullptr;
    QLineEdit* m_day = nullptr;
    QLineEdit* m_hour = nullptr;
    QLineEdit* m_minute = nullptr;
    QCheckBox* m_collect = nullptr;
    QLineEdit* m_threshold = nullptr;
    QListWidget* m_generated = nullptr;
    QListWidget* m_candidates = nullptr;

    // Page 姓名评测.
    QLineEdit* m_surname2 = nullptr;
    QLineEdit* m_given2 = nullptr;
    QLineEdit* m_year2 = nullptr;
    QLineEdit* m_month2 = nullptr;
    QLineEdit* m_day2 = nullptr;
    QLineEdit* m_hour2 = nullptr;
    QLineEdit* m_minute2 = nullptr;
    QTextEdit* m_report = nullptr;
};

} // namespace hmf::ui
