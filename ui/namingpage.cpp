#include "ui/namingpage.h"

#include "core/tables.h"
#include "core/text.h"
#include "naming/candidates.h"
#include "ui/artwork.h"
#include "ui/fileoutput.h"
#include "ui/imagebutton.h"
#include "ui/messagebox.h"
#include "ui/richtext.h"
#include "ui/weblinks.h"
#include "ui_namingpage.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTextBrowser>
#include <QValidator>

#include <algorithm>
#include <chrono>

namespace hmf::ui {
namespace {

constexpr qint64 kShowRowsEveryMs = 40;
// The assessment figure of a listed row, for sorting.
constexpr int kAssessmentRole = Qt::UserRole + 1;
// The surname, given name and sex a row was drawn for: the row stays in the list when the boxes
// change, and is analysed and kept as the name it shows.
constexpr int kSurnameRole = Qt::UserRole + 2;
constexpr int kGivenNameRole = Qt::UserRole + 3;
constexpr int kSexRole = Qt::UserRole + 4;
// The verse line a row was drawn from: book, title, author and line; absent for library names.
constexpr int kSourceRole = Qt::UserRole + 5;
// The 寓意 of a name of the name base and its source (empty when it has none); absent for other
// names.
constexpr int kMeaningRole = Qt::UserRole + 6;
constexpr int kMeaningSourceRole = Qt::UserRole + 7;
// The source choices: the library alone, or one of the books of the verse table.
const char* const kSources[] = {naming::kLibrarySource, "诗经", "楚辞", "唐诗", "宋词"};

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

std::optional<naming::VerseSource> sourceOf(const QListWidgetItem* row)
{
    const QStringList parts = row ? row->data(kSourceRole).toStringList() : QStringList();
    if (parts.size() != 4)
        return std::nullopt;
    return naming::VerseSource{parts[0].toStdString(), parts[1].toStdString(),
                               parts[2].toStdString(), parts[3].toStdString()};
}

// A row keeps the product's title; its tooltip gives the assessment and its first reasons.
QListWidgetItem* rowItem(const naming::DrawResult& drawn, const QString& sex)
{
    auto* item = new QListWidgetItem(QString::fromStdString(drawn.title));
    const std::string surname = drawn.fullName.substr(
        0, drawn.fullName.size() - std::min(drawn.fullName.size(), drawn.givenName.size()));
    item->setData(kSurnameRole, QString::fromStdString(surname));
    item->setData(kGivenNameRole, QString::fromStdString(drawn.givenName));
    item->setData(kSexRole, sex);
    if (drawn.source) {
        const naming::VerseSource& from = *drawn.source;
        item->setData(kSourceRole, QStringList{fromStd(from.book), fromStd(from.title),
                                               fromStd(from.author), fromStd(from.line)});
    }
    const naming::Assessment& a = drawn.assessment;
    QString tip = QStringLiteral("品评分 %1").arg(a.figure);
    int shown = 0;
    for (const auto& flag : a.flags) {
        if (shown++ == 3)
            break;
        tip +=
            QStringLiteral("\n【%1】%2")
                .arg(QString::fromUtf8(flag.kindText().data(), qsizetype(flag.kindText().size())),
                     QString::fromStdString(flag.text));
    }
    if (!a.nameMeaning.empty()) {
        item->setData(kMeaningRole, fromStd(a.nameMeaning));
        tip += QStringLiteral("\n寓意：") + fromStd(a.nameMeaning);
        if (!a.nameSource.empty()) {
            item->setData(kMeaningSourceRole, fromStd(a.nameSource));
            tip += QStringLiteral("\n典出") + fromStd(a.nameSource);
        }
    }
    if (drawn.source)
        tip += QStringLiteral("\n出处：") + fromStd(naming::citation(*drawn.source));
    item->setToolTip(plainToolTip(tip));
    item->setData(kAssessmentRole, a.figure);
    return item;
}

// Draws a row as any list does, then, after its title, the 寓意 of a name of the name base in the
// colour of secondary text, cut short with "…" where the list ends. The row's text stays the
// title alone.
class MeaningDelegate : public QStyledItemDelegate
{
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QString meaning = index.data(kMeaningRole).toString();
        if (meaning.isEmpty())
            return;
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget* widget = item.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
        const QFontMetrics& metrics = item.fontMetrics;
        // The title starts after the style's margin; two spaces keep the meaning apart from it.
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect room = text.adjusted(margin + metrics.horizontalAdvance(item.text) +
                                             metrics.horizontalAdvance(u'　'),
                                         0, -margin, 0);
        if (room.width() < metrics.horizontalAdvance(u'…') * 2)
            return;
        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(item.state & QStyle::State_Selected
                                               ? QPalette::HighlightedText
                                               : QPalette::PlaceholderText));
        painter->drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                          metrics.elidedText(meaning, Qt::ElideRight, room.width()));
        painter->restore();
    }
};

