// The desktop program's main window, built for real under the offscreen platform and driven
// through its controls, found by their product names.

#include "calendar/birthchart.h"
#include "calendar/strength.h"
#include "core/gbk.h"
#include "core/tables.h"
#include "naming/candidates.h"
#include "naming/report.h"
#include "ui/fonts.h"
#include "ui/mainwindow.h"
#include "ui/messagebox.h"
#include "ui/richtext.h"
#include "ui/shortlistpage.h"
#include "ui/startup.h"
#include "ui/weblinks.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <memory>

namespace fs = std::filesystem;
using hmf::ui::MainWindow;
using hmf::ui::MessageBox;

class TestMainWindow : public QObject
{
    Q_OBJECT

  public slots:
    void recordUrl(const QUrl& url) { m_openedUrls.append(url); }

  private slots:
    void initTestCase();
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    void init();
    void cleanup();

    void startState();
    void toolBarSwitchesPages();
    void generationFromFixtureLibrary();
    void candidatesAtAndBelowThreshold();
    void stopButtonEndsRun();
    void leaveOutOptionTooltipsAndSorting();
    void controlsAreReadBeforeEveryDraw();
    void closingWindowEndsRun();
    void fullRunEndsByItself();
    void refusedGeneration_data();
    void refusedGeneration();
    void missingLibrary();
    void damagedLibrary();
    void analysisFromBothLists();
    void analysisAfterFixedCharacterRun();
    void listedAnalysisRefusals();
    void listedRowKeepsItsRun();
    void namesFromVerseShowTheirLine();
    void typedAnalysis();
    void refusedAnalysis_data();
    void refusedAnalysis();
    void copyAndClearCandidates();
    void elementWindow();
    void starSignWindow();
    void birthChartWindowFollowsPageDate();
    void lunarBirthdayAndBirthplace();
    void webButtons();
    void damagedTablesStopStartUp_data();
    void damagedTablesStopStartUp();
    void damagedAssessmentTableStopsAssessing();

  private:
    template <typename T> T* find(const char* name)
    {
        return hmf::uitest::findWidget<T>(m_window.get(), name);
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
    QListWidget* list(const char* name) { return find<QListWidget>(name); }
    QAction* toolAction(int index) { return find<QToolBar>("工具条1")->actions().at(index); }
    QStringList rows(const char* name);
    QString reportText() { return find<QTextEdit>("超级编辑框1")->toPlainText(); }
    // Fills the name and the date boxes (year, month, day, hour) of 姓名评测.
    void typeNameAndDate(const QString& surname, const QString& given,
                         const QStringList& date = {"2019", "5", "5", "5"});

    void makeWindow(const fs::path& dataDir);
    void useFixtureLibrary(const QStringList& characters, std::uint64_t seed);
    void runGeneration() { find<QPushButton>("按钮1")->click(); }
    // Opens a modal window from the tool bar and hands it to `check` while it is open.
    void withModalWindow(int toolIndex, const std::function<void(QDialog*)>& check);
    void doubleClickRow(QListWidget* list, int row);

    std::unique_ptr<hmf::core::Tables> m_tables;
    fs::path m_dataDir;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_messages;
    QStringList m_questions; // asked before something is undone for good
    bool m_answer = true;
    QList<QUrl> m_openedUrls;
    QTemporaryDir m_tempDir;
};

QStringList TestMainWindow::rows(const char* name)
{
    return hmf::uitest::rowsOf(list(name));
}

// The score of a row title such as 林子涵[88分].
static int scoreOf(const QString& title)
{
    const auto parts = hmf::naming::splitRowTitle(title.toStdString());
    QString score = QString::fromStdString(parts ? parts->scoreText : std::string());
    score.remove(QStringLiteral("分"));
    return score.toInt();
}

void TestMainWindow::initTestCase()
{
    hmf::ui::prepareApplication(*static_cast<QApplication*>(QCoreApplication::instance()));
    QString error;
    m_tables = hmf::uitest::loadProgramTables(m_dataDir, error);
    QVERIFY2(m_tables, qPrintable(error));
    MessageBox::setHook([this](const QString& text, MessageBox::Icon) { m_messages.append(text); });
    MessageBox::setAnswerHook([this](const QString& text) {
        m_questions.append(text);
        return m_answer;
    });
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "recordUrl");
    QVERIFY(m_tempDir.isValid());
}

void TestMainWindow::init()
{
    m_messages.clear();
    m_questions.clear();
    m_answer = true;
    m_openedUrls.clear();
    // Every test starts with an empty shortlist.
    QFile::remove(m_tempDir.filePath(QStringLiteral("shortlist.json")));
    makeWindow(m_dataDir);
}

void TestMainWindow::cleanup()
{
    m_window.reset();
}

void TestMainWindow::makeWindow(const fs::path& dataDir)
{
    m_window = hmf::uitest::openWindow(*m_tables, dataDir,
                                       m_tempDir.filePath(QStringLiteral("shortlist.json")));
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindow::useFixtureLibrary(const QStringList& characters, std::uint64_t seed)
{
    const QString path = m_tempDir.filePath(QStringLiteral("fixture-%1.fne").arg(seed));
    QVERIFY(hmf::uitest::useFixtureLibrary(*m_window, path, characters, seed));
}

void TestMainWindow::withModalWindow(int toolIndex, const std::function<void(QDialog*)>& check)
{
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        seen = dialog != nullptr;
        if (dialog) {
            check(dialog);
            dialog->close();
        }
    });
    toolAction(toolIndex)->trigger();
    QVERIFY(seen);
}

void TestMainWindow::doubleClickRow(QListWidget* widget, int row)
{
    QListWidgetItem* item = widget->item(row);
    QVERIFY(item);
    widget->scrollToItem(item);
    const QPoint at = widget->visualItemRect(item).center();
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, at);
}

