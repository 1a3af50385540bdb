#include "ui/mainwindow.h"

#include "calendar/birthchart.h"
#include "core/tables.h"
#include "ui/analysispage.h"
#include "ui/artwork.h"
#include "ui/formparts.h"
#include "ui/lookupwindows.h"
#include "ui/luckpage.h"
#include "ui/messagebox.h"
#include "ui/namingpage.h"
#include "ui/threetalentpage.h"
#include "ui/tipspage.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QLayout>
#include <QTabWidget>
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
};

} // namespace

MainWindow::MainWindow(const core::Tables& tables, std::filesystem::path dataDir, QWidget* parent)
    : QWidget(parent), m_tables(tables)
{
    setObjectName(QStringLiteral("主窗口"));
    setWindowTitle(QStringLiteral("慧名坊软件 v31.0"));
    setWindowIcon(windowIcon());
    setFixedSize(769, 648);

    m_tabs = place(new QTabWidget(this), "选择夹1", 72, 32, 696, 592);
    // The tool bar is the way between the pages, so the tab strip stays hidden.
    m_tabs->tabBar()->hide();
    m_naming = new NamingPage(tables, m_session, dataDir);
    m_analysis = new AnalysisPage(tables);
    m_analysis->setVerseDirectory(dataDir);
    QWidget* pages[] = {m_naming, m_analysis, new LuckTablePage(tables),
                        new ThreeTalentPage(tables), new TipsPage(tables)};
    const char* pageCaptions[] = {"宝宝取名", "姓名评测", "81树立", "三才表", "ww"};
    for (int i = 0; i < 5; ++i) {
        pages[i]->setObjectName(QStringLiteral("选择夹1页%1").arg(i));
        m_tabs->addTab(pages[i], QString::fromUtf8(pageCaptions[i]));
    }
    connect(m_naming, &NamingPage::rowChosen, this, &MainWindow::analyseListedName);

    buildToolBar();
    m_tabs->setCurrentIndex(0);
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

void MainWindow::onToolAction(QAction* action)
{
    switch (action->data().toInt()) {
    case 0:
        m_tabs->setCurrentIndex(0);
        break;
    case 1:
        m_tabs->setCurrentIndex(1);
        m_analysis->focusFirstBox();
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
    const BirthReading reading = m_naming->birthReading();
    const calendar::BirthTime& birth = reading.time;
    const std::string& problem = reading.problem;
    const auto chart =
        problem.empty() ? calendar::birthChart(birth, m_tables.sexagenary) : std::nullopt;
    if (!chart) {
        MessageBox::show(this, problem.empty() ? QStringLiteral("请填写正确的出生日期")
                                               : QString::fromStdString(problem));
        return;
    }
    // The product's nine lines, then the section 八字旺衰.
    BirthChartWindow window(
        calendar::chartText(*chart) + calendar::strengthSection(birth, reading.details), this);
    window.exec();
}

void MainWindow::analyseListedName(const QString& title)
{
    m_analysis->setBirthTexts(m_naming->birthTexts());
    m_analysis->setBirthChoice(m_naming->birthChoice());
    const std::optional<naming::ReportRequest> request = m_naming->requestForRow(title);
    if (!request || !m_analysis->showReport(*request, m_naming->birthReading().details))
        return;
    // The page shows the name it analyses, so 开始分析 there gives the same report again.
    m_analysis->setName(QString::fromStdString(request->surname),
                        QString::fromStdString(request->givenName));
    m_tabs->setCurrentIndex(1);
    m_toolGroup->actions().at(1)->setChecked(true);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A run in progress ends with its current draw once the window goes.
    if (m_naming->generationRunning())
        m_naming->stopGeneration();
    QWidget::closeEvent(event);
}

} // namespace hmf::ui
