// What the window offers beyond the product's pages: the shortlist (收藏夹) with its file, the
// CSV and PDF exports, the comparison of names, keyboard paths, resizing, remembered inputs and
// Qt's Chinese texts. The real main window under the offscreen platform, found by object names.

#include "core/gbk.h"
#include "core/tables.h"
#include "ui/comparewindow.h"
#include "ui/fileoutput.h"
#include "ui/mainwindow.h"
#include "ui/messagebox.h"
#include "ui/shortlistpage.h"
#include "ui/startup.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <memory>

namespace fs = std::filesystem;
using hmf::ui::MainWindow;
using hmf::ui::MessageBox;

class TestWindowTools : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void shortlistKeepsNamesAcrossRestarts();
    void damagedShortlistIsKeptAside_data();
    void damagedShortlistIsKeptAside();
    void csvExports();
    void meaningsGoWithNames();
    void reportAndComparisonToPdf();
    void compareNeedsTwoToFourNames();
    void comparisonReadsNamesAsNamed();
    void markupInKeptNamesStaysText();
    void keyboardPaths();
    void generationCharacterBoxTakesOneCharacter();
    void settingsComeBack();
    void keyboardOnlyFromSurnameToShortlist();
    void textSizeFromTheMenu();
    void escapeStopsRun();
    void findInTheLists();
    void helpAboutAndEmptyInput();
    void standardButtonsSpeakChinese();
    void settingsFileMovesOnceAndIsChecked();
    void saveDialogOpensInDocumentsOrHome();

  private:
    template <typename T> T* find(const char* name)
    {
        return hmf::uitest::findWidget<T>(m_window.get(), name);
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
    QTableWidget* shortlistTable() { return find<QTableWidget>("表格_收藏"); }
    int currentPage() { return find<QStackedWidget>("选择夹1")->currentIndex(); }
    QString statusText() { return m_window->statusBar()->currentMessage(); }
    QString shortlistFile() const { return m_dir->filePath(QStringLiteral("shortlist.json")); }

    void makeWindow();
    void useFixtureLibrary(const QStringList& characters, std::uint64_t seed);
    void analyse(const char* surname, const char* given);
    QStringList listed(const char* name);
    // Hands the modal window that `open` opens to `check` while it is open.
    void withModalWindow(const std::function<void()>& open,
                         const std::function<void(QDialog*)>& check);
    static QString pdfText(const QString& file);
    static QString withoutBlanks(QString text);
    static int pdfPages(const QString& file);

    std::unique_ptr<hmf::core::Tables> m_tables;
    fs::path m_dataDir;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_messages;
    QString m_nextSaveFile;
};

void TestWindowTools::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    hmf::ui::prepareApplication(*static_cast<QApplication*>(QCoreApplication::instance()));
    QString error;
    m_tables = hmf::uitest::loadProgramTables(m_dataDir, error);
    QVERIFY2(m_tables, qPrintable(error));
    MessageBox::setHook([this](const QString& text, MessageBox::Icon) { m_messages.append(text); });
    hmf::ui::FileChooser::setHook(
        [this](const QString&, const QString&) { return m_nextSaveFile; });
}

void TestWindowTools::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_messages.clear();
    m_nextSaveFile.clear();
    makeWindow();
}

void TestWindowTools::cleanup()
{
    m_window.reset();
}

void TestWindowTools::makeWindow()
{
    m_window = hmf::uitest::openWindow(*m_tables, m_dataDir, shortlistFile());
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QApplication::setActiveWindow(m_window.get());
}

void TestWindowTools::useFixtureLibrary(const QStringList& characters, std::uint64_t seed)
{
    QVERIFY(hmf::uitest::useFixtureLibrary(
        *m_window, m_dir->filePath(QStringLiteral("fixture.fne")), characters, seed));
}

void TestWindowTools::analyse(const char* surname, const char* given)
{
    edit("编辑框_性2")->setText(QString::fromUtf8(surname));
    edit("编辑框_名2")->setText(QString::fromUtf8(given));
    edit("编辑框2")->setText(QStringLiteral("2019"));
    edit("编辑框3")->setText(QStringLiteral("5"));
    edit("编辑框5")->setText(QStringLiteral("5"));
    edit("编辑框12")->setText(QStringLiteral("5"));
    find<QPushButton>("按钮_分析")->click();
}

QStringList TestWindowTools::listed(const char* name)
{
    return hmf::uitest::rowsOf(find<QListWidget>(name));
}

void TestWindowTools::withModalWindow(const std::function<void()>& open,
                                      const std::function<void(QDialog*)>& check)
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
    open();
    QVERIFY(seen);
}

QString TestWindowTools::pdfText(const QString& file)
{
    // Page by page, each without the page number that printing puts at its foot; no
    // normalisation, so a look-alike character (⼦ for 子) shows. Blanks and line breaks depend on
    // the layout and are left out.
    QString text;
    for (int page = 1, pages = pdfPages(file); page <= pages; ++page) {
        QProcess p;
        const QString number = QString::number(page);
        // -raw: in the order drawn, and without joining a line that ends in "-" to the next.
        p.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                 QStringLiteral("-f"), number, QStringLiteral("-l"), number, file,
                 QStringLiteral("-")});
        p.waitForFinished();
        QString onPage = withoutBlanks(QString::fromUtf8(p.readAllStandardOutput()));
        if (onPage.endsWith(number))
            onPage.chop(number.size());
        text += onPage;
    }
    return text;
}

QString TestWindowTools::withoutBlanks(QString text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.remove(blanks);
}