void TestMainWindow::startState()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("慧名坊软件 v31.0"));
    // A display name of its own would be shown after every title ("… — 慧名坊") on X11.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    QCOMPARE(m_window->objectName(), QStringLiteral("主窗口"));
    QCOMPARE(m_window->size(), QSize(769, 648));
    // The desktop's font, in a family that shows Chinese.
    QVERIFY(QFontDatabase::writingSystems(QApplication::font().family())
                .contains(QFontDatabase::SimplifiedChinese));

    // The pages stand in a stack; the tool bar and the menu 查看 are the way between them.
    auto* pages = find<QStackedWidget>("选择夹1");
    QCOMPARE(pages->count(), 6);
    QCOMPARE(pages->currentIndex(), 0);

    const QStringList toolCaptions = {"宝宝取名", "姓名评测", "81数理表", "三才表", "汉字五行",
                                      "星座查询", "生辰八字", "使用帮助", "收藏夹"};
    const QList<QAction*> actions = find<QToolBar>("工具条1")->actions();
    QCOMPARE(actions.size(), 9);
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(actions[i]->text(), toolCaptions[i]);
        QVERIFY(actions[i]->isCheckable());
        QCOMPARE(actions[i]->isChecked(), i == 0);
        QVERIFY(!actions[i]->icon().isNull());
    }

    const struct
    {
        const char* name;
        const char* text;
    } edits[] = {{"编辑框_姓", "林"}, {"编辑框_固定字", ""}, {"编辑框7", "2019"}, {"编辑框8", "5"},
                 {"编辑框9", "5"},    {"编辑框11", "5"},     {"编辑框10", "5"},   {"编辑框1", "75"},
                 {"编辑框_性2", ""},  {"编辑框_名2", ""},    {"编辑框2", ""},     {"编辑框3", ""},
                 {"编辑框5", ""},     {"编辑框12", ""},      {"编辑框13", ""}};
    for (const auto& e : edits)
        QVERIFY2(edit(e.name)->text() == QString::fromUtf8(e.text), e.name);

    const struct
    {
        const char* name;
        QStringList items;
        const char* current;
        bool editable;
    } combos[] = {{"组合框_性别", {"男", "女"}, "男", false},
                  {"组合框_个数", {"1", "2", "3"}, "2", false},
                  {"组合框_第几个字", {"1", "2", "3"}, "1", true},
                  {"组合框1", {"出生日期", "预产期"}, "出生日期", false},
                  {"组合框_性别2", {"男", "女"}, "男", false}};
    for (const auto& c : combos) {
        auto* box = find<QComboBox>(c.name);
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items.append(box->itemText(i));
        QVERIFY2(items == c.items, c.name);
        QVERIFY2(box->currentText() == QString::fromUtf8(c.current), c.name);
        QVERIFY2(box->isEditable() == c.editable, c.name);
    }

    QVERIFY(!find<QCheckBox>("选择框1")->isChecked());
    QVERIFY(find<QCheckBox>("选择框_候选")->isChecked());
    // Texts that hold other controls read as one line, the controls in their places.
    const auto joined = [this](const QStringList& names) {
        QString text;
        for (const QString& name : names) {
            QWidget* w = find<QWidget>(name.toUtf8().constData());
            if (auto* label = qobject_cast<QLabel*>(w))
                text += label->text();
            else if (auto* box = qobject_cast<QAbstractButton*>(w))
                text += box->text();
            else
                text += QLatin1Char('[') + w->objectName() + QLatin1Char(']');
        }
        return text;
    };
    QCOMPARE(joined({"标签3", "组合框_个数", "标签3_字"}), QStringLiteral("名：[组合框_个数]字"));
    QCOMPARE(joined({"标签4", "组合框_第几个字", "标签4_个字", "编辑框_固定字", "标签4_字"}),
             QStringLiteral("第：[组合框_第几个字]个字,辈分字为：[编辑框_固定字]字"));
    QCOMPARE(joined({"选择框_候选", "编辑框1", "标签_候选"}),
             QStringLiteral("高于[编辑框1]分加入到候选区"));
    QVERIFY(find<QPushButton>("按钮1")->isEnabled());
    QVERIFY(!find<QPushButton>("按钮2")->isEnabled());
    QCOMPARE(find<QPushButton>("按钮1")->text(), QStringLiteral("开  始"));
    QCOMPARE(find<QPushButton>("按钮2")->text(), QStringLiteral("停  止"));
    QCOMPARE(list("超级列表框1")->count(), 0);
    QCOMPARE(list("列表框1")->count(), 0);
    QVERIFY(reportText().isEmpty());
    QVERIFY(find<QTextEdit>("超级编辑框1")->isReadOnly());
    for (const char* name : {"超级按钮1", "超级按钮2", "超级按钮3", "超级按钮4", "超级按钮5"})
        QCOMPARE(find<QAbstractButton>(name)->size(), QSize(56, 56));

    // The reference pages are built when the tool bar first shows them.
    for (const char* name : {"超级列表框81", "编辑框6", "编辑框4"})
        QVERIFY2(!m_window->findChild<QWidget*>(QString::fromUtf8(name)), name);
    for (int tool : {2, 3, 7})
        toolAction(tool)->trigger();
    toolAction(0)->trigger();
    auto* luck = find<QTableWidget>("超级列表框81");
    QCOMPARE(luck->columnCount(), 6);
    const QStringList headers = {"数理", "吉凶", "基业", "家庭", "健康", "含义"};
    for (int c = 0; c < 6; ++c)
        QCOMPARE(luck->horizontalHeaderItem(c)->text(), headers[c]);
    QCOMPARE(luck->rowCount(), 81);
    QCOMPARE(luck->item(0, 0)->text(), QStringLiteral("第1数理"));
    QCOMPARE(luck->item(0, 1)->text(), QStringLiteral("吉"));
    QCOMPARE(luck->item(80, 0)->text(), QStringLiteral("第81数理"));
    QCOMPARE(luck->item(80, 1)->text(), QStringLiteral("吉"));

    auto* talents = find<QPlainTextEdit>("编辑框6");
    QCOMPARE(talents->toPlainText(), hmf::ui::fromEngineText(m_tables->threeTalentText));
    QVERIFY(!talents->toPlainText().isEmpty());
    auto* tips = find<QPlainTextEdit>("编辑框4");
    QCOMPARE(tips->toPlainText(), hmf::ui::fromEngineText(m_tables->tipsText));
    QCOMPARE(tips->palette().color(QPalette::Text), QColor(0, 136, 255));

    const auto& session = m_window->session();
    QVERIFY(!session.fixedCharUsed);
    QCOMPARE(session.givenNameLength, 0);
    QVERIFY(!session.birthChartRequested);
}

void TestMainWindow::toolBarSwitchesPages()
{
    QApplication::setActiveWindow(m_window.get());
    const int pageOf[] = {0, 1, 2, 3, -1, -1, -1, 4, 5};
    for (int i : {2, 3, 7, 8, 1, 0}) {
        toolAction(i)->trigger();
        QCOMPARE(find<QStackedWidget>("选择夹1")->currentIndex(), pageOf[i]);
        QVERIFY(toolAction(i)->isChecked());
        if (i == 1)
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit("编辑框_性2")));
    }
}

void TestMainWindow::generationFromFixtureLibrary()
{
    // Four characters give sixteen names of two given characters; once all are listed, the
    // streak of repeated names ends the run.
    const QStringList characters = {"宇", "轩", "明", "杰"};
    useFixtureLibrary(characters, 20190505);
    runGeneration();
    QVERIFY(!m_window->generationRunning());
    QVERIFY(m_messages.isEmpty());
    const QStringList first = rows("超级列表框1");
    QCOMPARE(first.size(), 16);
    QCOMPARE(QSet<QString>(first.begin(), first.end()).size(), 16);
    for (const QString& row : first) {
        const auto parts = hmf::naming::splitRowTitle(row.toStdString());
        QVERIFY2(parts, qPrintable(row));
        const QString name = QString::fromStdString(parts->fullName);
        QCOMPARE(name.size(), 3);
        QVERIFY2(name.startsWith(QStringLiteral("林")), qPrintable(row));
        QVERIFY(characters.contains(name.mid(1, 1)) && characters.contains(name.mid(2, 1)));
        QVERIFY2(row.endsWith(QStringLiteral("分]")), qPrintable(row));
    }
    QCOMPARE(m_window->session().givenNameLength, 2);
    QVERIFY(find<QPushButton>("按钮1")->isEnabled());
    QVERIFY(!find<QPushButton>("按钮2")->isEnabled());

    // The same seed draws the same names in the same order; a new run empties the list first.
    runGeneration();
    QCOMPARE(rows("超级列表框1"), first);

    // One given character: four names.
    find<QComboBox>("组合框_个数")->setCurrentText(QStringLiteral("1"));
    runGeneration();
    QCOMPARE(rows("超级列表框1").size(), 4);
    QCOMPARE(m_window->session().givenNameLength, 1);
}

