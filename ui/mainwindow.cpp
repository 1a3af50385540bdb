#include "ui/mainwindow.h"

#include "calendar/birthchart.h"
#include "core/tables.h"
#include "core/text.h"
#include "naming/candidates.h"
#include "ui/artwork.h"
#include "ui/imagebutton.h"
#include "ui/lookupwindows.h"
#include "ui/messagebox.h"
#include "ui/richtext.h"
#include "ui/weblinks.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <chrono>

namespace hmf::ui {
namespace {

constexpr qint64 kShowRowsEveryMs = 40;

template <typename W> W* place(W* widget, const char* name, int x, int y, int w, int h)
{
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* text, int x, int y, int w, int h)
{
    auto* l = place(new QLabel(QString::fromUtf8(text), parent), name, x, y, w, h);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, const char* text, int x, int y, int w, int h)
{
    return place(new QLineEdit(QString::fromUtf8(text), parent), name, x, y, w, h);
}

QComboBox* combo(QWidget* parent, const char* name, const QStringList& items, int current,
                 bool editable, int x, int y, int w, int h)
{
    auto* box = place(new QComboBox(parent), name, x, y, w, h);
    box->setEditable(editable);
    box->addItems(items);
    box->setCurrentIndex(current);
    return box;
}

std::string textOf(const QLineEdit* box)
{
    return box->text().toStdString();
}

std::optional<int> numberOf(const QString& text)
{
    return core::parseInt(text.toStdString());
}

// The birth time of four date boxes. Boxes that hold no whole number give a time that
// calendar::checkBirthTime refuses with the fitting message ("请填写正确的出生日期" for the date,
// "出生时辰应在0到23之间" for the hour), so every refusal speaks with the engines' words.
calendar::BirthTime readBirth(const QLineEdit* year, const QLineEdit* month, const QLineEdit* day,
                              const QLineEdit* hour)
{
    const auto y = numberOf(year->text());
    const auto m = numberOf(month->text());
    const auto d = numberOf(day->text());
    const auto h = numberOf(hour->text());
    if (!y || !m || !d)
        return {2001, 2, 30, h.value_or(0)};
    return {*y, *m, *d, h.value_or(-1)};
}

QColor colourOf(naming::Colour colour)
{
    switch (colour) {
    case naming::Colour::Red:
        return kRed;
    case naming::Colour::Magenta:
        return kMagenta;
    case naming::Colour::Blue:
        break;
    }
    return kBlue;
}

MessageBox::Icon iconOf(naming::MessageIcon icon)
{
    return icon == naming::MessageIcon::Information ? MessageBox::Icon::Information
                                                    : MessageBox::Icon::None;
}

struct ToolButtonEntry
{
    const char* caption;
    ToolPicture picture;
};

constexpr ToolButtonEntry kToolButtons[] = {
    {"宝宝取名", ToolPicture::Naming},     {"姓名评测", ToolPicture::Analysis},
    {"81数理表", ToolPicture::Luck81},     {"三才表", ToolPicture::ThreeTalent},
    {"汉字五行", ToolPicture::Element},    {"星座查询", ToolPicture::StarSign},
    {"生辰八字", ToolPicture::BirthChart}, {"使用帮助", ToolPicture::Help},
};

} // namespace

MainWindow::MainWindow(const core::Tables& tables, std::filesystem::path dataDir, QWidget* parent)
    : QWidget(parent), m_tables(tables), m_dataDir(std::move(dataDir)),
      m_generator(tables, m_session)
{
    setObjectName(QStringLiteral("主窗口"));
    setWindowTitle(QStringLiteral("慧名坊软件 v31.0"));
    setWindowIcon(windowIcon());
    setFixedSize(769, 648);

    m_tabs = place(new QTabWidget(this), "选择夹1", 72, 32, 696, 592);
    // The tool bar is the way between the pages, so the tab strip stays hidden.
    m_tabs->tabBar()->hide();
    const char* pageCaptions[] = {"宝宝取名", "姓名评测", "81树立", "三才表", "ww"};
    QWidget* pages[5];
    for (int i = 0; i < 5; ++i) {
        pages[i] = new QWidget;
        pages[i]->setObjectName(QStringLiteral("选择夹1页%1").arg(i));
        m_tabs->addTab(pages[i], QString::fromUtf8(pageCaptions[i]));
    }
    buildNamingPage(pages[0]);
    buildAnalysisPage(pages[1]);
    buildLuckPage(pages[2]);

    auto* talents = place(new QPlainTextEdit(pages[3]), "编辑框6", 8, 8, 680, 456);
    talents->setPlainText(fromEngineText(m_tables.threeTalentText));
    talents->setReadOnly(true);
    talents->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* tips = place(new QPlainTextEdit(pages[4]), "编辑框4", 8, 0, 680, 464);
    tips->setPlainText(fromEngineText(m_tables.tipsText));
    tips->setReadOnly(true);
    tips->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = tips->palette();
    palette.setColor(QPalette::Text, QColor(0, 136, 255));
    tips->setPalette(palette);

    buildToolBar();
    m_tabs->setCurrentIndex(0);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildToolBar()
{
    m_toolBar = place(new QToolBar(this), "工具条1", 8, 6, 64, 480);
    m_toolBar->setOrientation(Qt::Vertical);
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setContentsMargins(0, 0, 0, 0);
    m_toolBar->layout()->setSpacing(1);
    m_toolGroup = new QActionGroup(this);
    m_toolGroup->setExclusive(true);
    int index = 0;
    for (const ToolButtonEntry& entry : kToolButtons) {
        auto* action = new QAction(toolIcon(entry.picture), QString::fromUtf8(entry.caption), this);
        action->setCheckable(true);
        action->setData(index++);
        m_toolGroup->addAction(action);
        m_toolBar->addAction(action);
        // Eight buttons of 60 × 58 fill the bar's 480 pixels without an overflow arrow.
        if (QWidget* button = m_toolBar->widgetForAction(action))
            button->setFixedSize(60, 58);
    }
    m_toolGroup->actions().first()->setChecked(true);
    connect(m_toolGroup, &QActionGroup::triggered, this, &MainWindow::onToolAction);
}

void MainWindow::buildNamingPage(QWidget* page)
{
    label(page, "标签1", "姓：", 8, 8, 24, 20);
    m_surname = edit(page, "编辑框_姓", "林", 35, 8, 48, 20);
    m_surname->setAlignment(Qt::AlignCenter);
    label(page, "标签2", "性别", 89, 8, 24, 20);
    m_sex = combo(page, "组合框_性别", {QStringLiteral("男"), QStringLiteral("女")}, 0, false, 118,
                  8, 42, 20);
    // Frame texts first: the controls that sit in their blank gaps are drawn over them.
    label(page, "标签3", "名：       字", 168, 8, 80, 20);
    m_length = combo(page, "组合框_个数", {"1", "2", "3"}, 1, false, 192, 8, 40, 20);
    m_fixedOn = place(new QCheckBox(page), "选择框1", 284, 10, 16, 16);
    label(page, "标签4", "第：       个字,辈分字为：          字", 304, 8, 232, 20);
    m_fixedPosition = combo(page, "组合框_第几个字", {"1", "2", "3"}, 0, true, 328, 8, 40, 20);
    m_fixedChar = edit(page, "编辑框_固定字", "", 456, 8, 56, 20);
    m_fixedChar->setMaxLength(2);
    m_start = place(new QPushButton(QStringLiteral("开  始"), page), "按钮1", 536, 8, 64, 24);
    m_stop = place(new QPushButton(QStringLiteral("停  止"), page), "按钮2", 616, 8, 64, 24);
    m_stop->setEnabled(false);

    combo(page, "组合框1", {QStringLiteral("出生日期"), QStringLiteral("预产期")}, 0, false, 8, 40,
          80, 20);
    label(page, "标签5", "：", 96, 40, 16, 16);
    m_year = edit(page, "编辑框7", "2019", 120, 40, 48, 20);
    label(page, "标签30", "年", 176, 40, 16, 16);
    m_month = edit(page, "编辑框8", "5", 200, 40, 30, 20);
    label(page, "标签31", "月", 232, 40, 16, 16);
    m_day = edit(page, "编辑框9", "5", 256, 40, 30, 20);
    label(page, "标签32", "日", 288, 40, 16, 16);
    m_hour = edit(page, "编辑框11", "5", 312, 40, 30, 20);
    label(page, "标签33", "时", 344, 40, 16, 16);
    m_minute = edit(page, "编辑框10", "5", 368, 40, 30, 20);
    label(page, "标签34", "分", 408, 40, 16, 16);
    label(page, "标签37", "（阳历）", 424, 40, 48, 16);
    m_collect = place(new QCheckBox(QStringLiteral("高于           分加入到候选区"), page),
                      "选择框_候选", 480, 40, 200, 16);
    m_collect->setChecked(true);
    m_threshold = edit(page, "编辑框1", "75", 525, 40, 57, 20);

    m_generated = place(new QListWidget(page), "超级列表框1", 8, 64, 384, 376);
    m_generated->setUniformItemSizes(true);
    auto* hint = label(page, "标签10", "候选名字列表 双击可查看详细解释：", 416, 80, 32, 328);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_candidates = place(new QListWidget(page), "列表框1", 464, 64, 144, 376);
    m_candidates->setUniformItemSizes(true);

    const int buttonTops[] = {72, 144, 216, 296, 376};
    int i = 0;
    for (const WebLink& link : webLinks()) {
        auto* button = new ImageButton(wordTile(QString::fromUtf8(link.words), link.colour, 56,
                                                qMax(2.0, devicePixelRatioF())),
                                       page);
        place(button, link.objectName, 616, buttonTops[i++], 56, 56);
        button->setToolTip(QString::fromUtf8(link.words));
        button->setAccessibleName(QString::fromUtf8(link.words));
        const QUrl address(QString::fromUtf8(link.address));
        // 超级按钮2 answers the press of the mouse button, the others a whole click.
        if (QByteArray(link.objectName) == "超级按钮2")
            connect(button, &QAbstractButton::pressed, this, [address] { openWebPage(address); });
        else
            connect(button, &QAbstractButton::clicked, this, [address] { openWebPage(address); });
    }

    auto* clear =
        place(new QPushButton(QStringLiteral("清空候选名字"), page), "按钮4", 392, 444, 96, 29);
    auto* copy =
        place(new QPushButton(QStringLiteral("复制候选名字"), page), "按钮5", 512, 444, 96, 29);
    label(page, "标签23", "取名方法：", 16, 480, 96, 24);
    label(page, "标签24", "输入姓和出生日期》》生成高分名字》》双击高分名字看测评》》选择好名！",
          120, 472, 568, 40);
    label(page, "标签25", "特别申明：", 16, 512, 96, 24);
    label(page, "标签21", "取名软件结合周易易经五格等原理综合取名，名字仅供参考！", 120, 504, 552,
          40);

    connect(m_start, &QPushButton::clicked, this, &MainWindow::startGeneration);
    connect(m_stop, &QPushButton::clicked, this, &MainWindow::stopGeneration);
    connect(m_generated, &QListWidget::itemDoubleClicked, this,
            [this] { analyseListedName(m_generated); });
    connect(m_candidates, &QListWidget::itemDoubleClicked, this,
            [this] { analyseListedName(m_candidates); });
    connect(clear, &QPushButton::clicked, m_candidates, &QListWidget::clear);
    connect(copy, &QPushButton::clicked, this, &MainWindow::copyCandidates);
}

void MainWindow::buildAnalysisPage(QWidget* page)
{
    label(page, "标签7", "姓：", 14, 8, 22, 20);
    m_surname2 = edit(page, "编辑框_性2", "", 43, 8, 29, 20);
    m_surname2->setAlignment(Qt::AlignCenter);
    label(page, "标签9", "名", 76, 8, 16, 20);
    m_given2 = edit(page, "编辑框_名2", "", 91, 8, 53, 20);
    m_given2->setAlignment(Qt::AlignCenter);
    label(page, "标签8", "性别", 153, 8, 24, 20);
    combo(page, "组合框_性别2", {QStringLiteral("男"), QStringLiteral("女")}, 0, false, 184, 8, 48,
          20);
    label(page, "标签29", "出生日期：", 240, 8, 56, 24);
    m_year2 = edit(page, "编辑框2", "", 296, 8, 53, 20);
    label(page, "标签27", "年", 352, 8, 16, 20);
    m_month2 = edit(page, "编辑框3", "", 368, 8, 30, 20);
    label(page, "标签26", "月", 400, 8, 16, 20);
    m_day2 = edit(page, "编辑框5", "", 416, 8, 30, 20);
    label(page, "标签28", "日", 456, 8, 24, 20);
    m_hour2 = edit(page, "编辑框12", "", 472, 8, 30, 20);
    label(page, "标签6", "时", 507, 6, 24, 20);
    m_minute2 = edit(page, "编辑框13", "", 520, 8, 30, 20);
    label(page, "标签35", "分", 560, 8, 24, 20);
    auto* analyse =
        place(new QPushButton(QStringLiteral("开始分析"), page), "按钮_分析", 584, 5, 96, 28);
    m_report = place(new QTextEdit(page), "超级编辑框1", 8, 40, 680, 424);
    m_report->setReadOnly(true);
    m_report->setAcceptRichText(true);
    connect(analyse, &QPushButton::clicked, this, &MainWindow::analyseTypedName);
    connect(m_surname2, &QLineEdit::returnPressed, this, &MainWindow::analyseTypedName);
    connect(m_given2, &QLineEdit::returnPressed, this, &MainWindow::analyseTypedName);
}

void MainWindow::buildLuckPage(QWidget* page)
{
    auto* table = place(new QTreeWidget(page), "超级列表框81", 8, 8, 680, 456);
    table->setRootIsDecorated(false);
    table->setAlternatingRowColors(true);
    table->setHeaderLabels({QStringLiteral("数理"), QStringLiteral("吉凶"), QStringLiteral("基业"),
                            QStringLiteral("家庭"), QStringLiteral("健康"),
                            QStringLiteral("含义")});
    const int widths[] = {80, 70, 150, 150, 150, 250};
    for (int c = 0; c < 6; ++c)
        table->setColumnWidth(c, widths[c]);
    QList<QTreeWidgetItem*> rows;
    for (const core::LuckEntry& entry : m_tables.luck.entries()) {
        auto* row = new QTreeWidgetItem;
        int column = 0;
        for (std::string_view field : entry.fields()) {
            const QString text = fromEngineText(field);
            row->setText(column, text.simplified());
            row->setToolTip(column, text);
            ++column;
        }
        rows.append(row);
    }
    table->addTopLevelItems(rows);
}

void MainWindow::onToolAction(QAction* action)
{
    switch (action->data().toInt()) {
    case 0:
        m_tabs->setCurrentIndex(0);
        break;
    case 1:
        m_tabs->setCurrentIndex(1);
        m_surname2->setFocus();
        break;
    case 2:
        m_tabs->setCurrentIndex(2);
        break;
    case 3:
        m_tabs->setCurrentIndex(3);
        break;
    case 4: {
        ElementWindow window(m_tables, this);
        window.exec();
        break;
    }
    case 5: {
        StarSignWindow window(this);
        window.exec();
        break;
    }
    case 6:
        openBirthChart();
        break;
    case 7:
        m_tabs->setCurrentIndex(4);
        break;
    }
}

void MainWindow::openBirthChart()
{
    m_session.birthChartRequested = true;
    // The chart always belongs to the birth date and hour now on the page 宝宝取名.
    const calendar::BirthTime birth = readBirth(m_year, m_month, m_day, m_hour);
    const std::string problem = calendar::checkBirthTime(birth);
    const auto chart =
        problem.empty() ? calendar::birthChart(birth, m_tables.sexagenary) : std::nullopt;
    if (!chart) {
        MessageBox::show(this, problem.empty() ? QStringLiteral("请填写正确的出生日期")
                                               : QString::fromStdString(problem));
        return;
    }
    BirthChartWindow window(calendar::chartText(*chart), this);
    window.exec();
}

void MainWindow::readDrawSettings(naming::DrawSettings& settings) const
{
    // A control that holds nothing usable keeps the value of the previous draw.
    if (const auto length = numberOf(m_length->currentText());
        length && *length >= 1 && *length <= 3)
        settings.length = *length;
    settings.fixedOn = m_fixedOn->isChecked();
    if (const auto position = numberOf(m_fixedPosition->currentText());
        position && *position >= 1 && *position <= 3)
        settings.fixedPosition = *position;
    const auto year = numberOf(m_year->text());
    const auto month = numberOf(m_month->text());
    const auto day = numberOf(m_day->text());
    if (year && month && day && calendar::checkBirthTime({*year, *month, *day, 0}).empty()) {
        settings.year = *year;
        settings.month = *month;
        settings.day = *day;
    }
    settings.collect = m_collect->isChecked();
    if (const auto threshold = numberOf(m_threshold->text()))
        settings.threshold = *threshold;
}

void MainWindow::startGeneration()
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

    naming::RunSettings run;
    run.surname = textOf(m_surname);
    run.sex = m_sex->currentText().toStdString();
    run.fixedOn = m_fixedOn->isChecked();
    run.fixedChar = textOf(m_fixedChar);
    run.birth = readBirth(m_year, m_month, m_day, m_hour);
    run.dataDir = m_dataDir;
    run.libraryFile = m_libraryOverride;
    if (m_seedOverride) {
        run.seed = *m_seedOverride;
    } else {
        // The clock mixed with the digits of the birth date, as "2019" "5" "5" gives 201955.
        const QString dateDigits = QStringLiteral("%1%2%3").arg(
            m_year->text().trimmed(), m_month->text().trimmed(), m_day->text().trimmed());
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        run.seed =
            std::uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()) +
            dateDigits.toULongLong();
    }

