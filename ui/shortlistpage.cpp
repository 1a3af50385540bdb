#include "ui/shortlistpage.h"

#include "core/tables.h"
#include "naming/assessment.h"
#include "ui/comparewindow.h"
#include "ui/fileoutput.h"
#include "ui/messagebox.h"
#include "ui/richtext.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>

namespace hmf::ui {
namespace {

enum Column {
    NameColumn,
    ScoreColumn,
    AssessmentColumn,
    MeaningColumn,
    SourceColumn,
    NoteColumn,
    ColumnCount
};

// The entry with the 寓意 of its given name when the name base has one: names kept before the
// meanings were recorded gain theirs once the base is loaded.
ShortlistEntry withMeaning(const core::Tables& tables, ShortlistEntry entry)
{
    if (entry.meaning.isEmpty() && tables.nameBase.size() > 0) {
        if (const auto found = tables.nameBase.find(entry.givenName.toStdString())) {
            entry.meaning =
                QString::fromUtf8(found->meaning.data(), qsizetype(found->meaning.size()));
            entry.meaningSource =
                QString::fromUtf8(found->source.data(), qsizetype(found->source.size()));
        }
    }
    return entry;
}

} // namespace

// Removes kept names; undone, puts them back where they stood.
class ShortlistPage::RemoveCommand : public QUndoCommand
{
  public:
    RemoveCommand(ShortlistPage& page, const QList<int>& rows) : m_page(page)
    {
        for (int row : rows)
            m_removed.append(page.m_shortlist.entries().at(row));
        m_rows = rows;
        setText(m_removed.size() == 1 ? QStringLiteral("删除“%1”").arg(m_removed[0].fullName())
                                      : QStringLiteral("删除%1个名字").arg(m_removed.size()));
    }
    void redo() override
    {
        for (const ShortlistEntry& entry : std::as_const(m_removed))
            m_page.m_shortlist.remove(m_page.m_shortlist.indexOf(entry.fullName()));
        m_page.refill();
        m_page.saveOrReport();
    }
    void undo() override
    {
        for (int i = 0; i < m_removed.size(); ++i)
            m_page.m_shortlist.add(m_removed[i], m_rows[i]);
        m_page.refill();
        m_page.saveOrReport();
        emit m_page.statusMessage(QStringLiteral("已恢复%1").arg(text().mid(2)));
    }

  private:
    ShortlistPage& m_page;
    QList<ShortlistEntry> m_removed;
    QList<int> m_rows; // ascending, so each goes back before those after it
};

ShortlistPage::ShortlistPage(const core::Tables& tables, QString file, QWidget* parent)
    : QWidget(parent), m_tables(tables), m_shortlist(std::move(file)), m_undo(new QUndoStack(this))
{
    m_loadProblem = m_shortlist.load();

    auto* caption =
        new QLabel(QStringLiteral("收藏的名字（备注可直接编辑，Delete 键删除）："), this);
    caption->setObjectName(QStringLiteral("标签_收藏"));
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("表格_收藏"));
    m_table->setColumnCount(ColumnCount);
    m_table->setHorizontalHeaderLabels({QStringLiteral("名字"), QStringLiteral("评分"),
                                        QStringLiteral("品评"), QStringLiteral("寓意"),
                                        QStringLiteral("出处"), QStringLiteral("备注")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    m_table->verticalHeader()->hide();
    fitColumns();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->installEventFilter(this);

    const auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromUtf8(name));
        return b;
    };
    auto* remove = button(QStringLiteral("删除所选"), "按钮_删除收藏");
    auto* compare = button(QStringLiteral("比较所选（2～4个）"), "按钮_比较");
    auto* csv = button(QStringLiteral("导出CSV"), "按钮_收藏导出CSV");
    m_buttons = {remove, compare, csv};

    // The caption, the table taking all the room, and the buttons under it from the left.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(caption, 0, 0, 1, 4);
    layout->addWidget(m_table, 1, 0, 1, 4);
    for (int c = 0; c < 3; ++c)
        layout->addWidget(m_buttons[c], 2, c);
    layout->setColumnStretch(3, 1);
    layout->setRowStretch(1, 1);

    connect(remove, &QPushButton::clicked, this, &ShortlistPage::removeSelected);
    connect(compare, &QPushButton::clicked, this, &ShortlistPage::compareSelected);
    connect(csv, &QPushButton::clicked, this, &ShortlistPage::exportList);
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (m_filling || item->column() != NoteColumn)
            return;
        m_shortlist.setNote(item->row(), item->text());
        // Saved once the cell's change is over: the save may refill the table.
        QTimer::singleShot(0, this, &ShortlistPage::saveOrReport);
    });
    refill();
}

void ShortlistPage::refill()
{
    m_filling = true;
    const auto& entries = m_shortlist.entries();
    m_table->setRowCount(int(entries.size()));
    for (int row = 0; row < entries.size(); ++row) {
        const ShortlistEntry e = withMeaning(m_tables, entries[row]);
        const QString cells[ColumnCount] = {
            e.fullName(), e.scoreText, e.assessment ? QString::number(*e.assessment) : QString(),
            e.meaning,    e.source,    e.note};
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c != NoteColumn)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            if (c == NameColumn && !e.birthText().isEmpty())
                item->setToolTip(plainToolTip(QStringLiteral("出生：%1").arg(e.birthText())));
            if (c == AssessmentColumn && !e.assessmentNotes.isEmpty())
                item->setToolTip(plainToolTip(e.assessmentNotes));
            if (c == MeaningColumn && !e.meaning.isEmpty())
                item->setToolTip(plainToolTip(QStringLiteral("寓意：") + e.meaning +
                                              (e.meaningSource.isEmpty()
                                                   ? QString()
                                                   : QStringLiteral("\n典出") + e.meaningSource)));
            m_table->setItem(row, c, item);
        }
    }
    m_filling = false;
}