void TestMainWindow::candidatesAtAndBelowThreshold()
{
    useFixtureLibrary({"宇", "轩", "明", "杰", "德", "华"}, 7);
    edit("编辑框1")->setText(QStringLiteral("0"));
    runGeneration();
    const QStringList all = rows("超级列表框1");
    QCOMPARE(rows("列表框1"), all);

    // A threshold equal to a middle score keeps that score and drops the ones below it.
    QList<int> scores;
    for (const QString& row : all)
        scores.append(scoreOf(row));
    std::sort(scores.begin(), scores.end());
    const int threshold = scores[scores.size() / 2];
    QVERIFY2(scores.first() < threshold, "the fixture should give different scores");
    find<QPushButton>("按钮4")->click();
    edit("编辑框1")->setText(QString::number(threshold));
    runGeneration();
    QStringList expected;
    for (const QString& row : rows("超级列表框1"))
        if (scoreOf(row) >= threshold)
            expected.append(row);
    QCOMPARE(rows("列表框1"), expected);
    QVERIFY(std::any_of(expected.begin(), expected.end(),
                        [&](const QString& r) { return scoreOf(r) == threshold; }));

    // A new run keeps the candidates; without collection nothing is added.
    find<QCheckBox>("选择框_候选")->setChecked(false);
    runGeneration();
    QCOMPARE(rows("列表框1"), expected);
}

void TestMainWindow::stopButtonEndsRun()
{
    m_window->setSeedOverride(42);
    find<QCheckBox>("选择框_略去")->setChecked(false); // the first draw is always listed
    bool sawRunning = false;
    int rowsWhenStopped = -1;
    // The first pending event inside the run is this click on 停止.
    QTimer::singleShot(0, this, [&] {
        sawRunning = m_window->generationRunning() && !find<QPushButton>("按钮1")->isEnabled() &&
                     find<QPushButton>("按钮2")->isEnabled();
        find<QPushButton>("按钮2")->click();
        rowsWhenStopped = list("超级列表框1")->count();
        QVERIFY(find<QPushButton>("按钮1")->isEnabled());
        QVERIFY(!find<QPushButton>("按钮2")->isEnabled());
    });
    runGeneration();
    QVERIFY(sawRunning);
    QVERIFY(!m_window->generationRunning());
    QVERIFY(rowsWhenStopped >= 0);
    QVERIFY2(list("超级列表框1")->count() < 100, "the run went on after the stop");
    QVERIFY(list("超级列表框1")->count() >= 1);
    QVERIFY(find<QPushButton>("按钮1")->isEnabled());
    QVERIFY(!find<QPushButton>("按钮2")->isEnabled());
}

void TestMainWindow::leaveOutOptionTooltipsAndSorting()
{
    // 杜子腾 sounds like 肚子疼; the option, ticked at start, leaves it out.
    edit("编辑框_姓")->setText(QStringLiteral("杜"));
    edit("编辑框1")->setText(QStringLiteral("0"));
    QVERIFY(find<QCheckBox>("选择框_略去")->isChecked());
    useFixtureLibrary({"子", "腾", "明", "华"}, 7);
    runGeneration();
    QStringList listed = rows("超级列表框1");
    QCOMPARE(listed.size(), 15);
    for (const QString& row : listed)
        QVERIFY2(!row.startsWith(QStringLiteral("杜子腾[")), qPrintable(row));

    find<QCheckBox>("选择框_略去")->setChecked(false);
    find<QPushButton>("按钮4")->click();
    runGeneration();
    listed = rows("超级列表框1");
    QCOMPARE(listed.size(), 16);
    const auto it = std::find_if(listed.begin(), listed.end(), [](const QString& row) {
        return row.startsWith(QStringLiteral("杜子腾["));
    });
    QVERIFY(it != listed.end());
    QVERIFY2(it->endsWith(QStringLiteral("分]")), qPrintable(*it)); // the row text is unchanged
    const QListWidgetItem* item = list("超级列表框1")->item(int(it - listed.begin()));
    QVERIFY2(item->toolTip().startsWith(QStringLiteral("品评分 ")), qPrintable(item->toolTip()));
    QVERIFY2(item->toolTip().contains(QStringLiteral("【谐音】")), qPrintable(item->toolTip()));

    // Sorting puts the name base's names (those with a 寓意) first, then the others, each group
    // in descending order of its figures, titles unchanged.
    QListWidget* candidates = list("列表框1");
    QCOMPARE(candidates->count(), 16);
    find<QPushButton>("按钮_品评排序")->click();
    QCOMPARE(candidates->count(), 16);
    int previous = 101;
    bool inBase = true;
    QSet<QString> sorted;
    for (int i = 0; i < candidates->count(); ++i) {
        const QString tip = candidates->item(i)->toolTip();
        const int figure = tip.section(QLatin1Char('\n'), 0, 0).mid(4).toInt();
        const bool hasMeaning = tip.contains(QStringLiteral("寓意："));
        QVERIFY2(inBase || !hasMeaning, qPrintable(tip));
        if (inBase && !hasMeaning) {
            inBase = false;
            previous = 101;
        }
        QVERIFY2(figure <= previous, qPrintable(tip));
        previous = figure;
        sorted.insert(candidates->item(i)->text());
    }
    QCOMPARE(sorted, QSet<QString>(listed.begin(), listed.end()));
    QVERIFY(!candidates->item(candidates->count() - 1)->text().isEmpty());
}

void TestMainWindow::controlsAreReadBeforeEveryDraw()
{
    // After the first draw the length drops to one character: one name of two given characters,
    // then the four names of one.
    useFixtureLibrary({"宇", "轩", "明", "杰"}, 11);
    QTimer::singleShot(
        0, this, [&] { find<QComboBox>("组合框_个数")->setCurrentText(QStringLiteral("1")); });
    runGeneration();
    const QStringList listed = rows("超级列表框1");
    QCOMPARE(listed.size(), 5);
    QCOMPARE(listed[0].indexOf(QLatin1Char('[')), 3);
    for (int i = 1; i < listed.size(); ++i)
        QCOMPARE(listed[i].indexOf(QLatin1Char('[')), 2);
    QCOMPARE(m_window->session().givenNameLength, 1);
}

void TestMainWindow::closingWindowEndsRun()
{
    m_window->setSeedOverride(5);
    QTimer::singleShot(0, this, [&] { m_window->close(); });
    runGeneration();
    QVERIFY(!m_window->generationRunning());
    QVERIFY(list("超级列表框1")->count() < 100);
}

void TestMainWindow::fullRunEndsByItself()
{
    // The shipped boys' library allows far more than 5,000 names: the run ends at the draw cap.
    m_window->setSeedOverride(1);
    runGeneration();
    const int count = list("超级列表框1")->count();
    QVERIFY2(count > 4000 && count <= 5000, qPrintable(QString::number(count)));
    QVERIFY(m_messages.isEmpty());
}

