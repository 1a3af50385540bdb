#pragma once
// Page 姓名评测: a typed name and birth date, and the coloured report of a name.

#include "naming/report.h"
#include "ui/birthinput.h"
#include "ui/formparts.h"
#include "ui/shortlist.h"
#include "ui/startup.h"

#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>

class QComboBox;
class QLineEdit;
class QSettings;
class QTextEdit;

namespace Ui {
class AnalysisPage;
}

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

class AnalysisPage : public QWidget
{
    Q_OBJECT
  public:
    explicit AnalysisPage(const core::Tables& tables, QWidget* parent = nullptr);
    ~AnalysisPage() override;

    // Where the verse table lies; it is read at the first report, for the line "出处：…".
    void setVerseDirectory(std::filesystem::path dataDir) { m_verseDir = std::move(dataDir); }
    // Reads the assessment tables before the first report.
    void setTableLoader(TableLoader load) { m_loadTables = std::move(load); }

    // Shows the report of `request`; a refused request leaves the report as it was, shows the
    // refusal and gives false.
    bool showReport(const naming::ReportRequest& request,
                    const calendar::BirthDetails& details = {});

    void setBirthTexts(const BirthTexts& texts) { m_birth->setTexts(texts); }
    void setBirthChoice(const BirthInput::Choice& choice) { m_birth->setChoice(choice); }
    void setName(const QString& surname, const QString& givenName);
    // Chooses 男 or 女 in the sex box; any other text leaves it as it is.
    void setSex(const QString& sex);
    // Puts the keyboard in the surname box, or in the report.
    void focusFirstBox();
    void focusReport();

    void saveSettings(QSettings& settings) const;
    void restoreSettings(const QSettings& settings);

  signals:
    // The user asked to keep the name of the report now shown.
    void keepRequested(const hmf::ui::ShortlistEntry& entry);

  private:
    std::filesystem::path m_verseDir;
    bool m_verseFaultShown = false;
    TableLoader m_loadTables;
    void analyseTypedName();
    void keepShownName();
    bool reportShown();

    std::unique_ptr<Ui::AnalysisPage> m_ui;
    const core::Tables& m_tables;
    QLineEdit* m_surname = nullptr;
    QLineEdit* m_given = nullptr;
    QTextEdit* m_report = nullptr;
    BirthInput* m_birth = nullptr;
    QComboBox* m_sex = nullptr;
    // The request and computed score of the report now shown.
    std::optional<naming::ReportRequest> m_shown;
    std::optional<int> m_shownScore;
};

} // namespace hmf::ui