int TestWindowTools::pdfPages(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {file});
    p.waitForFinished();
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                   QRegularExpression::MultilineOption);
    const auto match = pages.match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

void TestWindowTools::shortlistKeepsNamesAcrossRestarts()
{
    // From the candidate list: the selected row, with its listed score.
    useFixtureLibrary({"宇", "轩"}, 5);
    edit("编辑框1")->setText(QStringLiteral("0"));
    find<QPushButton>("按钮1")->click();
    const QStringList candidates = listed("列表框1");
    QVERIFY(!candidates.isEmpty());
    auto* list = find<QListWidget>("列表框1");
    list->setCurrentRow(0);
    find<QPushButton>("按钮_加入收藏")->click();
    const QString firstName = candidates[0].left(candidates[0].indexOf(QLatin1Char('[')));
    const QString firstScore =
        candidates[0].mid(candidates[0].indexOf(QLatin1Char('[')) + 1).remove(QLatin1Char(']'));
    QCOMPARE(shortlistTable()->rowCount(), 1);
    QCOMPARE(shortlistTable()->item(0, 0)->text(), firstName);
    QCOMPARE(shortlistTable()->item(0, 1)->text(), firstScore);

    // Keeping says so in the status bar, not in a box to close; the same name again is refused
    // with a word there. Ctrl+D on the list keeps a second row.
    QCOMPARE(statusText(), QStringLiteral("已将“%1”加入收藏夹").arg(firstName));
    find<QPushButton>("按钮_加入收藏")->click();
    QCOMPARE(shortlistTable()->rowCount(), 1);
    QCOMPARE(statusText(), QStringLiteral("“%1”已在收藏夹中").arg(firstName));
    QVERIFY(m_messages.isEmpty());
    list->setCurrentRow(1);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(shortlistTable()->rowCount(), 2);

    // From a report: the name with the score the report computed.
    analyse("王", "子涵");
    find<QPushButton>("按钮_收藏此名")->click();
    QCOMPARE(shortlistTable()->rowCount(), 3);
    QCOMPARE(shortlistTable()->item(2, 0)->text(), QStringLiteral("王子涵"));
    QVERIFY(shortlistTable()->item(2, 1)->text().endsWith(QStringLiteral("分")));
    // Kept with its assessment figure (0-100).
    bool isNumber = false;
    const int figure = shortlistTable()->item(2, 2)->text().toInt(&isNumber);
    QVERIFY(isNumber && figure >= 0 && figure <= 100);

    // A note is typed into its cell; Delete removes the selected row.
    shortlistTable()->item(2, 5)->setText(QStringLiteral("奶奶喜欢"));
    shortlistTable()->selectRow(1);
    shortlistTable()->setFocus();
    const QString removed = shortlistTable()->item(1, 0)->text();
    QTest::keyClick(shortlistTable(), Qt::Key_Delete);
    QCOMPARE(shortlistTable()->rowCount(), 2);
    // Undo brings the name back to its row, in the file too; redo removes it again.
    auto* page = m_window->findChild<hmf::ui::ShortlistPage*>();
    QVERIFY(page->undoStack()->canUndo());
    page->undoRemove();
    QCOMPARE(shortlistTable()->rowCount(), 3);
    QCOMPARE(shortlistTable()->item(1, 0)->text(), removed);
    {
        hmf::ui::Shortlist onDisk(shortlistFile());
        onDisk.load();
        QCOMPARE(onDisk.entries().size(), 3);
        QCOMPARE(onDisk.entries()[1].fullName(), removed);
    }
    page->undoStack()->redo();
    QCOMPARE(shortlistTable()->rowCount(), 2);

    // A new start reads the same list back, note included.
    m_window.reset();
    makeWindow();
    QCOMPARE(shortlistTable()->rowCount(), 2);
    QCOMPARE(shortlistTable()->item(0, 0)->text(), firstName);
    QCOMPARE(shortlistTable()->item(1, 0)->text(), QStringLiteral("王子涵"));
    QCOMPARE(shortlistTable()->item(1, 5)->text(), QStringLiteral("奶奶喜欢"));
    // The record has room for the assessment and the verse source, empty until they are known.
    QFile file(shortlistFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject kept =
        QJsonDocument::fromJson(file.readAll()).object()[QStringLiteral("names")][1].toObject();
    QCOMPARE(kept[QStringLiteral("note")].toString(), QStringLiteral("奶奶喜欢"));
    QVERIFY(kept.contains(QStringLiteral("source")));
    QVERIFY(kept.contains(QStringLiteral("assessmentNotes")));
}

void TestWindowTools::damagedShortlistIsKeptAside_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("not JSON") << QByteArray("{\"version\": 1, \"names\": [");
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe garbage", 12);
    QTest::newRow("wrong shape") << QByteArray("{\"version\": 1, \"names\": [{\"surname\": 5}]}");
    QTest::newRow("unknown version") << QByteArray("{\"version\": 99, \"names\": []}");
}

void TestWindowTools::damagedShortlistIsKeptAside()
{
    QFETCH(QByteArray, content);
    m_window.reset();
    QFile file(shortlistFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    makeWindow();
    QTRY_COMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages[0].contains(QStringLiteral("已损坏")), qPrintable(m_messages[0]));
    QCOMPARE(shortlistTable()->rowCount(), 0);

    // The damaged bytes are still there under the name the message gives.
    const QStringList aside =
        QDir(m_dir->path()).entryList({QStringLiteral("shortlist.json.damaged-*")});
    QCOMPARE(aside.size(), 1);
    QVERIFY(m_messages[0].contains(aside[0]));
    QFile kept(m_dir->filePath(aside[0]));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), content);

    // The list starts empty and saves normally again.
    analyse("林", "子涵");
    find<QPushButton>("按钮_收藏此名")->click();
    QCOMPARE(shortlistTable()->rowCount(), 1);
    QVERIFY(QFile::exists(shortlistFile()));
}