void TestMainWindow::refusedGeneration_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("fixedOn");
    QTest::addColumn<QString>("message");

    QTest::newRow("fixed character missing") << ""
                                             << "" << true << "请填写固定字";
    QTest::newRow("surname missing") << "编辑框_姓"
                                     << "" << false << "请填写姓氏";
    QTest::newRow("surname not Chinese") << "编辑框_姓"
                                         << "L" << false << "“L”不是汉字";
    QTest::newRow("month 13") << "编辑框8"
                              << "13" << false << "请填写正确的出生日期";
    QTest::newRow("day 31 of April") << "编辑框9"
                                     << "31" << false << "请填写正确的出生日期";
    QTest::newRow("day not a number") << "编辑框9"
                                      << "五" << false << "请填写正确的出生日期";
    QTest::newRow("year empty") << "编辑框7"
                                << "" << false << "请填写正确的出生日期";
    QTest::newRow("hour 24") << "编辑框11"
                             << "24" << false << "出生时辰应在0到23之间";
    QTest::newRow("hour empty") << "编辑框11"
                                << "" << false << "出生时辰应在0到23之间";
    QTest::newRow("threshold not a number") << "编辑框1"
                                            << "高" << false << "请填写正确的候选分数";
    QTest::newRow("fixed position not 1 to 3") << "组合框_第几个字"
                                               << "4" << true << "辈分字的位置应为1到3";
}

void TestMainWindow::refusedGeneration()
{
    QFETCH(QString, control);
    QFETCH(QString, value);
    QFETCH(bool, fixedOn);
    QFETCH(QString, message);

    if (control == QStringLiteral("编辑框8"))
        edit("编辑框9")->setText(QStringLiteral("5"));
    if (control == QStringLiteral("编辑框9") && value == QStringLiteral("31"))
        edit("编辑框8")->setText(QStringLiteral("4"));
    if (control == QStringLiteral("组合框_第几个字")) {
        find<QComboBox>("组合框_第几个字")->setEditText(value);
        edit("编辑框_固定字")->setText(QStringLiteral("德"));
    } else if (!control.isEmpty()) {
        edit(control.toUtf8().constData())->setText(value);
    }
    find<QCheckBox>("选择框1")->setChecked(fixedOn);
    list("超级列表框1")->addItem(QStringLiteral("林子涵[88分]"));

    runGeneration();
    QCOMPARE(m_messages, QStringList{message});
    QVERIFY(!m_window->generationRunning());
    QVERIFY(find<QPushButton>("按钮1")->isEnabled());
    QVERIFY(!find<QPushButton>("按钮2")->isEnabled());
    // Refused before anything was drawn: the rows of the last run stay.
    QCOMPARE(rows("超级列表框1"), QStringList{QStringLiteral("林子涵[88分]")});
    QCOMPARE(m_window->session().fixedCharUsed, fixedOn);
}

void TestMainWindow::missingLibrary()
{
    // Tables as usual, but a data directory without character libraries.
    const fs::path empty = fs::path(QFile::encodeName(m_tempDir.path()).toStdString()) / "empty";
    fs::create_directories(empty);
    makeWindow(empty);
    list("超级列表框1")->addItem(QStringLiteral("林子涵[88分]"));
    runGeneration();
    find<QComboBox>("组合框_性别")->setCurrentText(QStringLiteral("女"));
    runGeneration();
    QCOMPARE(m_messages, (QStringList{"字库男不存在 无法生成", "字库女不存在 无法生成"}));
    QCOMPARE(list("超级列表框1")->count(), 0);
    QVERIFY(find<QPushButton>("按钮1")->isEnabled());
}

void TestMainWindow::damagedLibrary()
{
    // A library line that is not one character stops the run with the file and line named.
    useFixtureLibrary({"宇", "轩明", "杰"}, 1);
    runGeneration();
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages[0].contains(QStringLiteral("fixture-1.fne:2")), qPrintable(m_messages[0]));
    QCOMPARE(list("超级列表框1")->count(), 0);
    QVERIFY(find<QPushButton>("按钮1")->isEnabled());
    QVERIFY(!find<QPushButton>("按钮2")->isEnabled());
}

void TestMainWindow::analysisFromBothLists()
{
    useFixtureLibrary({"宇", "轩", "明", "杰"}, 3);
    edit("编辑框1")->setText(QStringLiteral("0"));
    runGeneration();
    QVERIFY(list("列表框1")->count() > 0);
    edit("编辑框7")->setText(QStringLiteral("2020"));
    edit("编辑框8")->setText(QStringLiteral("8"));
    edit("编辑框9")->setText(QStringLiteral("20"));
    edit("编辑框11")->setText(QStringLiteral("10"));
    edit("编辑框10")->setText(QStringLiteral("30"));

    QString previousReport;
    for (const char* listName : {"超级列表框1", "列表框1"}) {
        QListWidget* source = list(listName);
        // The same name in both lists: the last candidate.
        const QString title = list("列表框1")->item(list("列表框1")->count() - 1)->text();
        const int row = source->row(source->findItems(title, Qt::MatchExactly).constLast());
        toolAction(0)->trigger();
        find<QStackedWidget>("选择夹1")->setCurrentIndex(0);
        doubleClickRow(source, row);

        QCOMPARE(find<QStackedWidget>("选择夹1")->currentIndex(), 1);
        QVERIFY(toolAction(1)->isChecked());
        const QStringList copied = {"2020", "8", "20", "10", "30"};
        const char* page1[] = {"编辑框2", "编辑框3", "编辑框5", "编辑框12", "编辑框13"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(edit(page1[i])->text(), copied[i]);

        const QString report = reportText();
        const QString name = title.left(title.indexOf(QLatin1Char('[')));
        // The page shows the name it analysed.
        QCOMPARE(edit("编辑框_性2")->text() + edit("编辑框_名2")->text(), name);
        QVERIFY2(report.startsWith(QStringLiteral("名字总分（仅供参考）：")), qPrintable(report));
        QVERIFY(report.contains(QStringLiteral("姓名：") + name + QLatin1Char('\n')));
        // The box holds the engine's report of that name for page 0's birth time, word for word.
        hmf::naming::ReportRequest request;
        request.surname = "林";
        request.givenName = name.mid(1).toStdString();
        request.birth = {2020, 8, 20, 10};
        const auto expected = hmf::naming::buildReport(*m_tables, request);
        QVERIFY(expected.ok());
        QCOMPARE(report, hmf::ui::fromEngineText(hmf::naming::plainText(expected->runs)));
        QVERIFY(report.contains(QStringLiteral("8月20日\n")));
        QVERIFY(!report.contains(QLatin1Char('\r')));
        if (!previousReport.isEmpty())
            QCOMPARE(report, previousReport);
        previousReport = report;
    }

    // The report is coloured text in the report font.
    QTextEdit* box = find<QTextEdit>("超级编辑框1");
    QSet<QRgb> colours;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            colours.insert(format.foreground().color().rgb());
            QCOMPARE(format.font().family(), hmf::ui::reportFont().family());
            // The size is the box's, which follows the text size the user chose.
            QVERIFY(!format.hasProperty(QTextFormat::FontPointSize));
        }
    }
    QCOMPARE(colours, (QSet<QRgb>{qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 0, 255)}));
    const QTextBlock first = box->document()->begin();
    QCOMPARE(first.begin().fragment().charFormat().foreground().color(), QColor(255, 0, 0));

    // A row that does not split at "[" is left alone.
    const QString before = reportText();
    list("列表框1")->addItem(QStringLiteral("林宇轩"));
    doubleClickRow(list("列表框1"), list("列表框1")->count() - 1);
    QCOMPARE(reportText(), before);
    QVERIFY(m_messages.isEmpty());
}

