// The shortlist file (收藏夹): shared by several running copies without losing a name, and read
// without trusting it: only a regular file of bounded size, every field of every name checked.

#include "ui/shortlist.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using hmf::ui::Shortlist;
using hmf::ui::ShortlistEntry;

namespace {

QStringList namesIn(const QString& file)
{
    Shortlist shortlist(file);
    if (!shortlist.load().isEmpty())
        return {QStringLiteral("(unreadable)")};
    QStringList names;
    for (const ShortlistEntry& e : shortlist.entries())
        names.append(e.fullName());
    return names;
}

QByteArray listWith(const QJsonObject& name)
{
    QJsonObject sound{{QStringLiteral("surname"), QStringLiteral("林")},
                      {QStringLiteral("givenName"), QStringLiteral("子涵")},
                      {QStringLiteral("sex"), QStringLiteral("女")},
                      {QStringLiteral("birth"), QJsonArray{2019, 5, 5, 5}},
                      {QStringLiteral("score"), QStringLiteral("88分")},
                      {QStringLiteral("assessment"), 76},
                      {QStringLiteral("note"), QStringLiteral("奶奶喜欢\n好写")},
                      {QStringLiteral("added"), QStringLiteral("2026-12-01T10:00:00")}};
    for (auto it = name.begin(); it != name.end(); ++it)
        sound[it.key()] = it.value();
    return QJsonDocument(QJsonObject{{QStringLiteral("version"), 1},
                                     {QStringLiteral("names"), QJsonArray{sound}}})
        .toJson();
}

} // namespace

class TestShortlistFile : public QObject
{
    Q_OBJECT

  private slots:
    void twoRunningCopiesLoseNothing();
    void unusableFilesAreKeptAside_data();
    void unusableFilesAreKeptAside();
    void aListTooLargeToReadIsNotWritten();
};

void TestShortlistFile::twoRunningCopiesLoseNothing()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("shortlist.json"));
    {
        Shortlist before(file);
        ShortlistEntry kept;
        kept.surname = QStringLiteral("赵");
        kept.givenName = QStringLiteral("甲");
        before.add(kept);
        QString error;
        QVERIFY2(before.save(&error), qPrintable(error));
    }
    // Both copies start with 赵甲 in their list; the first removes it half way, while the second
    // goes on saving its own list.
    const QString keeper =
        QCoreApplication::applicationDirPath() + QStringLiteral("/shortlist_keeper");
    QProcess first;
    QProcess second;
    first.start(keeper, {file, QStringLiteral("林"), QStringLiteral("40"), QStringLiteral("赵甲")});
    second.start(keeper, {file, QStringLiteral("王"), QStringLiteral("40")});
    for (QProcess* p : {&first, &second}) {
        QVERIFY(p->waitForFinished(60000));
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                 p->readAllStandardError().constData());
    }
    const QStringList names = namesIn(file);
    QCOMPARE(names.size(), 80);
    QCOMPARE(names.filter(QStringLiteral("林")).size(), 40);
    QCOMPARE(names.filter(QStringLiteral("王")).size(), 40);
    QVERIFY(!names.contains(QStringLiteral("赵甲")));
    QVERIFY(!QFile::exists(file + QStringLiteral(".lock")));
}

void TestShortlistFile::unusableFilesAreKeptAside_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason"); // empty: the file is sound
    const QString damaged = QStringLiteral("已损坏");
    QTest::newRow("sound") << "file" << listWith({}) << QString();
    QTest::newRow("link to /dev/zero") << "zero" << QByteArray() << QStringLiteral("不是普通文件");
    QTest::newRow("FIFO") << "fifo" << QByteArray() << QStringLiteral("不是普通文件");
    QTest::newRow("directory") << "dir" << QByteArray() << QStringLiteral("不是普通文件");
    QTest::newRow("over 4 MB") << "file"
                               << listWith({{QStringLiteral("note"),
                                             QString(3 * 1024 * 1024, QChar(0x597D))}})
                               << QStringLiteral("过大");
    const struct
    {
        const char* name;
        const char* key;
        QJsonValue value;
    } fields[] = {
        {"name is markup", "givenName", QStringLiteral("<img src='/dev/zero'>")},
        {"name of Latin letters", "givenName", QStringLiteral("Zihan")},
        {"given name of four", "givenName", QStringLiteral("子涵子涵")},
        {"surname of three", "surname", QStringLiteral("欧阳林")},
        {"sex", "sex", QStringLiteral("<b>男</b>")},
        {"score is markup", "score", QStringLiteral("<a href='file:///etc/passwd'>88</a>")},
        {"score is a number", "score", 88},
        {"30 February", "birth", QJsonArray{2019, 2, 30, 5}},
        {"hour 24", "birth", QJsonArray{2019, 5, 5, 24}},
        {"assessment 101", "assessment", 101},
        {"assessment 5.5", "assessment", 5.5},
        {"control character in a note", "note", QStringLiteral("好\x1b[31m记")},
        {"added is no date", "added", QStringLiteral("昨天")},
    };
    for (const auto& f : fields)
        QTest::newRow(f.name) << "file" << listWith({{QLatin1String(f.key), f.value}}) << damaged;
}

void TestShortlistFile::unusableFilesAreKeptAside()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("shortlist.json"));
    if (kind == QLatin1String("zero")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    } else if (kind == QLatin1String("dir")) {
        QVERIFY(QDir().mkdir(file));
    } else {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }

    Shortlist shortlist(file);
    const QString message = shortlist.load();
    if (reason.isEmpty()) {
        QCOMPARE(message, QString());
        QCOMPARE(shortlist.entries().size(), 1);
        QCOMPARE(shortlist.entries()[0].note, QStringLiteral("奶奶喜欢\n好写"));
        return;
    }
    // Named with what is wrong and where it went; the list starts empty and saves again.
    QVERIFY2(message.contains(reason) && message.contains(QStringLiteral("已另存为")),
             qPrintable(message));
    QVERIFY(shortlist.entries().isEmpty());
    const QStringList aside = QDir(dir.path())
                                  .entryList({QStringLiteral("shortlist.json.damaged-*")},
                                             QDir::AllEntries | QDir::System);
    QCOMPARE(aside.size(), 1);
    QVERIFY(message.contains(aside[0]));
    ShortlistEntry entry;
    entry.surname = QStringLiteral("林");
    entry.givenName = QStringLiteral("一诺");
    shortlist.add(entry);
    QString error;
    QVERIFY2(shortlist.save(&error), qPrintable(error));
    QCOMPARE(namesIn(file), QStringList{QStringLiteral("林一诺")});
}

void TestShortlistFile::aListTooLargeToReadIsNotWritten()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("shortlist.json"));
    Shortlist shortlist(file);
    ShortlistEntry entry;
    entry.surname = QStringLiteral("林");
    entry.givenName = QStringLiteral("子涵");
    shortlist.add(entry);
    QString error;
    QVERIFY(shortlist.save(&error));
    shortlist.setNote(0, QString(2 * 1024 * 1024, QChar(0x597D)));
    QVERIFY(!shortlist.save(&error));
    QVERIFY2(error.contains(QStringLiteral("收藏夹已满")), qPrintable(error));
    // The file keeps the list of before; the note is still there to be shortened.
    QCOMPARE(namesIn(file), QStringList{QStringLiteral("林子涵")});
    QCOMPARE(shortlist.entries()[0].note.size(), 2 * 1024 * 1024);
}

QTEST_GUILESS_MAIN(TestShortlistFile)
#include "test_shortlistfile.moc"
