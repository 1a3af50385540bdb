#include "ui/mainwindow.h"

#include "calendar/birthchart.h"
#include "core/tables.h"
#include "ui/analysispage.h"
#include "ui/anchorlayout.h"
#include "ui/artwork.h"
#include "ui/formparts.h"
#include "ui/lookupwindows.h"
#include "ui/luckpage.h"
#include "ui/messagebox.h"
#include "ui/namingpage.h"
#include "ui/pageondemand.h"
#include "ui/shortlistpage.h"
#include "ui/startup.h"
#include "ui/threetalentpage.h"
#include "ui/tipspage.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QLayout>
#include <QListWidgetItem>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

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
    : QWidget(parent), m_tables(tables)
{
    setObjectName(QStringLiteral("主窗口"));
    setWindowTitle(QStringLiteral("慧名坊软件 v31.0"));
    setWindowIcon(windowIcon());
    // The product's size is the smallest; a larger window gives its room to the lists, the
    // report and the tables.
    setMinimumSize(kWindowDefaultSize);
    resize(kWindowDefaultSize);

    m_tabs = place(new QTabWidget(this), "选择夹1", 72, 32, 696, 592);
    // The tool bar is the way between the pages, so the tab strip stays hidden.
    m_tabs->tabBar()->hide();
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
    const char* pageCaptions[] = {"宝宝取名", "姓名评测", "81树立", "三才表", "ww", "收藏夹"};
    for (int i = 0; i < 6; ++i) {
        pages[i]->setObjectName(QStringLiteral("选择夹1页%1").arg(i));
        m_tabs->addTab(pages[i], QString::fromUtf8(pageCaptions[i]));
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
    // A damaged shortlist file is reported once the window is up.
    if (!m_shortlist->loadProblem().isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            MessageBox::show(this, m_shortlist->loadProblem(), MessageBox::Icon::Warning);
        });
    }

    buildToolBar();
    m_tabs->setCurrentIndex(0);
    // The tool bar keeps its place; the pages take all the room a larger window gives.
    auto* layout = new AnchorLayout(this, kWindowDefaultSize);
    layout->anchor(m_toolBar, {});
    layout->anchor(m_tabs, kGrow);
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
    // Eight buttons fill the product's 480 pixels; 收藏夹 adds one more below them.
    m_toolBar = place(new QToolBar(this), "工具条1", 8, 6, 64, 480 + 59);
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
        action->setData(index);
        // Ctrl+1 to Ctrl+9 reach the buttons from the keyboard, in their order on the bar.
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + index)));
        action->setToolTip(
            QStringLiteral("%1（%2）")
                .arg(action->text(), action->shortcut().toString(QKeySequence::NativeText)));
        ++index;
        m_toolGroup->addAction(action);
        m_toolBar->addAction(action);
        // Buttons of 60 × 58, one under the other, without an overflow arrow.
        if (QWidget* button = m_toolBar->widgetForAction(action))
            button->setFixedSize(60, 58);
    }
    m_toolGroup->actions().first()->setChecked(true);
    connect(m_toolGroup, &QActionGroup::triggered, this, &MainWindow::onToolAction);
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
        StarSignWindow window(this);
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
    m_tabs->setCurrentIndex(page);
    markShownPage();
}

void MainWindow::markShownPage()
{
    const int page = m_tabs->currentIndex();
    for (int tool = 0; tool < int(std::size(kPageOfTool)); ++tool)
        if (kPageOfTool[tool] == page)
            m_toolGroup->actions().at(tool)->setChecked(true);
}

void MainWindow::restoreSettings(const QSettings& settings)
{
    m_naming->restoreSettings(settings);
    m_analysis->restoreSettings(settings);
    const QByteArray geometry = settings.value(QStringLiteral("window/geometry")).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
}

void MainWindow::saveSettings(QSettings& settings) const
{
    m_naming->saveSettings(settings);
    m_analysis->saveSettings(settings);
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
    const QString basis =
        QStringLiteral("以上为宝宝取名页的出生时间 %1年%2月%3日%4时（阳历）的八字")
            .arg(birth.year)
            .arg(birth.month)
            .arg(birth.day)
            .arg(birth.hour);
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
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A run in progress ends with its current draw once the window goes.
    if (m_naming->generationRunning())
        m_naming->stopGeneration();
    QWidget::closeEvent(event);
}

} // namespace hmf::ui