// A refused input is told with the information icon; a fault of the program's data plainly.
MessageBox::Icon iconOf(const core::Error& error)
{
    return error.isDataFault() ? MessageBox::Icon::None : MessageBox::Icon::Information;
}

// Accepts at most one character, counted as the user sees it: a character outside the Basic
// Multilingual Plane takes two UTF-16 units but is still one character.
class OneCharacterValidator : public QValidator
{
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return input.toUcs4().size() <= 1 ? Acceptable : Invalid;
    }
};

} // namespace

NamingPage::NamingPage(const core::Tables& tables, naming::SessionState& session,
                       std::filesystem::path dataDir, QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::NamingPage>()), m_session(session),
      m_dataDir(std::move(dataDir)), m_generator(tables, session)
{
    Ui::NamingPage& ui = *m_ui;
    ui.setupUi(this);
    m_surname = ui.编辑框_姓;
    m_sex = ui.组合框_性别;
    m_length = ui.组合框_个数;
    m_fixedOn = ui.选择框1;
    m_fixedPosition = ui.组合框_第几个字;
    m_fixedChar = ui.编辑框_固定字;
    m_fixedChar->setValidator(new OneCharacterValidator(m_fixedChar));
    m_start = ui.按钮1;
    m_stop = ui.按钮2;
    m_dateKind = ui.组合框1;
    m_birth = ui.birthInput;
    m_birth->setUp(tables.cities, {"组合框_历法",
                                   "选择框_闰月",
                                   {"编辑框7", "编辑框8", "编辑框9", "编辑框11", "编辑框10"},
                                   {"标签30", "标签31", "标签32", "标签33", "标签34"},
                                   "标签37",
                                   "标签_出生地",
                                   "组合框_出生地"});
    m_birth->setTexts({"2019", "5", "5", "5", "5"});
    m_collect = ui.选择框_候选;
    m_threshold = ui.编辑框1;
    // Beside the product's controls: leave out names that sound like a bad word or hold a
    // character outside the general table (on by default), and where names come from: the
    // library (as always) or the lines of a book of verse.
    m_leaveOut = ui.选择框_略去;
    m_source = ui.组合框_出处;
    for (const char* source : kSources)
        m_source->addItem(QString::fromUtf8(source));
    m_find = ui.编辑框_查找;
    m_find->setClearButtonEnabled(true);
    m_find->installEventFilter(this);
    connect(m_find, &QLineEdit::textChanged, this, &NamingPage::filterRows);
    m_generated = ui.超级列表框1;
    m_candidates = ui.列表框1;
    for (QListWidget* list : {m_generated, m_candidates})
        list->setItemDelegate(new MeaningDelegate(list));
    // The note between the lists stands upright, one character under the other.
    ui.标签10->setText(
        QStringLiteral("候选名字列表 双击可查看详细解释：").split(QString()).join(u'\n').trimmed());
    // Under the generated list while the selected row comes from verse: the poem and its line.
    m_sourcePanel = ui.编辑框_出处;
    m_sourcePanel->setMaximumHeight(5 * fontMetrics().lineSpacing());
    m_sourcePanel->hide();

    for (const WebLink& link : webLinks()) {
        auto* button = new ImageButton(wordTile(QString::fromUtf8(link.words), link.colour, 56,
                                                qMax(2.0, devicePixelRatioF())),
                                       this);
        button->setObjectName(QString::fromUtf8(link.objectName));
        button->setFixedSize(56, 56);
        ui.webButtons->addWidget(button);
        button->setToolTip(QString::fromUtf8(link.words));
        button->setAccessibleName(QString::fromUtf8(link.words));
        const QUrl address(QString::fromUtf8(link.address));
        // 超级按钮2 answers the press of the mouse button, the others a whole click.
        if (QByteArray(link.objectName) == "超级按钮2")
            connect(button, &QAbstractButton::pressed, this, [address] { openWebPage(address); });
        else
            connect(button, &QAbstractButton::clicked, this, [address] { openWebPage(address); });
    }
    ui.webButtons->addStretch();
    QPushButton* const clear = ui.按钮4;
    QPushButton* const copy = ui.按钮5;
    QPushButton* const sort = ui.按钮_品评排序;
    QPushButton* const keep = ui.按钮_加入收藏;
    QPushButton* const exportList = ui.按钮_候选导出CSV;

    connect(m_start, &QPushButton::clicked, this, &NamingPage::startGeneration);
    connect(m_stop, &QPushButton::clicked, this, &NamingPage::stopGeneration);
    // Esc anywhere on the page stops a run, as 停止 does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_running)
            stopGeneration();
    });
    m_lastList = m_candidates;
    for (QListWidget* list : {m_generated, m_candidates}) {
        connect(list, &QListWidget::itemDoubleClicked, this, [this, list] {
            if (QListWidgetItem* row = list->currentItem())
                emit rowChosen(row);
        });
        connect(list, &QListWidget::currentItemChanged, this, [this, list](QListWidgetItem* row) {
            if (row)
                m_lastList = list;
            // Emptying one list leaves the panel to the row still selected in the other.
            showSourceOf(row ? row : m_lastList->currentItem());
        });
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this,
                [this, list](const QPoint& at) { showListMenu(list, at); });
        list->installEventFilter(this);
    }
    connect(clear, &QPushButton::clicked, this, [this] {
        // The candidates of several runs are gone for good once cleared: ask first.
        if (m_candidates->count() > 0 &&
            !MessageBox::confirm(
                this, QStringLiteral("清空候选名字列表中的%1个名字？").arg(m_candidates->count()),
                QStringLiteral("清空")))
            return;
        m_candidates->clear();
    });
    connect(copy, &QPushButton::clicked, this, &NamingPage::copyCandidates);
    connect(sort, &QPushButton::clicked, this, &NamingPage::sortCandidatesByAssessment);
    connect(keep, &QPushButton::clicked, this, &NamingPage::keepCurrentRow);
    connect(exportList, &QPushButton::clicked, this, &NamingPage::exportCandidates);

    // Enter in any box of the page starts a run, as the 开始 button does.
    const BirthBoxes birth = m_birth->boxes();
    for (QLineEdit* box : {m_surname, m_fixedChar, birth.year, birth.month, birth.day, birth.hour,
                           birth.minute, m_threshold, m_fixedPosition->lineEdit()})
        connect(box, &QLineEdit::returnPressed, this, &NamingPage::startGeneration);

    // Tab follows the order of filling in: the name boxes of the first row, the birth row (how
    // the date is meant, the date, the birthplace), the run's options, 开始 and 停止, the lists
    // and the buttons under them from left to right.
    QList<QWidget*> order = {m_surname,       m_sex,       m_length,  m_fixedOn,
                             m_fixedPosition, m_fixedChar, m_dateKind};
    order += m_birth->tabOrder();
    order += {m_collect,   m_threshold,  m_leaveOut, m_source,   m_start, m_stop, m_find,
              m_generated, m_candidates, sort,       exportList, keep,    clear,  copy};
    for (qsizetype k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
}