    const naming::StartResult started = m_generator.start(run);
    if (started.clearRows)
        m_generated->clear();
    if (!started.started) {
        if (!started.message.empty())
            MessageBox::show(this, QString::fromStdString(started.message), iconOf(started.icon));
        return;
    }

    m_running = true;
    m_start->setEnabled(false);
    m_stop->setEnabled(true);
    QStringList newRows;
    QStringList newCandidates;
    QElapsedTimer sinceShown;
    sinceShown.start();
    // New rows reach the lists in batches a few times a second: painting the lists after every
    // one of 5,000 draws would cost far more than the draws themselves.
    const auto showNewRows = [&] {
        if (!newRows.isEmpty()) {
            m_generated->addItems(newRows);
            m_generated->scrollToBottom();
            newRows.clear();
        }
        if (!newCandidates.isEmpty()) {
            m_candidates->addItems(newCandidates);
            newCandidates.clear();
        }
        sinceShown.restart();
    };
    for (;;) {
        readDrawSettings(m_drawSettings);
        const naming::DrawResult drawn = m_generator.draw(m_drawSettings);
        if (!drawn.drawn)
            break;
        if (!drawn.duplicate && !drawn.title.empty()) {
            newRows.append(QString::fromStdString(drawn.title));
            if (drawn.candidate)
                newCandidates.append(newRows.constLast());
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
    m_start->setEnabled(true);
    m_stop->setEnabled(false);
}

void MainWindow::stopGeneration()
{
    m_start->setEnabled(true);
    m_stop->setEnabled(false);
}

void MainWindow::analyseTypedName()
{
    const std::string surname = core::trimBlanks(textOf(m_surname2));
    const std::string given = core::trimBlanks(textOf(m_given2));
    if (surname.empty() || given.empty())
        return;
    naming::ReportRequest request;
    request.surname = surname;
    request.givenName = given;
    request.birth = readBirth(m_year2, m_month2, m_day2, m_hour2);
    showReport(request);
}

void MainWindow::analyseListedName(QListWidget* list)
{
    QListWidgetItem* row = list->currentItem();
    if (!row)
        return;
    m_year2->setText(m_year->text());
    m_month2->setText(m_month->text());
    m_day2->setText(m_day->text());
    m_hour2->setText(m_hour->text());
    m_minute2->setText(m_minute->text());
    const auto parts = naming::splitRowTitle(row->text().toStdString());
    if (!parts)
        return;
    const int fallbackLength = numberOf(m_length->currentText()).value_or(2);
    const std::string surname = core::trimBlanks(textOf(m_surname));

    naming::ReportRequest request;
    request.surname = surname;
    request.givenName = naming::givenNameOfRow(parts->fullName, surname, fallbackLength);
    request.birth = readBirth(m_year, m_month, m_day, m_hour);
    // The row's own score stands in for the computed one once a fixed character has been used.
    if (m_session.fixedCharUsed)
        request.shownScore = parts->scoreText;
    if (!showReport(request))
        return;
    // The page shows the name it analyses, so 开始分析 there gives the same report again.
    m_surname2->setText(QString::fromStdString(request.surname));
    m_given2->setText(QString::fromStdString(request.givenName));
    m_tabs->setCurrentIndex(1);
    m_toolGroup->actions().at(1)->setChecked(true);
}

bool MainWindow::showReport(const naming::ReportRequest& request)
{
    const naming::Report report = naming::buildReport(m_tables, request);
    if (!report.ok()) {
        MessageBox::show(this, QString::fromStdString(report.error));
        return false;
    }
    m_report->clear();
    for (const naming::ColouredRun& run : report.runs)
        appendColoured(m_report, run.text, colourOf(run.colour));
    m_report->moveCursor(QTextCursor::Start);
    return true;
}

void MainWindow::copyCandidates()
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

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A run in progress ends with its current draw once the window goes.
    if (m_running)
        stopGeneration();
    QWidget::closeEvent(event);
}

} // namespace hmf::ui