void TestMainWindow::listedAnalysisRefusals()
{
    useFixtureLibrary({"宇", "轩"}, 5);
    runGeneration();
    QListWidget* generated = list("超级列表框1");
    QVERIFY(generated->count() > 0);
    const QString before = reportText();

    // A double-click below the last row reaches no row: nothing happens.
    generated->setCurrentItem(nullptr);
    const QPoint below(10, generated->viewport()->height() - 3);
    QTest::mouseDClick(generated->viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(find<QStackedWidget>("选择夹1")->currentIndex(), 0);
    QCOMPARE(reportText(), before);
    QVERIFY(m_messages.isEmpty());

    // Page 宝宝取名's date boxes hold no real date: a message, no report, the page stays, and
    // nothing on page 姓名评测 changes.
    const auto analysisBoxes = [this] {
        QStringList state;
        QWidget* page = find<QWidget>("选择夹1页1");
        for (const QLineEdit* box : page->findChildren<QLineEdit*>())
            state.append(box->objectName() + QLatin1Char('=') + box->text());
        for (const QComboBox* box : page->findChildren<QComboBox*>())
            state.append(box->objectName() + QLatin1Char('=') + box->currentText());
        return state;
    };
    const QStringList boxesBefore = analysisBoxes();
    edit("编辑框8")->setText(QStringLiteral("13"));
    doubleClickRow(generated, 0);
    QCOMPARE(m_messages, QStringList{QStringLiteral("请填写正确的出生日期")});
    QCOMPARE(reportText(), before);
    QCOMPARE(find<QStackedWidget>("选择夹1")->currentIndex(), 0);
    QCOMPARE(analysisBoxes(), boxesBefore);
}

void TestMainWindow::listedRowKeepsItsRun()
{
    // Rows stay in the lists when the boxes change for the next run: each is analysed and kept
    // as the name it shows, for the sex it was drawn for.
    useFixtureLibrary({"恒", "秉"}, 7);
    edit("编辑框_姓")->setText(QStringLiteral("欧阳"));
    find<QComboBox>("组合框_性别")->setCurrentIndex(1);
    edit("编辑框1")->setText(QStringLiteral("0"));
    runGeneration();
    QListWidget* generated = list("超级列表框1");
    QVERIFY(generated->count() > 0);
    const QString title = generated->item(0)->text();
    const QString name = title.left(title.indexOf(QLatin1Char('[')));
    QVERIFY(name.startsWith(QStringLiteral("欧阳")));
    edit("编辑框_姓")->setText(QStringLiteral("林"));
    find<QComboBox>("组合框_性别")->setCurrentIndex(0);

    const std::function<void()> ways[] = {
        [&] { doubleClickRow(generated, 0); },
        [&] {
            generated->setCurrentRow(0);
            generated->setFocus();
            QTest::keyClick(generated, Qt::Key_Return);
        },
    };
    for (const auto& choose : ways) {
        toolAction(0)->trigger();
        edit("编辑框_性2")->clear();
        choose();
        QCOMPARE(find<QStackedWidget>("选择夹1")->currentIndex(), 1);
        QCOMPARE(edit("编辑框_性2")->text(), QStringLiteral("欧阳"));
        QCOMPARE(edit("编辑框_名2")->text(), name.mid(2));
        QCOMPARE(find<QComboBox>("组合框_性别2")->currentText(), QStringLiteral("女"));
        QVERIFY2(reportText().contains(QStringLiteral("姓名：") + name + QLatin1Char('\n')),
                 qPrintable(reportText()));
    }

    toolAction(0)->trigger();
    generated->setCurrentRow(0);
    generated->setFocus();
    QTest::keyClick(generated, Qt::Key_D, Qt::ControlModifier);
    const auto& kept = m_window->findChild<hmf::ui::ShortlistPage*>()->shortlist().entries();
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept[0].surname, QStringLiteral("欧阳"));
    QCOMPARE(kept[0].givenName, name.mid(2));
    QCOMPARE(kept[0].sex, QStringLiteral("女"));
}

void TestMainWindow::namesFromVerseShowTheirLine()
{
    // Characters that stand together in lines of 诗经 (静女其姝, 窈窕淑女 君子好逑).
    useFixtureLibrary({"静", "姝", "窈", "窕", "淑", "君", "子"}, 11);
    find<QComboBox>("组合框_出处")->setCurrentText(QStringLiteral("诗经"));
    find<QComboBox>("组合框_性别")->setCurrentIndex(1);
    find<QCheckBox>("选择框_略去")->setChecked(false);
    QListWidget* generated = list("超级列表框1");
    const int fullHeight = generated->height();
    runGeneration();
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
    QVERIFY(generated->count() > 0);

    // The panel under the list shows the selected row's poem and line, the name's characters
    // marked and nothing else; the row's tooltip cites the same line.
    auto* panel = find<QTextBrowser>("编辑框_出处");
    for (int i = 0; i < generated->count(); ++i) {
        QListWidgetItem* row = generated->item(i);
        generated->setCurrentItem(row);
        const QString given = row->text().mid(1, row->text().indexOf(QLatin1Char('[')) - 1);
        QVERIFY(panel->isVisible());
        QVERIFY(panel->geometry().top() > generated->geometry().bottom());
        const QStringList lines = panel->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(QStringLiteral("《诗经·")), qPrintable(lines[0]));
        for (const QChar c : given)
            QVERIFY2(lines[1].contains(c), qPrintable(given + QLatin1Char(' ') + lines[1]));
        const QTextBlock line = panel->document()->lastBlock();
        for (auto it = line.begin(); !it.atEnd(); ++it) {
            const QString text = it.fragment().text();
            const bool nameOnly =
                std::all_of(text.begin(), text.end(), [&](QChar c) { return given.contains(c); });
            QCOMPARE(it.fragment().charFormat().fontWeight() == QFont::Bold, nameOnly);
        }
        QVERIFY(row->toolTip().contains(QStringLiteral("\n出处：《诗经·")));
        QVERIFY(row->toolTip().endsWith(lines[1]));
    }

    // Emptying the candidate list leaves the panel to the row selected in the other list.
    QListWidget* candidates = list("列表框1");
    QVERIFY(candidates->count() > 0);
    candidates->setCurrentRow(0);
    generated->setCurrentRow(0);
    find<QPushButton>("按钮4")->click();
    QCOMPARE(candidates->count(), 0);
    QVERIFY(panel->isVisible());

    // Kept in the shortlist with its source.
    generated->setCurrentRow(0);
    const QString citation = generated->item(0)->toolTip().section(QStringLiteral("出处："), 1);
    generated->setFocus();
    QTest::keyClick(generated, Qt::Key_D, Qt::ControlModifier);

    // A library name has no source: the panel goes and the list has its full height again.
    find<QComboBox>("组合框_出处")->setCurrentText(QStringLiteral("字库"));
    runGeneration();
    QVERIFY(generated->count() > 0);
    generated->setCurrentRow(0);
    QVERIFY(panel->isHidden());
    QVERIFY(!generated->item(0)->toolTip().contains(QStringLiteral("出处")));
    QCOMPARE(generated->height(), fullHeight);

    // A new start reads the kept source back.
    m_window.reset();
    makeWindow(m_dataDir);
    const auto& kept = m_window->findChild<hmf::ui::ShortlistPage*>()->shortlist().entries();
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept[0].source, citation);

    // A name kept from its report carries the source the report names.
    toolAction(1)->trigger();
    typeNameAndDate(QStringLiteral("林"), QStringLiteral("静姝"));
    find<QPushButton>("按钮_分析")->click();
    const QString cited = reportText().section(QStringLiteral("出处："), 1).section('\n', 0, 0);
    QVERIFY2(cited.startsWith(QStringLiteral("《诗经·静女》")), qPrintable(reportText()));
    find<QPushButton>("按钮_收藏此名")->click();
    QCOMPARE(kept.size(), 2);
    QCOMPARE(kept[1].source, cited);

    // A verse table that cannot be read is named, and the lists stay as they were.
    const fs::path noVerse =
        fs::path(QFile::encodeName(m_tempDir.path()).toStdString()) / "noverse";
    fs::create_directories(noVerse);
    makeWindow(noVerse);
    m_messages.clear();
    list("超级列表框1")->addItem(QStringLiteral("林子涵[88分]"));
    find<QComboBox>("组合框_出处")->setCurrentText(QStringLiteral("宋词"));
    runGeneration();
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages[0].startsWith(QStringLiteral("诗词出处表有误")), qPrintable(m_messages[0]));
    QCOMPARE(rows("超级列表框1"), QStringList{QStringLiteral("林子涵[88分]")});
    QVERIFY(find<QPushButton>("按钮1")->isEnabled());
}