NamingPage::~NamingPage() = default;

void NamingPage::focusFind()
{
    m_find->setFocus();
    m_find->selectAll();
}

void NamingPage::filterRow(QListWidgetItem* row) const
{
    // A name or its 寓意 holds the text ("涵" finds 林子涵, "光明" the names that mean it).
    const QString wanted = m_find->text().trimmed();
    row->setHidden(!wanted.isEmpty() && !row->text().contains(wanted) &&
                   !row->data(kMeaningRole).toString().contains(wanted));
}

void NamingPage::filterRows()
{
    for (QListWidget* list : {m_generated, m_candidates})
        for (int i = 0; i < list->count(); ++i)
            filterRow(list->item(i));
}

void NamingPage::focusFirstBox()
{
    m_surname->setFocus();
}

bool NamingPage::eventFilter(QObject* watched, QEvent* event)
{
    // Down or Enter in the find box goes on to the first name shown in the generated list.
    if (watched == m_find && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) {
            for (int i = 0; i < m_generated->count(); ++i) {
                if (!m_generated->item(i)->isHidden()) {
                    m_generated->setCurrentRow(i);
                    break;
                }
            }
            m_generated->setFocus();
            return true;
        }
    }
    auto* list = qobject_cast<QListWidget*>(watched);
    if (list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (QListWidgetItem* row = list->currentItem())
                emit rowChosen(row);
            return true;
        }
        if (key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier) {
            m_lastList = list;
            keepCurrentRow();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void NamingPage::showListMenu(QListWidget* list, const QPoint& at)
{
    QListWidgetItem* row = list->itemAt(at);
    if (!row)
        return;
    list->setCurrentItem(row);
    QMenu menu(this);
    QAction* analyse = menu.addAction(QStringLiteral("查看测评"));
    QAction* keep = menu.addAction(QStringLiteral("加入收藏"));
    keep->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    QAction* chosen = menu.exec(list->viewport()->mapToGlobal(at));
    if (chosen == analyse) {
        emit rowChosen(row);
    } else if (chosen == keep) {
        m_lastList = list;
        keepCurrentRow();
    }
}

void NamingPage::keepCurrentRow()
{
    QListWidgetItem* row = m_lastList ? m_lastList->currentItem() : nullptr;
    if (!row) {
        MessageBox::show(this, QStringLiteral("请先在名字列表中选择一个名字"));
        return;
    }
    const auto request = requestForRow(*row);
    const auto parts = naming::splitRowTitle(row->text().toStdString());
    if (!request || !parts || request->givenName.empty()) {
        MessageBox::show(this, QStringLiteral("这一行不是可以收藏的名字"));
        return;
    }
    ShortlistEntry entry;
    entry.surname = QString::fromStdString(request->surname);
    entry.givenName = QString::fromStdString(request->givenName);
    entry.sex = QString::fromStdString(request->sex);
    if (calendar::checkBirthTime(request->birth)) {
        entry.year = request->birth.year;
        entry.month = request->birth.month;
        entry.day = request->birth.day;
        entry.hour = request->birth.hour;
    }
    entry.scoreText = QString::fromStdString(parts->scoreText);
    if (const auto source = sourceOf(row))
        entry.source = fromStd(naming::citation(*source));
    emit keepRequested(entry);
}

void NamingPage::exportCandidates()
{
    if (m_candidates->count() == 0) {
        MessageBox::show(this, QStringLiteral("候选名字列表是空的"));
        return;
    }
    QList<QStringList> rows = {{QStringLiteral("名字"), QStringLiteral("评分"),
                                QStringLiteral("寓意"), QStringLiteral("典出")}};
    for (int i = 0; i < m_candidates->count(); ++i) {
        const QListWidgetItem* row = m_candidates->item(i);
        const QString title = row->text();
        const auto parts = naming::splitRowTitle(title.toStdString());
        QStringList cells = parts ? QStringList{QString::fromStdString(parts->fullName),
                                                QString::fromStdString(parts->scoreText)}
                                  : QStringList{title, QString()};
        cells << row->data(kMeaningRole).toString() << row->data(kMeaningSourceRole).toString();
        rows.append(cells);
    }
    exportCsv(this, csvDocument(rows), QStringLiteral("候选名字.csv"));
}

void NamingPage::saveSettings(QSettings& settings) const
{
    settings.beginGroup(QStringLiteral("naming"));
    settings.setValue(QStringLiteral("surname"), m_surname->text());
    settings.setValue(QStringLiteral("sex"), m_sex->currentIndex());
    settings.setValue(QStringLiteral("length"), m_length->currentIndex());
    settings.setValue(QStringLiteral("fixedOn"), m_fixedOn->isChecked());
    settings.setValue(QStringLiteral("fixedPosition"), m_fixedPosition->currentText());
    settings.setValue(QStringLiteral("fixedChar"), m_fixedChar->text());
    settings.setValue(QStringLiteral("dateKind"), m_dateKind->currentIndex());
    settings.setValue(QStringLiteral("collect"), m_collect->isChecked());
    settings.setValue(QStringLiteral("threshold"), m_threshold->text());
    settings.setValue(QStringLiteral("source"), m_source->currentText());
    settings.endGroup();
    saveBirthBoxes(settings, QStringLiteral("naming"), birthBoxes());
}

void NamingPage::restoreSettings(const QSettings& settings)
{
    const auto text = [&settings](const char* key, QLineEdit* box) {
        const QVariant v = settings.value(QStringLiteral("naming/") + QLatin1String(key));
        if (v.isValid())
            box->setText(v.toString());
    };
    const auto index = [&settings](const char* key, QComboBox* box) {
        bool ok = false;
        const int i = settings.value(QStringLiteral("naming/") + QLatin1String(key)).toInt(&ok);
        if (ok && i >= 0 && i < box->count())
            box->setCurrentIndex(i);
    };
    const auto tick = [&settings](const char* key, QCheckBox* box) {
        const QVariant v = settings.value(QStringLiteral("naming/") + QLatin1String(key));
        if (v.isValid())
            box->setChecked(v.toBool());
    };
    text("surname", m_surname);
    index("sex", m_sex);
    index("length", m_length);
    tick("fixedOn", m_fixedOn);
    const QVariant position = settings.value(QStringLiteral("naming/fixedPosition"));
    if (position.isValid())
        m_fixedPosition->setCurrentText(position.toString());
    text("fixedChar", m_fixedChar);
    index("dateKind", m_dateKind);
    restoreBirthBoxes(settings, QStringLiteral("naming"), birthBoxes());
    tick("collect", m_collect);
    text("threshold", m_threshold);
    // A source the box does not offer (an older or edited file) leaves 字库.
    const int source =
        m_source->findText(settings.value(QStringLiteral("naming/source")).toString());
    if (source >= 0)
        m_source->setCurrentIndex(source);
}

void NamingPage::showSourceOf(const QListWidgetItem* row)
{
    const auto source = sourceOf(row);
    if (!source) {
        m_sourcePanel->clear();
        m_sourcePanel->hide();
        return;
    }
    // The book and title, the author where known, then the line with the name's characters bold
    // and red.
    QString html =
        QStringLiteral("<p style=\"margin:0\"><b>《%1·%2》</b>")
            .arg(fromStd(source->book).toHtmlEscaped(), fromStd(source->title).toHtmlEscaped());
    if (!source->author.empty())
        html += QStringLiteral(" %1").arg(fromStd(source->author).toHtmlEscaped());
    html += QStringLiteral("</p><p style=\"margin:0\">");
    const std::string given = row->data(kGivenNameRole).toString().toStdString();
    for (const naming::MarkedPiece& piece : naming::markCharacters(source->line, given)) {
        const QString text = fromStd(piece.text).toHtmlEscaped();
        html += piece.marked
                    ? QStringLiteral("<span style=\"color:#d00000; font-weight:bold\">%1</span>")
                          .arg(text)
                    : text;
    }
    m_sourcePanel->setHtml(html + QStringLiteral("</p>"));
    if (m_sourcePanel->isHidden()) {
        m_sourcePanel->show();
        if (m_generated->currentItem())
            m_generated->scrollToItem(m_generated->currentItem());
    }
}

calendar::BirthTime NamingPage::birthTime() const
{
    // A lunar date that does not exist gives a time every caller refuses; a bad birthplace does
    // not touch the time.
    BirthReading birth = birthReading();
    if (!birth.problem.empty() && m_birth->lunar())
        return {0, 0, 0, birth.time.hour};
    return birth.time;
}

BirthReading NamingPage::birthReading() const
{
    return m_birth->read();
}

BirthTexts NamingPage::birthTexts() const
{
    return m_birth->texts();
}

std::optional<naming::ReportRequest> NamingPage::requestForRow(const QListWidgetItem& row) const
{
    const auto parts = naming::splitRowTitle(row.text().toStdString());
    if (!parts)
        return std::nullopt;

    naming::ReportRequest request;
    if (row.data(kGivenNameRole).isValid()) {
        // A drawn row: the name and sex of its run, whatever the boxes hold now.
        request.surname = row.data(kSurnameRole).toString().toStdString();
        request.givenName = row.data(kGivenNameRole).toString().toStdString();
        request.sex = row.data(kSexRole).toString().toStdString();
    } else {
        // A row that came from elsewhere is split by the surname in the box.
        const int fallbackLength = numberOf(m_length->currentText()).value_or(2);
        request.surname = core::trimBlanks(textOf(m_surname));
        request.givenName =
            naming::givenNameOfRow(parts->fullName, request.surname, fallbackLength);
        request.sex = m_sex->currentText().toStdString();
    }
    request.birth = birthTime();
    // The row's own score stands in for the computed one once a fixed character has been used.
    if (m_session.fixedCharUsed)
        request.shownScore = parts->scoreText;
    return request;
}

void NamingPage::readDrawSettings(naming::DrawSettings& settings) const
{
    // A control that holds nothing usable keeps the value of the previous draw.
    if (const auto length = numberOf(m_length->currentText());
        length && *length >= 1 && *length <= 3)
        settings.length = *length;
    settings.fixedOn = m_fixedOn->isChecked();
    if (const auto position = numberOf(m_fixedPosition->currentText());
        position && *position >= 1 && *position <= 3)
        settings.fixedPosition = *position;
    // The score reads the Gregorian date, also of a birthday typed as a lunar date.
    const calendar::BirthTime birth = birthTime();
    if (calendar::checkBirthTime({birth.year, birth.month, birth.day, 0})) {
        settings.year = birth.year;
        settings.month = birth.month;
        settings.day = birth.day;
    }
    settings.collect = m_collect->isChecked();
    settings.leaveOutFaulty = m_leaveOut->isChecked();
    if (const auto threshold = numberOf(m_threshold->text()))
        settings.threshold = *threshold;
}

void NamingPage::startGeneration()
{
    if (m_running)
        return;
    if (m_fixedOn->isChecked()) {
        // Any start with the option ticked counts as its use, refused or not.
        m_session.fixedCharUsed = true;
        const auto position = numberOf(m_fixedPosition->currentText());
        if (!position || *position < 1 || *position > 3) {
            MessageBox::show(this, QStringLiteral("辈分字的位置应为1到3"));
            return;
        }
    }
    if (m_collect->isChecked() && !numberOf(m_threshold->text())) {
        MessageBox::show(this, QStringLiteral("请填写正确的候选分数"));
        return;
    }

    // A lunar date that does not exist or an unknown birthplace is refused before anything else.
    const BirthReading birth = birthReading();
    if (!birth.problem.empty() && (m_birth->lunar() || calendar::checkBirthTime(birth.time))) {
        MessageBox::show(this, QString::fromStdString(birth.problem));
        return;
    }

    // The verse table is read at the first run from verse; a table that cannot be read stops the
    // run before the lists change.
    naming::RunSettings run;
    run.source = m_source->currentText().toStdString();
    if (run.source != naming::kLibrarySource) {
        const auto verse = naming::verseTable(m_dataDir);
        if (!verse) {
            MessageBox::show(this, QStringLiteral("诗词出处表有误，无法从诗词取名：") +
                                       fromStd(verse.error().message()));
            return;
        }
        run.verse = *verse;
    }
    run.surname = textOf(m_surname);
    run.sex = m_sex->currentText().toStdString();
    run.fixedOn = m_fixedOn->isChecked();
    run.fixedChar = textOf(m_fixedChar);
    run.birth = birthTime();
    run.dataDir = m_dataDir;
    run.libraryFile = m_libraryOverride;
    readDrawSettings(m_drawSettings);
    run.length = m_drawSettings.length;
    if (m_seedOverride) {
        run.seed = *m_seedOverride;
    } else {
        // The clock mixed with the digits of the birth date, as "2019" "5" "5" gives 201955.
        const BirthTexts texts = m_birth->texts();
        const QString dateDigits = QStringLiteral("%1%2%3").arg(
            texts.year.trimmed(), texts.month.trimmed(), texts.day.trimmed());
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        run.seed =
            std::uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()) +
            dateDigits.toULongLong();
    }

    if (m_loadTables && !m_loadTables(core::kAssessmentTables))
        return;
    const naming::StartResult started = m_generator.start(run);
    if (started.clearRows)
        m_generated->clear();
    if (!started.started()) {
        const core::Error& error = started.status.error();
        MessageBox::show(this, QString::fromStdString(error.message()), iconOf(error));
        return;
    }

    m_running = true;
    m_start->setEnabled(false);
    m_stop->setEnabled(true);
    const QString runSex = m_sex->currentText();
    QList<QListWidgetItem*> newRows;
    QList<QListWidgetItem*> newCandidates;
    int draws = 0;
    int listed = 0;
    int kept = 0;
    QElapsedTimer sinceShown;
    sinceShown.start();
    // New rows reach the lists in batches a few times a second: painting the lists after every
    // one of 5,000 draws would cost far more than the draws themselves.
    const auto showNewRows = [&] {
        if (!newRows.isEmpty()) {
            for (QListWidgetItem* item : newRows) {
                m_generated->addItem(item);
                filterRow(item);
            }
            m_generated->scrollToBottom();
            newRows.clear();
        }
        if (!newCandidates.isEmpty()) {
            for (QListWidgetItem* item : newCandidates) {
                m_candidates->addItem(item);
                filterRow(item);
            }
            newCandidates.clear();
        }
        sinceShown.restart();
        emit runCounted(draws, listed, kept, true);
    };
    for (;;) {
        readDrawSettings(m_drawSettings);
        const naming::DrawResult drawn = m_generator.draw(m_drawSettings);
        if (!drawn.drawn)
            break;
        ++draws;
        if (!drawn.message.empty())
            MessageBox::show(this, QString::fromStdString(drawn.message));
        if (!drawn.duplicate && !drawn.title.empty()) {
            ++listed;
            newRows.append(rowItem(drawn, runSex));
            if (drawn.candidate) {
                ++kept;
                newCandidates.append(newRows.constLast()->clone());
            }
        }
        // The enabled start button is the stop signal: the stop button enables it.
        if (drawn.finished || m_start->isEnabled())
            break;
        if (sinceShown.elapsed() >= kShowRowsEveryMs) {
            showNewRows();
            QCoreApplication::processEvents();
            // Hands the painted lists to the display now rather than when the run is over.
            QGuiApplication::sync();
        } else {
            QCoreApplication::processEvents();
        }
        if (m_start->isEnabled())
            break;
    }
    showNewRows();
    m_generator.stop();
    m_running = false;
    emit runCounted(draws, listed, kept, false);
    m_start->setEnabled(true);
    m_stop->setEnabled(false);
}