void TestWindowTools::csvExports()
{
    analyse("林", "子涵");
    find<QPushButton>("按钮_收藏此名")->click();
    analyse("王", "一诺");
    find<QPushButton>("按钮_收藏此名")->click();
    shortlistTable()->item(1, 5)->setText(QStringLiteral("好记, 也好写 \"一诺千金\""));

    const auto readCsv = [](const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return file.readAll();
    };
    m_nextSaveFile = m_dir->filePath(QStringLiteral("shortlist.csv"));
    find<QPushButton>("按钮_收藏导出CSV")->click();
    const QByteArray csv = readCsv(m_nextSaveFile);
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList lines =
        QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith(QStringLiteral("名字,评分,")));
    QVERIFY(lines[1].startsWith(QStringLiteral("林子涵,")));
    // A field with a comma and quotes is quoted, its quotes doubled.
    QVERIFY2(lines[2].contains(QStringLiteral("\"好记, 也好写 \"\"一诺千金\"\"\"")),
             qPrintable(lines[2]));

    // The candidate list: one row per candidate under a header; an empty list is refused.
    m_nextSaveFile = m_dir->filePath(QStringLiteral("candidates.csv"));
    find<QPushButton>("按钮_候选导出CSV")->click();
    QVERIFY(!QFile::exists(m_nextSaveFile));
    QVERIFY(m_messages.last().contains(QStringLiteral("空")));
    useFixtureLibrary({"宇", "轩", "明"}, 3);
    edit("编辑框1")->setText(QStringLiteral("0"));
    find<QPushButton>("按钮1")->click();
    find<QPushButton>("按钮_候选导出CSV")->click();
    const QStringList rows = QString::fromUtf8(readCsv(m_nextSaveFile).mid(3))
                                 .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), listed("列表框1").size() + 1);
    QCOMPARE(rows[0], QStringLiteral("名字,评分,寓意,典出"));

    // A file that cannot be written is reported.
    m_messages.clear();
    m_nextSaveFile = m_dir->filePath(QStringLiteral("no/such/dir/x.csv"));
    find<QPushButton>("按钮_候选导出CSV")->click();
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(m_messages[0].contains(QStringLiteral("无法写入")));
}

// A name of the name base carries its 寓意 (and its source, where it has one) into the lists, the
// shortlist, the comparison and the CSV files; any other name carries none.
void TestWindowTools::meaningsGoWithNames()
{
    const auto baseMeaning = [this](const QString& given) {
        const auto found = m_tables->nameBase.find(given.toStdString());
        return found ? QStringList{QString::fromUtf8(found->meaning.data(),
                                                     qsizetype(found->meaning.size())),
                                   QString::fromUtf8(found->source.data(),
                                                     qsizetype(found->source.size()))}
                     : QStringList{QString(), QString()};
    };

    // The lists: 宇 轩 明 make 宇轩 明轩 明宇 (names of the base) and 轩明 宇明 (not).
    useFixtureLibrary({"宇", "轩", "明"}, 3);
    edit("编辑框1")->setText(QStringLiteral("0"));
    find<QPushButton>("按钮1")->click();
    auto* generated = find<QListWidget>("超级列表框1");
    int withMeaning = 0;
    int without = 0;
    for (int i = 0; i < generated->count(); ++i) {
        const QListWidgetItem* row = generated->item(i);
        const QString given = row->text().section(QLatin1Char('['), 0, 0).mid(1);
        const QStringList meaning = baseMeaning(given);
        QVERIFY(!row->text().contains(QStringLiteral("寓意"))); // the row itself stays as listed
        if (meaning[0].isEmpty()) {
            ++without;
            QVERIFY2(!row->toolTip().contains(QStringLiteral("寓意")), qPrintable(row->toolTip()));
        } else {
            ++withMeaning;
            QVERIFY2(row->toolTip().contains(QStringLiteral("寓意：") + meaning[0]),
                     qPrintable(row->toolTip()));
            QCOMPARE(row->toolTip().contains(QStringLiteral("典出") + meaning[1]),
                     !meaning[1].isEmpty());
        }
    }
    QVERIFY(withMeaning > 0 && without > 0);
    // Found by its meaning as well as by its characters.
    const QString wanted = baseMeaning(QStringLiteral("宇轩"))[0].left(2);
    edit("编辑框_查找")->setText(wanted);
    QVERIFY(!hmf::uitest::rowsOf(generated).isEmpty());
    for (int i = 0; i < generated->count(); ++i)
        if (!generated->item(i)->isHidden())
            QVERIFY(
                generated->item(i)->text().contains(wanted) ||
                baseMeaning(generated->item(i)->text().section(QLatin1Char('['), 0, 0).mid(1))[0]
                    .contains(wanted));
    edit("编辑框_查找")->clear();
    // The candidate CSV: 寓意 and 典出 after name and score.
    const auto readCsv = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(file.readAll().mid(3))
                         .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)
                   : QStringList();
    };
    m_nextSaveFile = m_dir->filePath(QStringLiteral("candidates.csv"));
    find<QPushButton>("按钮_候选导出CSV")->click();
    const QStringList candidates = readCsv(m_nextSaveFile);
    QVERIFY(candidates.size() > 1);
    for (const QString& line : candidates.mid(1)) {
        const QStringList cells = line.split(QLatin1Char(','));
        QCOMPARE(cells.size(), 4);
        QCOMPARE(cells.mid(2), baseMeaning(cells[0].mid(1)));
    }

    // The shortlist, its CSV and the comparison: two names of the base, one not.
    const char* const kept[][2] = {{"王", "一诺"}, {"林", "子涵"}, {"王", "鹿听"}};
    for (const auto& name : kept) {
        analyse(name[0], name[1]);
        find<QPushButton>("按钮_收藏此名")->click();
    }
    QVERIFY(!baseMeaning(QStringLiteral("一诺"))[1].isEmpty());
    QVERIFY(baseMeaning(QStringLiteral("鹿听"))[0].isEmpty());
    m_nextSaveFile = m_dir->filePath(QStringLiteral("shortlist.csv"));
    find<QPushButton>("按钮_收藏导出CSV")->click();
    const QStringList lines = readCsv(m_nextSaveFile);
    const QStringList header = lines.value(0).split(QLatin1Char(','));
    const int meaningColumn = int(header.indexOf(QStringLiteral("寓意")));
    QVERIFY(meaningColumn > 0);
    QCOMPARE(header.value(meaningColumn + 1), QStringLiteral("典出"));
    QCOMPARE(lines.size(), 4);
    for (int row = 0; row < 3; ++row) {
        const QString given = QString::fromUtf8(kept[row][1]);
        const QStringList expected = baseMeaning(given);
        QCOMPARE(shortlistTable()->item(row, 3)->text(), expected[0]);
        QCOMPARE(lines[row + 1].split(QLatin1Char(',')).mid(meaningColumn, 2), expected);
    }
    shortlistTable()->selectAll();
    withModalWindow(
        [&] { find<QPushButton>("按钮_比较")->click(); },
        [&](QDialog* dialog) {
            const QString table =
                dialog->findChild<QTextBrowser*>(QStringLiteral("比较表"))->toPlainText();
            QVERIFY(table.contains(QStringLiteral("寓意")));
            QVERIFY(table.contains(baseMeaning(QStringLiteral("一诺"))[0]));
            QVERIFY(
                table.contains(QStringLiteral("典出") + baseMeaning(QStringLiteral("一诺"))[1]));
            QVERIFY(table.contains(baseMeaning(QStringLiteral("子涵"))[0]));
        });

    // Kept in the file, so the shortlist shows them at the next start before any assessment.
    m_window.reset();
    makeWindow();
    QCOMPARE(shortlistTable()->item(0, 3)->text(), baseMeaning(QStringLiteral("一诺"))[0]);
}

