#pragma once
// Page 收藏夹: the kept names with score, assessment, source and note; the note is edited in
// place. Names are removed with 删除 or the Delete key, compared two to four at a time, and
// exported to CSV.

#include "ui/shortlist.h"
#include "ui/startup.h"

#include <QWidget>

class QPushButton;
class QTableWidget;

namespace hmf::core {
struct Tables;
}

namespace hmf::ui {

class ShortlistPage : public QWidget
{
    Q_OBJECT
  public:
    ShortlistPage(const core::Tables& tables, QString file, QWidget* parent = nullptr);

    // What went wrong reading the file at start, for the user; empty when all was well.
    const QString& loadProblem() const { return m_loadProblem; }
    const Shortlist& shortlist() const { return m_shortlist; }

    // Keeps the name with its assessment, saves the list and tells the user; a name kept
    // already is only reported.
    void add(const ShortlistEntry& kept);
    // Reads the assessment tables before the first name is kept.
    void setTableLoader(TableLoader load) { m_loadTables = std::move(load); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void refill();
    void saveOrReport();
    void removeSelected();
    void compareSelected();
    void exportList();
    QList<int> selectedRows() const;

    const core::Tables& m_tables;
    TableLoader m_loadTables;
    Shortlist m_shortlist;
    QString m_loadProblem;
    bool m_filling = false;
    QTableWidget* m_table = nullptr;
    QList<QWidget*> m_buttons;
};

} // namespace hmf::ui