void TestMainWindow::analysisAfterFixedCharacterRun()
{
    // Once a run has used a fixed character, a listed name shows its row's score with the unit.
    useFixtureLibrary({"宇", "轩", "明"}, 9);
    find<QCheckBox>("选择框1")->setChecked(true);
    edit("编辑框_固定字")->setText(QStringLiteral("德"));
    find<QComboBox>("组合框_第几个字")->setCurrentText(QStringLiteral("2"));
    runGeneration();
    QVERIFY(m_window->session().fixedCharUsed);
    const QStringList listed = rows("超级列表框1");
    QCOMPARE(listed.size(), 3);
    for (const QString& row : listed)
        QVERIFY2(row.mid(2, 1) == QStringLiteral("德"), qPrintable(row));
    doubleClickRow(list("超级列表框1"), 0);
    const QString score = listed[0].section(QLatin1Char('['), 1).remove(QLatin1Char(']'));
    QVERIFY2(reportText().startsWith(QStringLiteral("名字总分（仅供参考）：") + score + "\n"),
             qPrintable(reportText().left(40)));
}

void TestMainWindow::typeNameAndDate(const QString& surname, const QString& given,
                                     const QStringList& date)
{
    edit("编辑框_性2")->setText(surname);
    edit("编辑框_名2")->setText(given);
    const char* boxes[] = {"编辑框2", "编辑框3", "编辑框5", "编辑框12"};
    for (int i = 0; i < 4; ++i)
        edit(boxes[i])->setText(date.value(i));
}

void TestMainWindow::typedAnalysis()
{
    toolAction(1)->trigger();
    typeNameAndDate(QStringLiteral("张"), QStringLiteral("明华"));
    find<QPushButton>("按钮_分析")->click();
    QVERIFY(m_messages.isEmpty());
    const QString report = reportText();
    QVERIFY(report.contains(QStringLiteral("姓名：张明华\n")));
    QVERIFY(report.contains(QStringLiteral("5月5日\n金牛座")));
    // No random stand-in score: two presses give the same report.
    find<QPushButton>("按钮_分析")->click();
    QCOMPARE(reportText(), report);
    // 名字品评 weighs the sex in the sex box.
    edit("编辑框_名2")->setText(QStringLiteral("婷"));
    for (const auto& [sex, remarked] : {std::pair{"男", true}, std::pair{"女", false}}) {
        find<QComboBox>("组合框_性别2")->setCurrentText(QString::fromUtf8(sex));
        find<QPushButton>("按钮_分析")->click();
        QCOMPARE(reportText().contains(QStringLiteral("“婷”多用于女孩名")), remarked);
    }
}

void TestMainWindow::refusedAnalysis_data()
{
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QStringList>("date"); // year, month, day, hour
    QTest::addColumn<QString>("message");  // empty: nothing happens, silently

    const QStringList good = {"2019", "5", "5", "5"};
    QTest::newRow("empty surname") << ""
                                   << "明华" << good << "";
    QTest::newRow("empty given name") << "张"
                                      << "" << good << "";
    QTest::newRow("empty date boxes")
        << "张"
        << "明华" << QStringList{"", "", "", ""} << "请填写正确的出生日期";
    QTest::newRow("30 February") << "张"
                                 << "明华" << QStringList{"2019", "2", "30", "5"}
                                 << "请填写正确的出生日期";
    QTest::newRow("month 0") << "张"
                             << "明华" << QStringList{"2019", "0", "5", "5"}
                             << "请填写正确的出生日期";
    QTest::newRow("hour 24") << "张"
                             << "明华" << QStringList{"2019", "5", "5", "24"}
                             << "出生时辰应在0到23之间";
    QTest::newRow("hour -1") << "张"
                             << "明华" << QStringList{"2019", "5", "5", "-1"}
                             << "出生时辰应在0到23之间";
    QTest::newRow("year 1800") << "张"
                               << "明华" << QStringList{"1800", "5", "5", "5"}
                               << "出生日期超出支持范围（1900年1月31日至2100年12月31日）";
    QTest::newRow("Latin given name") << "张"
                                      << "Ming" << good << "“M”不是汉字";
    QTest::newRow("unknown character") << "张"
                                       << "明𠀀" << good << "“𠀀”不在字库中";
}

void TestMainWindow::refusedAnalysis()
{
    QFETCH(QString, surname);
    QFETCH(QString, given);
    QFETCH(QStringList, date);
    QFETCH(QString, message);

    // A report already shown stays when the next one is refused.
    find<QTextEdit>("超级编辑框1")->setPlainText(QStringLiteral("上一份报告"));
    typeNameAndDate(surname, given, date);
    find<QPushButton>("按钮_分析")->click();
    QCOMPARE(m_messages, message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(reportText(), QStringLiteral("上一份报告"));
}

void TestMainWindow::copyAndClearCandidates()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("以前的内容"));
    // An empty list copies nothing and says nothing.
    find<QPushButton>("按钮5")->click();
    QCOMPARE(clipboard->text(), QStringLiteral("以前的内容"));
    QVERIFY(m_messages.isEmpty());

    list("列表框1")->addItems({QStringLiteral("林子涵[88分]"), QStringLiteral("林子轩[90分]")});
    find<QPushButton>("按钮5")->click();
    QCOMPARE(clipboard->text(), QStringLiteral("\r\n林子涵[88分]\r\n林子轩[90分]"));
    QCOMPARE(m_messages, QStringList{QStringLiteral("候选名字已经复制到剪辑板")});

    // Clearing asks first; declined, the list stays.
    m_answer = false;
    find<QPushButton>("按钮4")->click();
    QCOMPARE(m_questions, QStringList{QStringLiteral("清空候选名字列表中的2个名字？")});
    QCOMPARE(list("列表框1")->count(), 2);
    m_answer = true;
    find<QPushButton>("按钮4")->click();
    QCOMPARE(list("列表框1")->count(), 0);
    // An empty list is cleared without a question.
    find<QPushButton>("按钮4")->click();
    QCOMPARE(m_questions.size(), 2);
    clipboard->setText(QStringLiteral("以前的内容"));
    find<QPushButton>("按钮5")->click();
    QCOMPARE(clipboard->text(), QStringLiteral("以前的内容"));
    QCOMPARE(m_messages.size(), 1);
}