void TestWindowTools::reportAndComparisonToPdf()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        QSKIP("poppler-utils (pdftotext, pdfinfo) are not installed");

    // Before any analysis there is no report to export.
    find<QPushButton>("按钮_报告导出PDF")->click();
    QCOMPARE(m_messages, QStringList{QStringLiteral("请先分析一个名字")});

    analyse("林", "子涵");
    m_nextSaveFile = m_dir->filePath(QStringLiteral("report.pdf"));
    find<QPushButton>("按钮_报告导出PDF")->click();
    QVERIFY(pdfPages(m_nextSaveFile) >= 1);
    // The PDF's text is the report's, character for character.
    QCOMPARE(pdfText(m_nextSaveFile), withoutBlanks(find<QTextEdit>("超级编辑框1")->toPlainText()));

    find<QPushButton>("按钮_收藏此名")->click();
    analyse("王", "一诺");
    find<QPushButton>("按钮_收藏此名")->click();
    shortlistTable()->selectAll();
    m_nextSaveFile = m_dir->filePath(QStringLiteral("compare.pdf"));
    withModalWindow(
        [&] { find<QPushButton>("按钮_比较")->click(); },
        [&](QDialog* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("窗口_名字比较"));
            const QString table =
                dialog->findChild<QTextBrowser*>(QStringLiteral("比较表"))->toPlainText();
            QVERIFY(table.contains(QStringLiteral("林子涵")));
            QVERIFY(table.contains(QStringLiteral("王一诺")));
            QVERIFY(table.contains(QStringLiteral("总格")));
            dialog->findChild<QPushButton*>(QStringLiteral("按钮_比较导出PDF"))->click();
        });
    QCOMPARE(pdfPages(m_nextSaveFile), 1);
    const QString compared = pdfText(m_nextSaveFile);
    QVERIFY2(compared.contains(QStringLiteral("林子涵")) &&
                 compared.contains(QStringLiteral("王一诺")),
             qPrintable(compared));
    static const QRegularExpression radicals(QStringLiteral("[\\x{2E80}-\\x{2FDF}]"));
    QVERIFY2(!compared.contains(radicals), qPrintable(compared));
}

void TestWindowTools::compareNeedsTwoToFourNames()
{
    const char* given[] = {"一", "二", "三", "四", "五"};
    for (const char* g : given) {
        analyse("林", g);
        find<QPushButton>("按钮_收藏此名")->click();
    }
    m_messages.clear();
    for (int selected : {1, 5}) {
        shortlistTable()->clearSelection();
        for (int row = 0; row < selected; ++row)
            shortlistTable()->selectionModel()->select(shortlistTable()->model()->index(row, 0),
                                                       QItemSelectionModel::Select |
                                                           QItemSelectionModel::Rows);
        find<QPushButton>("按钮_比较")->click();
    }
    QCOMPARE(m_messages, QStringList(2, QStringLiteral("请选择两到四个名字进行比较")));
}

