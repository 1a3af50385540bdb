#pragma once
// Page 收藏夹: the kept names with score, assessment, source and note; the note is edited in
// place. Names are removed with 删除 or the Delete key (and brought back with undo), compared two
// to four at a time, and exported to CSV.

#include "ui/shortlist.h"
#include "ui/startup.h"

#include <QWidget>

class QPushButton;
class QTableWidget;
class QUndoStack;

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

    // Keeps the name with its assessment, saves the list and says so in statusMessage; a name
    // kept already is only reported. A save that fails is shown in a message box.
    void add(const ShortlistEntry& kept);

    // The removals of this run, for 编辑 → 撤销 (createUndoAction gives the menu item).
    QUndoStack* undoStack() const { return m_undo; }
    // Brings back the names of the last removal not undone yet.
    void undoRemove();
    // Reads the assessment tables before the first name is kept.
    void setTableLoader(TableLoader load) { m_loadTables = std::move(load); }

  signals:
    // A short word for the window's status bar ("已将“林子涵”加入收藏夹").
    void statusMessage(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // The columns' widths from the text size, so that a larger text does not cut them.
    void fitColumns();
    class RemoveCommand;
    void refill();
    QStringList shownTexts() const;
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
    QUndoStack* m_undo = nullptr;
    QList<QWidget*> m_buttons;
};

} // namespace hmf::ui