void TestMainWindow::elementWindow()
{
    const QString linElement = QString::fromStdString(m_tables->elements.elementOf("林"));
    QVERIFY(!linElement.isEmpty());
    withModalWindow(4, [&](QDialog* dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("窗口_汉字五行"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("汉字五行查询"));
        auto* input = dialog->findChild<QLineEdit*>(QStringLiteral("编辑框1"));
        auto* result = dialog->findChild<QLabel*>(QStringLiteral("标签4"));
        auto* query = dialog->findChild<QPushButton*>(QStringLiteral("按钮1"));
        QVERIFY(input && result && query);
        QCOMPARE(result->text(), QStringLiteral("木"));
        input->setText(QStringLiteral("林"));
        query->click();
        QCOMPARE(result->text(), linElement);
        QVERIFY(m_messages.isEmpty());

        const QStringList refused = {"", "a", "𠀀", "林木"};
        const QStringList messages = {"请输入要查询的汉字", "“a”不是汉字", "“𠀀”不在字库中",
                                      "请只输入一个汉字"};
        for (const QString& text : refused) {
            input->setText(text);
            query->click();
        }
        QCOMPARE(m_messages, messages);
    });
    // Once the window is closed the bar marks the page that is shown again.
    QVERIFY(toolAction(0)->isChecked());
}

void TestMainWindow::starSignWindow()
{
    withModalWindow(5, [&](QDialog* dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("窗口_星座查询"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("星座查询"));
        auto* month = dialog->findChild<QComboBox*>(QStringLiteral("组合框1"));
        auto* day = dialog->findChild<QComboBox*>(QStringLiteral("组合框2"));
        auto* result = dialog->findChild<QLabel*>(QStringLiteral("标签1"));
        auto* query = dialog->findChild<QPushButton*>(QStringLiteral("按钮1"));
        QVERIFY(month && day && result && query);
        QCOMPARE(month->count(), 12);
        QCOMPARE(day->count(), 31);
        // It opens on the birth date of 宝宝取名 (5月5日) with its sign.
        QCOMPARE(month->currentText(), QStringLiteral("5"));
        QCOMPARE(day->currentText(), QStringLiteral("5"));
        QVERIFY2(result->text().startsWith(QStringLiteral("5月5日\n金牛座\n")),
                 qPrintable(result->text()));

        const struct
        {
            const char* month;
            const char* day;
            const char* sign;
        } cases[] = {{"1", "1", "魔蝎座"},
                     {"4", "20", "白羊座"},
                     {"4", "21", "金牛座"},
                     {"2", "29", "双鱼座"}};
        for (const auto& c : cases) {
            month->setCurrentText(QString::fromUtf8(c.month));
            day->setCurrentText(QString::fromUtf8(c.day));
            query->click();
            const QString expected = QStringLiteral("%1月%2日\n%3\n").arg(c.month, c.day, c.sign);
            QVERIFY2(result->text().startsWith(expected), qPrintable(result->text()));
        }
        // A day the month never has gets a message, not a sign.
        month->setCurrentText(QStringLiteral("2"));
        day->setCurrentText(QStringLiteral("30"));
        const QString shown = result->text();
        query->click();
        QCOMPARE(result->text(), shown);
        QCOMPARE(m_messages, QStringList{QStringLiteral("请选择正确的日期")});
    });
    // Without a birth date it opens on 1月1日 with nothing shown.
    edit("编辑框8")->setText(QStringLiteral("13"));
    withModalWindow(5, [&](QDialog* dialog) {
        QCOMPARE(dialog->findChild<QComboBox*>(QStringLiteral("组合框1"))->currentText(),
                 QStringLiteral("1"));
        QCOMPARE(dialog->findChild<QComboBox*>(QStringLiteral("组合框2"))->currentText(),
                 QStringLiteral("1"));
        QVERIFY(dialog->findChild<QLabel*>(QStringLiteral("标签1"))->text().isEmpty());
    });
}

void TestMainWindow::birthChartWindowFollowsPageDate()
{
    const auto expectedChart = [&](int y, int m, int d, int h) {
        const auto chart = hmf::calendar::birthChart({y, m, d, h}, m_tables->sexagenary);
        return chart ? hmf::ui::fromEngineText(hmf::calendar::chartText(*chart) +
                                               hmf::calendar::strengthSection({y, m, d, h}, {}))
                     : QString();
    };
    const auto shownChart = [&] {
        QString text;
        withModalWindow(6, [&](QDialog* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("窗口_生辰八字"));
            QCOMPARE(dialog->windowTitle(), QStringLiteral("生辰八字"));
            auto* box = dialog->findChild<QTextEdit*>(QStringLiteral("生辰八字超级编辑框"));
            QVERIFY(box);
            text = box->toPlainText();
            // A line under the chart names the date and hour it belongs to.
            auto* basis = dialog->findChild<QLabel*>(QStringLiteral("标签_八字依据"));
            QVERIFY(basis);
            QVERIFY2(
                basis->text().contains(QStringLiteral("%1年%2月%3日%4时")
                                           .arg(edit("编辑框7")->text(), edit("编辑框8")->text(),
                                                edit("编辑框9")->text(), edit("编辑框11")->text())),
                qPrintable(basis->text()));
        });
        return text;
    };

    // The first opening already shows the page's date and hour, without any generation run.
    QCOMPARE(shownChart(), expectedChart(2019, 5, 5, 5));
    QVERIFY(m_window->session().birthChartRequested);
    QVERIFY(toolAction(0)->isChecked());

    edit("编辑框7")->setText(QStringLiteral("1982"));
    edit("编辑框8")->setText(QStringLiteral("8"));
    edit("编辑框9")->setText(QStringLiteral("20"));
    edit("编辑框11")->setText(QStringLiteral("23"));
    QCOMPARE(shownChart(), expectedChart(1982, 8, 20, 23));

    // A date that does not exist opens no window.
    edit("编辑框9")->setText(QStringLiteral("32"));
    bool opened = false;
    QTimer::singleShot(0, this, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    toolAction(6)->trigger();
    QVERIFY(!opened);
    QCOMPARE(m_messages, QStringList{QStringLiteral("请填写正确的出生日期")});
}