void TestWindowTools::comparisonReadsNamesAsNamed()
{
    // Surnames read as surnames (曾 zēng, not céng; 尉迟 yù chí), tones from those readings.
    const auto kept = [](const char* surname, const char* given) {
        hmf::ui::ShortlistEntry e;
        e.surname = QString::fromUtf8(surname);
        e.givenName = QString::fromUtf8(given);
        return e;
    };
    QTextDocument table;
    table.setHtml(hmf::ui::comparisonHtml(*m_tables, {kept("曾", "明华"), kept("尉迟", "明")}));
    const QString text = table.toPlainText();
    for (const char* value : {"zēng míng huá", "1 2 2", "yù chí míng", "4 2 2"})
        QVERIFY2(text.contains(QString::fromUtf8(value)), value);
    QVERIFY(!text.contains(QStringLiteral("céng")));
}

void TestWindowTools::markupInKeptNamesStaysText()
{
    // Every free text of a kept name holds markup that would load /dev/zero as an image or link
    // to a local file if it were taken for HTML; the other fields refuse such text on load.
    const QString markup =
        QStringLiteral("<img src='/dev/zero'><a href='file:///etc/passwd'>看</a><b>粗</b>");
    m_window.reset();
    QJsonArray names;
    for (const char* given : {"子涵", "一诺"}) {
        QJsonObject name;
        name[QStringLiteral("surname")] = QStringLiteral("林");
        name[QStringLiteral("givenName")] = QString::fromUtf8(given);
        name[QStringLiteral("score")] = QStringLiteral("88分");
        name[QStringLiteral("assessment")] = 80;
        for (const char* field : {"assessmentNotes", "meaning", "meaningSource", "source", "note"})
            name[QLatin1String(field)] = markup;
        names.append(name);
    }
    QFile file(shortlistFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        QJsonDocument(QJsonObject{{QStringLiteral("version"), 1}, {QStringLiteral("names"), names}})
            .toJson());
    file.close();
    makeWindow();
    QCOMPARE(shortlistTable()->rowCount(), 2);

    // The list's cells and tool tips.
    for (int column : {3, 4, 5})
        QCOMPARE(shortlistTable()->item(0, column)->text(), markup);
    QTextDocument tip;
    tip.setHtml(shortlistTable()->item(0, 2)->toolTip());
    QCOMPARE(tip.toPlainText(), markup);
    tip.setHtml(shortlistTable()->item(0, 3)->toolTip());
    QCOMPARE(tip.toPlainText(), QStringLiteral("寓意：%1\n典出%1").arg(markup));

    // The comparison and its PDF.
    shortlistTable()->selectAll();
    withModalWindow([&] { find<QPushButton>("按钮_比较")->click(); },
                    [&](QDialog* dialog) {
                        const QTextDocument* shown =
                            dialog->findChild<QTextBrowser*>(QStringLiteral("比较表"))->document();
                        QCOMPARE(shown->toPlainText().count(markup), 10);
                        QVERIFY(!shown->toHtml().contains(QStringLiteral("<img")));
                        QVERIFY(!shown->toHtml().contains(QStringLiteral("<a ")));
                    });
    QVERIFY(m_messages.isEmpty());
}

void TestWindowTools::keyboardPaths()
{
    // Ctrl+number reaches every page of the bar.
    const int pageOf[] = {0, 1, 2, 3, -1, -1, -1, 4, 5};
    for (int key : {3, 9, 8, 2, 4, 1}) {
        QTest::keyClick(m_window.get(), Qt::Key(Qt::Key_0 + key), Qt::ControlModifier);
        QCOMPARE(currentPage(), pageOf[key - 1]);
        QVERIFY(find<QToolBar>("工具条1")->actions().at(key - 1)->isChecked());
    }

    // Tab goes from the generation character through the birth row: how the date is meant, the
    // date and hour, the birthplace (闰月 is skipped while 公历 leaves it disabled), then on to
    // the run's options; on 姓名评测 from the sex through the same row to 开始分析.
    const auto tabsFrom = [](QWidget* start, int steps) {
        start->setFocus();
        QStringList names;
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            // The line edit of an editable box is named by its box.
            names.append(now->objectName().isEmpty() ? now->parentWidget()->objectName()
                                                     : now->objectName());
        }
        return names;
    };
    QCOMPARE(tabsFrom(edit("编辑框_固定字"), 10),
             (QStringList{"组合框1", "组合框_历法", "编辑框7", "编辑框8", "编辑框9", "编辑框11",
                          "编辑框10", "组合框_出生地", "选择框_候选", "编辑框1"}));
    find<QToolBar>("工具条1")->actions().at(1)->trigger();
    QCOMPARE(tabsFrom(find<QComboBox>("组合框_性别2"), 8),
             (QStringList{"组合框_历法2", "编辑框2", "编辑框3", "编辑框5", "编辑框12", "编辑框13",
                          "组合框_出生地2", "按钮_分析"}));
    find<QToolBar>("工具条1")->actions().at(0)->trigger();

    // Enter in a box of 宝宝取名 starts a run; Enter on a candidate opens its analysis.
    useFixtureLibrary({"宇", "轩"}, 9);
    edit("编辑框1")->setText(QStringLiteral("0"));
    QTest::keyClick(edit("编辑框_姓"), Qt::Key_Return);
    QVERIFY(!listed("列表框1").isEmpty());
    auto* candidates = find<QListWidget>("列表框1");
    candidates->setCurrentRow(0);
    QTest::keyClick(candidates, Qt::Key_Return);
    QCOMPARE(currentPage(), 1);
    QVERIFY(find<QTextEdit>("超级编辑框1")
                ->toPlainText()
                .contains(candidates->item(0)->text().left(3)));

    // Enter in a date box of 姓名评测 analyses the typed name.
    edit("编辑框_性2")->setText(QStringLiteral("王"));
    edit("编辑框_名2")->setText(QStringLiteral("一诺"));
    QTest::keyClick(edit("编辑框12"), Qt::Key_Enter);
    QVERIFY(find<QTextEdit>("超级编辑框1")->toPlainText().contains(QStringLiteral("王一诺")));
}