void NamingPage::stopGeneration()
{
    m_start->setEnabled(true);
    m_stop->setEnabled(false);
}

void NamingPage::sortCandidatesByAssessment()
{
    QList<QListWidgetItem*> items;
    while (m_candidates->count() > 0)
        items.append(m_candidates->takeItem(0));
    // Names of the name base (those with a 寓意) come first, as in `hmf top`: a parent reads a
    // name that means something before a composed one with a higher figure. Within each group
    // the figure decides; stable, so equal figures keep the order in which they were collected.
    std::stable_sort(items.begin(), items.end(), [](QListWidgetItem* a, QListWidgetItem* b) {
        const bool aInBase = !a->data(kMeaningRole).toString().isEmpty();
        const bool bInBase = !b->data(kMeaningRole).toString().isEmpty();
        if (aInBase != bInBase)
            return aInBase;
        return a->data(kAssessmentRole).toInt() > b->data(kAssessmentRole).toInt();
    });
    for (QListWidgetItem* item : items)
        m_candidates->addItem(item);
}

void NamingPage::copyCandidates()
{
    std::vector<std::string> titles;
    titles.reserve(std::size_t(m_candidates->count()));
    for (int i = 0; i < m_candidates->count(); ++i)
        titles.push_back(m_candidates->item(i)->text().toStdString());
    const std::string text = naming::copyText(titles);
    if (text.empty())
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromStdString(text));
    MessageBox::show(this, QStringLiteral("候选名字已经复制到剪辑板"));
}

} // namespace hmf::ui