// Both pages take the date as 农历 (with 闰月) and a birthplace; the report and the birth-chart
// window then end with the section 八字旺衰 at true solar time, and impossible input is refused.
void TestMainWindow::lunarBirthdayAndBirthplace()
{
    auto* leap = find<QCheckBox>("选择框_闰月2");
    QVERIFY(!leap->isEnabled()); // 公历 has no leap months
    toolAction(1)->trigger();
    typeNameAndDate(QStringLiteral("张"), QStringLiteral("明华"), {"2023", "2", "1", "5"});
    find<QComboBox>("组合框_历法2")->setCurrentIndex(1);
    QVERIFY(leap->isEnabled());
    leap->setChecked(true);
    find<QComboBox>("组合框_出生地2")->setCurrentText(QStringLiteral("乌鲁木齐"));
    find<QPushButton>("按钮_分析")->click();
    QCOMPARE(m_messages, QStringList{});
    const QString report = reportText();
    // One chart throughout: the solar time heads it and every pillar line follows it.
    QVERIFY2(report.contains(QStringLiteral("真太阳时 02:44（北京时间 05:00，乌鲁木齐）\n"
                                            "农历日期：2023年闰2月1日\n属相：兔\n"
                                            "四柱：癸卯年 乙卯月 己卯日 乙丑时\n")),
             qPrintable(report));
    QVERIFY(!report.contains(QStringLiteral("丁卯")));
    QVERIFY(report.contains(QStringLiteral("农历2023年闰二月初一，即公历2023年3月22日。\n日主")));

    const struct
    {
        const char* month;
        bool leap;
        const char* place;
        const char* message;
    } refused[] = {{"3", true, "乌鲁木齐", "农历2023年没有闰三月"},
                   {"2", true, "长安", "未知的出生地：长安"},
                   {"2", true, "-87.6", "经度应在东经0°到180°之间"}};
    for (const auto& r : refused) {
        m_messages.clear();
        edit("编辑框3")->setText(QString::fromUtf8(r.month));
        leap->setChecked(r.leap);
        find<QComboBox>("组合框_出生地2")->setCurrentText(QString::fromUtf8(r.place));
        find<QPushButton>("按钮_分析")->click();
        QCOMPARE(m_messages, QStringList{QString::fromUtf8(r.message)});
        QCOMPARE(reportText(), report);
    }

    // Page 宝宝取名: the chart window shows the Gregorian day of the lunar date.
    m_messages.clear();
    edit("编辑框7")->setText(QStringLiteral("2023"));
    edit("编辑框8")->setText(QStringLiteral("2"));
    edit("编辑框9")->setText(QStringLiteral("1"));
    edit("编辑框11")->setText(QStringLiteral("5"));
    find<QComboBox>("组合框_历法")->setCurrentIndex(1);
    find<QCheckBox>("选择框_闰月")->setChecked(true);
    edit("编辑框10")->setText(QStringLiteral("10"));
    find<QComboBox>("组合框_出生地")->setCurrentText(QStringLiteral("87.6"));
    QString shown;
    QString basis;
    withModalWindow(6, [&](QDialog* dialog) {
        shown = dialog->findChild<QTextEdit*>(QStringLiteral("生辰八字超级编辑框"))->toPlainText();
        basis = dialog->findChild<QLabel*>(QStringLiteral("标签_八字依据"))->text();
    });
    // The minute counts: 05:10 Beijing time is 02:53 at 87.6° east.
    QVERIFY2(shown.startsWith(QStringLiteral("真太阳时 02:53")), qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("（北京时间 05:10，东经87.6°）\n属相：兔\n"
                                          "四柱：癸卯年 乙卯月 己卯日 乙丑时\n")));
    QVERIFY(shown.contains(QStringLiteral("八字旺衰")));
    // The line under the chart gives the date as typed, lunar.
    QVERIFY2(basis.contains(QStringLiteral("2023年闰2月1日5时10分（农历）")), qPrintable(basis));
    // A minute that is no number is refused, not read as 0.
    edit("编辑框10")->setText(QStringLiteral("半"));
    toolAction(6)->trigger();
    QCOMPARE(m_messages, QStringList{QStringLiteral("出生时间的分钟应在0到59之间")});
    m_messages.clear();
    edit("编辑框10")->setText(QStringLiteral("10"));
    edit("编辑框8")->setText(QStringLiteral("3"));
    toolAction(6)->trigger();
    QCOMPARE(m_messages, QStringList{QStringLiteral("农历2023年没有闰三月")});
}

void TestMainWindow::webButtons()
{
    QList<QUrl> expected;
    for (const hmf::ui::WebLink& link : hmf::ui::webLinks()) {
        expected.append(QUrl(QString::fromUtf8(link.address)));
        auto* button = find<QAbstractButton>(link.objectName);
        const QPoint centre = button->rect().center();
        QTest::mousePress(button, Qt::LeftButton, {}, centre);
        // 超级按钮2 opens its page on the press, the others only on the whole click.
        QCOMPARE(m_openedUrls.size(),
                 expected.size() - (QByteArray(link.objectName) == "超级按钮2" ? 0 : 1));
        QTest::mouseRelease(button, Qt::LeftButton, {}, centre);
        QCOMPARE(m_openedUrls, expected);
    }
    QCOMPARE(QSet<QUrl>(expected.begin(), expected.end()).size(), 5);
    for (const QUrl& url : expected)
        QCOMPARE(url.scheme(), QStringLiteral("https"));
}

void TestMainWindow::damagedTablesStopStartUp_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // empty: the file is missing
    QTest::newRow("81-number table missing") << "luck81.txt" << QByteArray();
    QTest::newRow("sexagenary table damaged") << "sexagenary.txt" << QByteArray("木,水,\r\n");
    QTest::newRow("stroke table missing") << "gridstrokes.txt" << QByteArray();
}

void TestMainWindow::damagedTablesStopStartUp()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const fs::path target(QFile::encodeName(dir.path()).toStdString());
    for (const auto& entry : fs::directory_iterator(m_dataDir))
        fs::copy(entry.path(), target / entry.path().filename());
    const fs::path damaged = target / file.toStdString();
    fs::remove(damaged);
    if (!content.isEmpty()) {
        QFile out(QFile::decodeName(damaged.c_str()));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    const hmf::ui::LoadedTables loaded = hmf::ui::loadProgramTables(target);
    QVERIFY(!loaded.tables);
    QVERIFY2(loaded.error.contains(file), qPrintable(loaded.error));
}

// The tables that judge a name are read when a name is first assessed: with a damaged one the
// window starts, and each assessment (a report, a run) is refused naming the file.
void TestMainWindow::damagedAssessmentTableStopsAssessing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const fs::path target(QFile::encodeName(dir.path()).toStdString());
    for (const auto& entry : fs::directory_iterator(m_dataDir))
        fs::copy(entry.path(), target / entry.path().filename());
    {
        QFile out(QFile::decodeName((target / "meanings.txt").c_str()));
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        // A count line that matches, so that the row itself is what the loader refuses.
        out.write("# \xD0\xD0\xCA\xFD\xA3\xBA"
                  "1\r\nx\r\n"); // "# 行数：1" in GBK
    }
    const hmf::ui::LoadedTables loaded = hmf::ui::loadProgramTables(target);
    QVERIFY2(loaded.tables, qPrintable(loaded.error));
    m_window = hmf::uitest::openWindow(*loaded.tables, target,
                                       m_tempDir.filePath(QStringLiteral("shortlist.json")));
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    toolAction(1)->trigger();
    typeNameAndDate(QStringLiteral("张"), QStringLiteral("明华"));
    find<QPushButton>("按钮_分析")->click();
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages[0].contains(QStringLiteral("meanings.txt:2")), qPrintable(m_messages[0]));
    QVERIFY(reportText().isEmpty());

    toolAction(0)->trigger();
    runGeneration();
    QCOMPARE(m_messages.size(), 2);
    QVERIFY2(m_messages[1].contains(QStringLiteral("meanings.txt:2")), qPrintable(m_messages[1]));
    QVERIFY(rows("超级列表框1").isEmpty());
    m_window.reset(); // before the tables it reads
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