void TestWindowTools::generationCharacterBoxTakesOneCharacter()
{
    auto* box = edit("编辑框_固定字");
    const auto type = [box](const QString& text) {
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text, Qt::NoModifier);
    };
    type(QStringLiteral("辈"));
    type(QStringLiteral("分"));
    QCOMPARE(box->text(), QStringLiteral("辈"));
    // A character beyond the basic plane is one character too, though two UTF-16 units.
    box->clear();
    type(QStringLiteral("𠀀"));
    QCOMPARE(box->text(), QStringLiteral("𠀀"));
    type(QStringLiteral("辈"));
    QCOMPARE(box->text(), QStringLiteral("𠀀"));
}

void TestWindowTools::settingsComeBack()
{
    const QString file = m_dir->filePath(QStringLiteral("settings.ini"));
    edit("编辑框_姓")->setText(QStringLiteral("欧阳"));
    find<QComboBox>("组合框_性别")->setCurrentIndex(1);
    find<QComboBox>("组合框_个数")->setCurrentIndex(0);
    find<QCheckBox>("选择框1")->setChecked(true);
    edit("编辑框7")->setText(QStringLiteral("2024"));
    edit("编辑框1")->setText(QStringLiteral("85"));
    find<QComboBox>("组合框_出处")->setCurrentText(QStringLiteral("楚辞"));
    edit("编辑框_名2")->setText(QStringLiteral("子涵"));
    edit("编辑框13")->setText(QStringLiteral("45"));
    {
        QSettings settings(file, QSettings::IniFormat);
        m_window->saveSettings(settings);
    }
    m_window.reset();
    makeWindow();
    {
        const QSettings settings(file, QSettings::IniFormat);
        m_window->restoreSettings(settings);
    }
    QCOMPARE(edit("编辑框_姓")->text(), QStringLiteral("欧阳"));
    QCOMPARE(find<QComboBox>("组合框_性别")->currentText(), QStringLiteral("女"));
    QCOMPARE(find<QComboBox>("组合框_个数")->currentText(), QStringLiteral("1"));
    QVERIFY(find<QCheckBox>("选择框1")->isChecked());
    QCOMPARE(edit("编辑框7")->text(), QStringLiteral("2024"));
    QCOMPARE(edit("编辑框1")->text(), QStringLiteral("85"));
    QCOMPARE(find<QComboBox>("组合框_出处")->currentText(), QStringLiteral("楚辞"));
    QCOMPARE(edit("编辑框_名2")->text(), QStringLiteral("子涵"));
    QCOMPARE(edit("编辑框13")->text(), QStringLiteral("45"));

    // Values that make no sense for a control leave its default.
    {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue(QStringLiteral("naming/sex"), 7);
        settings.setValue(QStringLiteral("naming/length"), QStringLiteral("many"));
        settings.setValue(QStringLiteral("naming/source"), QStringLiteral("论语"));
    }
    m_window.reset();
    makeWindow();
    const QSettings settings(file, QSettings::IniFormat);
    m_window->restoreSettings(settings);
    QCOMPARE(find<QComboBox>("组合框_性别")->currentText(), QStringLiteral("男"));
    QCOMPARE(find<QComboBox>("组合框_个数")->currentText(), QStringLiteral("2"));
    QCOMPARE(find<QComboBox>("组合框_出处")->currentText(), QStringLiteral("字库"));
}

void TestWindowTools::standardButtonsSpeakChinese()
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                       QStringLiteral("/qtbase_zh_CN.qm")))
        QSKIP("Qt's Chinese translations (qt6-translations-l10n) are not installed");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("确定"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    // The file dialog's kinds, which Qt's own translations lack, and its dates.
    QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"),
             QStringLiteral("文件夹"));
    QCOMPARE(QLocale().language(), QLocale::Chinese);
}

