#pragma once
// Page 宝宝取名: the surname, sex, length, generation character and birth boxes, the run of
// draws into the list of generated names and the list of candidates, and the web buttons.

#include "calendar/birthchart.h"
#include "naming/generator.h"
#include "naming/report.h"
#include "naming/session.h"
#include "ui/birthinput.h"
#include "ui/formparts.h"
#include "ui/shortlist.h"
#include "ui/startup.h"

#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSettings;
class QTextBrowser;

namespace Ui {
class NamingPage;
}

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

class NamingPage : public QWidget
{
    Q_OBJECT
  public:
    NamingPage(const core::Tables& tables, naming::SessionState& session,
               std::filesystem::path dataDir, QWidget* parent = nullptr);
    ~NamingPage() override;

    void setLibraryOverride(std::filesystem::path file) { m_libraryOverride = std::move(file); }
    void setSeedOverride(std::optional<std::uint64_t> seed) { m_seedOverride = seed; }
    // Reads the assessment tables before the first run.
    void setTableLoader(TableLoader load) { m_loadTables = std::move(load); }

    bool generationRunning() const { return m_running; }
    // Puts the keyboard in the surname box, or in the find box over the lists.
    void focusFirstBox();
    void focusFind();
    void startGeneration();
    void stopGeneration();

    // The birth date and hour now in the boxes, and the boxes' texts as they stand.
    calendar::BirthTime birthTime() const;
    BirthTexts birthTexts() const;
    BirthBoxes birthBoxes() const { return m_birth->boxes(); }
    // The same read as the page's 公历/农历 choice and birthplace say, with the problem if any.
    BirthReading birthReading() const;
    BirthInput::Choice birthChoice() const { return m_birth->choice(); }

    // The analysis of a listed row such as 林子涵[88分] for the name, surname and sex it was drawn
    // with and the birth time now in the boxes; nothing when the title does not split into a name
    // and a score.
    std::optional<naming::ReportRequest> requestForRow(const QListWidgetItem& row) const;

    // The inputs and options a user expects to find again at the next start.
    void saveSettings(QSettings& settings) const;
    void restoreSettings(const QSettings& settings);

  signals:
    // A row of either list was double-clicked or took Enter: the list's current row.
    void rowChosen(QListWidgetItem* row);
    // The user asked to keep a listed name.
    void keepRequested(const hmf::ui::ShortlistEntry& entry);
    // How far a run has come: names drawn, new names listed, and of those kept as candidates;
    // `running` is false once the run has ended.
    void runCounted(int drawn, int listed, int kept, bool running);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TableLoader m_loadTables;
    void keepCurrentRow();
    void exportCandidates();
    void showListMenu(QListWidget* list, const QPoint& at);
    void readDrawSettings(naming::DrawSettings& settings) const;
    void copyCandidates();
    void sortCandidatesByAssessment();
    // Shows the rows that hold the find box's text, hides the others.
    void filterRows();
    void filterRow(QListWidgetItem* row) const;
    // Fills the source panel from the row's verse line and shows it; hides it for a library name.
    void showSourceOf(const QListWidgetItem* row);

    std::unique_ptr<Ui::NamingPage> m_ui;
    naming::SessionState& m_session;
    std::filesystem::path m_dataDir;
    naming::NameGenerator m_generator;
    naming::DrawSettings m_drawSettings;
    bool m_running = false;
    std::filesystem::path m_libraryOverride;
    std::optional<std::uint64_t> m_seedOverride;

    QLineEdit* m_surname = nullptr;
    QComboBox* m_sex = nullptr;
    QComboBox* m_length = nullptr;
    QCheckBox* m_fixedOn = nullptr;
    QComboBox* m_fixedPosition = nullptr;
    QLineEdit* m_fixedChar = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    BirthInput* m_birth = nullptr;
    QCheckBox* m_collect = nullptr;
    QCheckBox* m_leaveOut = nullptr;
    QLineEdit* m_threshold = nullptr;
    QListWidget* m_generated = nullptr;
    QListWidget* m_candidates = nullptr;
    QListWidget* m_lastList = nullptr; // the list whose row the 加入收藏 button keeps
    QComboBox* m_dateKind = nullptr;
    QComboBox* m_source = nullptr;
    QLineEdit* m_find = nullptr;
    QTextBrowser* m_sourcePanel = nullptr;
};

} // namespace hmf::ui