QStringList ShortlistPage::shownTexts() const
{
    QStringList texts;
    for (const ShortlistEntry& e : m_shortlist.entries())
        texts << e.fullName() << e.note;
    return texts;
}

void ShortlistPage::saveOrReport()
{
    const QStringList before = shownTexts();
    QString error;
    const bool saved = m_shortlist.save(&error);
    // The save merged in what other running copies kept, removed or noted.
    if (shownTexts() != before)
        refill();
    if (!saved)
        MessageBox::show(this, error, MessageBox::Icon::Warning);
}

void ShortlistPage::add(const ShortlistEntry& kept)
{
    ShortlistEntry entry = kept;
    // The assessment is taken when the name is kept, with the sex and birth time it was kept
    // with.
    if (!entry.assessment) {
        if (m_loadTables && !m_loadTables(core::kAssessmentTables))
            return;
        naming::AssessmentRequest request;
        request.surname = entry.surname.toStdString();
        request.givenName = entry.givenName.toStdString();
        request.sex = entry.sex.toStdString();
        if (entry.year != 0)
            request.birth = calendar::BirthTime{entry.year, entry.month, entry.day, entry.hour};
        const auto assessed = naming::assessName(m_tables, request);
        if (assessed) {
            const naming::Assessment& assessment = *assessed;
            entry.assessment = assessment.figure;
            QStringList reasons;
            for (const naming::AssessmentFlag& flag : assessment.flags)
                reasons.append(QStringLiteral("【%1】%2")
                                   .arg(QString::fromUtf8(flag.kindText().data(),
                                                          qsizetype(flag.kindText().size())),
                                        QString::fromStdString(flag.text)));
            entry.assessmentNotes = reasons.join(QLatin1Char('\n'));
            entry.meaning = QString::fromStdString(assessment.nameMeaning);
            entry.meaningSource = QString::fromStdString(assessment.nameSource);
        }
    }
    if (!m_shortlist.add(entry)) {
        emit statusMessage(QStringLiteral("“%1”已在收藏夹中").arg(entry.fullName()));
        return;
    }
    QString error;
    const bool saved = m_shortlist.save(&error);
    refill();
    if (!saved) {
        // Kept for this run only: say so instead of a plain "added".
        MessageBox::show(
            this, QStringLiteral("“%1”已加入收藏夹，但未能保存：\n%2").arg(entry.fullName(), error),
            MessageBox::Icon::Warning);
        return;
    }
    emit statusMessage(QStringLiteral("已将“%1”加入收藏夹").arg(entry.fullName()));
}

QList<int> ShortlistPage::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ShortlistPage::removeSelected()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    auto* command = new RemoveCommand(*this, rows);
    const QString what = command->text();
    m_undo->push(command);
    emit statusMessage(QStringLiteral("已%1，可撤销（Ctrl+Z）").arg(what));
}

void ShortlistPage::undoRemove()
{
    m_undo->undo();
}

void ShortlistPage::compareSelected()
{
    const QList<int> rows = selectedRows();
    if (rows.size() < 2 || rows.size() > 4) {
        MessageBox::show(this, QStringLiteral("请选择两到四个名字进行比较"));
        return;
    }
    QList<ShortlistEntry> names;
    for (int row : rows)
        names.append(withMeaning(m_tables, m_shortlist.entries().at(row)));
    CompareWindow window(m_tables, names, this);
    window.exec();
}

void ShortlistPage::exportList()
{
    QList<QStringList> rows = {{QStringLiteral("名字"), QStringLiteral("评分"),
                                QStringLiteral("品评"), QStringLiteral("品评理由"),
                                QStringLiteral("寓意"), QStringLiteral("典出"),
                                QStringLiteral("出处"), QStringLiteral("备注"),
                                QStringLiteral("出生"), QStringLiteral("加入时间")}};
    for (const ShortlistEntry& kept : m_shortlist.entries()) {
        const ShortlistEntry e = withMeaning(m_tables, kept);
        rows.append({e.fullName(), e.scoreText,
                     e.assessment ? QString::number(*e.assessment) : QString(), e.assessmentNotes,
                     e.meaning, e.meaningSource, e.source, e.note, e.birthText(),
                     e.added.toString(Qt::ISODate)});
    }
    exportCsv(this, csvDocument(rows), QStringLiteral("收藏夹.csv"));
}

void ShortlistPage::fitColumns()
{
    // Widths in characters of the text; the note takes what is left.
    const int widths[] = {5, 4, 4, 12, 10};
    const int character = m_table->fontMetrics().horizontalAdvance(u'名');
    for (int c = 0; c < NoteColumn; ++c)
        m_table->setColumnWidth(c, widths[c] * character + 12);
}

void ShortlistPage::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_table)
        fitColumns();
}

bool ShortlistPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        // Keys typed into an open note editor go to the editor, not here.
        removeSelected();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace hmf::ui