void TestWindowTools::settingsFileMovesOnceAndIsChecked()
{
    const QString config = m_dir->filePath(QStringLiteral("config"));
    const QString file = config + QStringLiteral("/huimingfang/huimingfang.conf");
    const QString old = config + QStringLiteral("/Unknown Organization/huimingfang.conf");
    const auto write = [](const QString& path, const QByteArray& content) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile out(path);
        return out.open(QIODevice::WriteOnly) && out.write(content) == content.size();
    };
    // The file of earlier versions moves to the organisation's folder, once.
    QVERIFY(write(old, "[naming]\nsurname=欧阳\n"));
    QString problem;
    {
        const auto settings = hmf::ui::openSettings(&problem, config);
        QCOMPARE(settings->fileName(), file);
        QCOMPARE(settings->value(QStringLiteral("naming/surname")).toString(),
                 QStringLiteral("欧阳"));
    }
    QVERIFY(problem.isEmpty());
    QVERIFY(!QFile::exists(old));
    QVERIFY(!QDir(config + QStringLiteral("/Unknown Organization")).exists());
    QVERIFY(write(old, "[naming]\nsurname=王\n"));
    QCOMPARE(hmf::ui::openSettings(&problem, config)->value(QStringLiteral("naming/surname")),
             QStringLiteral("欧阳"));

    // A file that is no regular one or too large is kept aside, never read.
    QVERIFY(QFile::remove(file));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file));
    auto settings = hmf::ui::openSettings(&problem, config);
    QVERIFY2(problem.contains(QStringLiteral("不是普通文件")), qPrintable(problem));
    QVERIFY(settings && settings->allKeys().isEmpty());
    settings.reset();
    QVERIFY(!QFile::exists(file));
    QVERIFY(write(file, "[naming]\nnote=" + QByteArray(2 * 1024 * 1024, 'x') + "\n"));
    problem.clear();
    settings = hmf::ui::openSettings(&problem, config);
    QVERIFY2(problem.contains(QStringLiteral("过大")), qPrintable(problem));
    QVERIFY(settings && settings->allKeys().isEmpty());
    QCOMPARE(
        QDir(config + QStringLiteral("/huimingfang"))
            .entryList({QStringLiteral("huimingfang.conf.damaged-*")}, QDir::System | QDir::Files)
            .size(),
        2);
}

void TestWindowTools::saveDialogOpensInDocumentsOrHome()
{
    // Never the folder the program was started from.
    const QByteArray home = qgetenv("HOME");
    const QByteArray userConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(m_dir->path()));
    qunsetenv("XDG_CONFIG_HOME");
    const QString withoutDocuments = hmf::ui::FileChooser::startDirectory();
    QDir(m_dir->path()).mkdir(QStringLiteral("Documents"));
    const QString withDocuments = hmf::ui::FileChooser::startDirectory();
    qputenv("HOME", home);
    if (!userConfig.isEmpty())
        qputenv("XDG_CONFIG_HOME", userConfig);
    QCOMPARE(withoutDocuments, m_dir->path());
    QCOMPARE(withDocuments, m_dir->filePath(QStringLiteral("Documents")));
}

// The keyboard alone, as a user without a mouse: type a surname, pick the sex, start a run, open
// a name, keep it. Every key goes to the widget that has the focus, as a real key would.
void TestWindowTools::keyboardOnlyFromSurnameToShortlist()
{
    useFixtureLibrary({"宇", "轩", "涵"}, 5);
    const auto press = [](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    };
    // The keyboard starts in 姓.
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit("编辑框_姓")));
    press(Qt::Key_A, Qt::ControlModifier);
    // A Chinese character arrives as a key event with its text, as an input method sends it.
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                        QStringLiteral("王"), Qt::NoModifier);
    QCOMPARE(edit("编辑框_姓")->text(), QStringLiteral("王"));
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(find<QComboBox>("组合框_性别")));
    press(Qt::Key_Down);
    QCOMPARE(find<QComboBox>("组合框_性别")->currentText(), QStringLiteral("女"));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    press(Qt::Key_Return); // starts the run, which ends with the fixture library's few names
    QVERIFY(!listed("超级列表框1").isEmpty());
    // The status bar counts the run's names: drawn, listed, kept as candidates.
    const QRegularExpressionMatch counts =
        QRegularExpression(
            QStringLiteral("^取名结束：已抽 (\\d+) 次，列出 (\\d+) 个名字，(\\d+) 个进入候选$"))
            .match(find<QLabel>("标签_取名进度")->text());
    QVERIFY2(counts.hasMatch(), qPrintable(find<QLabel>("标签_取名进度")->text()));
    QCOMPARE(counts.captured(2).toInt(), listed("超级列表框1").size());
    QCOMPARE(counts.captured(3).toInt(), listed("列表框1").size());
    QVERIFY(counts.captured(1).toInt() >= counts.captured(2).toInt());
    // 查找 (Ctrl+F), then Down: the first generated name; Enter opens its analysis.
    press(Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit("编辑框_查找")));
    press(Qt::Key_Down);
    auto* generated = find<QListWidget>("超级列表框1");
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(generated));
    const QString name = generated->currentItem()->text().section(QLatin1Char('['), 0, 0);
    QVERIFY(name.startsWith(QStringLiteral("王")));
    press(Qt::Key_Return);
    QCOMPARE(currentPage(), 1);
    QVERIFY(find<QTextEdit>("超级编辑框1")->toPlainText().contains(name));
    // Ctrl+D keeps the name of the report, with the sex it was drawn for.
    press(Qt::Key_D, Qt::ControlModifier);
    auto* page = find<hmf::ui::ShortlistPage>("选择夹1页5");
    QCOMPARE(page->shortlist().entries().size(), 1);
    QCOMPARE(page->shortlist().entries().first().fullName(), name);
    QCOMPARE(page->shortlist().entries().first().sex, QStringLiteral("女"));
}

void TestWindowTools::textSizeFromTheMenu()
{
    const double desktop = QApplication::font().pointSizeF();
    const auto press = [this](int key) {
        QTest::keyClick(m_window.get(), Qt::Key(key), Qt::ControlModifier);
    };
    // Ctrl+= larger, Ctrl+- smaller, Ctrl+0 back, from 90% to 200% of the desktop's size.
    const struct
    {
        int key;
        int times;
        int percent;
    } steps[] = {{Qt::Key_Equal, 2, 120},
                 {Qt::Key_Minus, 1, 110},
                 {Qt::Key_Equal, 20, 200},
                 {Qt::Key_0, 1, 100},
                 {Qt::Key_Minus, 5, 90}};
    for (const auto& step : steps) {
        for (int i = 0; i < step.times; ++i)
            press(step.key);
        QCOMPARE(m_window->textPercent(), step.percent);
        QCOMPARE(QApplication::font().pointSizeF(), desktop * step.percent / 100);
    }
    // At twice the size the window has grown to hold its text, and the shortlist's columns with it.
    press(Qt::Key_0);
    const int meaningWidth = shortlistTable()->columnWidth(3);
    m_window->setTextPercent(200);
    QTRY_VERIFY(m_window->width() > 769 && m_window->height() > 648);
    QVERIFY(shortlistTable()->columnWidth(3) > meaningWidth * 3 / 2);
    // The size is kept for the next start.
    const QString file = m_dir->filePath(QStringLiteral("settings.ini"));
    {
        QSettings settings(file, QSettings::IniFormat);
        m_window->saveSettings(settings);
    }
    m_window->setTextPercent(100);
    m_window.reset();
    makeWindow();
    m_window->restoreSettings(QSettings(file, QSettings::IniFormat));
    QCOMPARE(m_window->textPercent(), 200);
    m_window->setTextPercent(100);
    QCOMPARE(QApplication::font().pointSizeF(), desktop);
}

void TestWindowTools::escapeStopsRun()
{
    m_window->setSeedOverride(42);
    find<QCheckBox>("选择框_略去")->setChecked(false);
    bool sawRunning = false;
    // The first pending event inside the run is this Esc.
    QTimer::singleShot(0, this, [&] {
        sawRunning = m_window->generationRunning();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    edit("编辑框_姓")->setFocus();
    QTest::keyClick(edit("编辑框_姓"), Qt::Key_Return);
    QVERIFY(sawRunning);
    QVERIFY(!m_window->generationRunning());
    QVERIFY2(listed("超级列表框1").size() < 100, "the run went on after Esc");
}

void TestWindowTools::findInTheLists()
{
    auto* generated = find<QListWidget>("超级列表框1");
    auto* candidates = find<QListWidget>("列表框1");
    generated->addItems({QStringLiteral("林子涵[88分]"), QStringLiteral("林浩然[90分]"),
                         QStringLiteral("林涵宇[80分]")});
    candidates->addItems({QStringLiteral("林浩然[90分]"), QStringLiteral("林涵宇[80分]")});
    const auto shown = [](const QListWidget* list) {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i)
            if (!list->item(i)->isHidden())
                rows.append(list->item(i)->text());
        return rows;
    };
    edit("编辑框_查找")->setText(QStringLiteral("涵"));
    QCOMPARE(shown(generated), (QStringList{"林子涵[88分]", "林涵宇[80分]"}));
    QCOMPARE(shown(candidates), (QStringList{"林涵宇[80分]"}));
    edit("编辑框_查找")->clear();
    QCOMPARE(shown(generated).size(), 3);
    QCOMPARE(shown(candidates).size(), 2);
}

void TestWindowTools::helpAboutAndEmptyInput()
{
    // F1 shows the tips and, under them, our help, which covers every part of the program.
    QTest::keyClick(m_window.get(), Qt::Key_F1);
    QCOMPARE(currentPage(), 4);
    const QString help = find<QTextBrowser>("编辑框_帮助")->toPlainText();
    for (const char* topic :
         {"宝宝取名", "姓名评测", "收藏夹", "出处", "农历", "出生地", "品评", "81数理表", "三才表",
          "汉字五行", "星座查询", "生辰八字", "字号", "寓意", "Ctrl+F", "Esc"})
        QVERIFY2(help.contains(QString::fromUtf8(topic)), topic);

    // 关于: the version, the data sources with their licences, and Qt.
    QString about;
    withModalWindow(
        [this] {
            QAction* action = nullptr;
            for (QAction* a : m_window->findChildren<QAction*>())
                if (a->text().startsWith(QStringLiteral("关于慧名坊")))
                    action = a;
            QVERIFY(action);
            action->trigger();
        },
        [&about](QDialog* dialog) {
            for (QLabel* label : dialog->findChildren<QLabel*>())
                about += label->text();
        });
    for (const char* part : {"31.0", "Unihan", "OpenCC", "MIT", "Apache-2.0", "Qt"})
        QVERIFY2(about.contains(QString::fromUtf8(part)), part);

    // An empty surname or given name on 姓名评测 is named in the status bar.
    QApplication::setActiveWindow(m_window.get()); // back from the box, as a click would
    QTest::keyClick(m_window.get(), Qt::Key_2, Qt::ControlModifier);
    edit("编辑框_性2")->clear();
    QTest::keyClick(edit("编辑框_性2"), Qt::Key_Return);
    QCOMPARE(m_window->statusBar()->currentMessage(), QStringLiteral("请填写姓氏"));
    edit("编辑框_性2")->setText(QStringLiteral("王"));
    QTest::keyClick(edit("编辑框_性2"), Qt::Key_Return);
    QCOMPARE(m_window->statusBar()->currentMessage(), QStringLiteral("请填写名字"));
    QVERIFY(m_messages.isEmpty());

    // Ctrl+Q closes the window.
    QTest::keyClick(m_window.get(), Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(!m_window->isVisible());
}

QTEST_MAIN(TestWindowTools)
#include "test_windowtools.moc"
