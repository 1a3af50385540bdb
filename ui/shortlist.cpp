#include "ui/shortlist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace hmf::ui {
namespace {

constexpr int kFormatVersion = 1;

QJsonObject toJson(const ShortlistEntry& e)
{
    QJsonObject o;
    o[QStringLiteral("surname")] = e.surname;
    o[QStringLiteral("givenName")] = e.givenName;
    o[QStringLiteral("sex")] = e.sex;
    if (e.year != 0) {
        o[QStringLiteral("birth")] = QJsonArray{e.year, e.month, e.day, e.hour};
    }
    o[QStringLiteral("score")] = e.scoreText;
    if (e.assessment)
        o[QStringLiteral("assessment")] = *e.assessment;
    o[QStringLiteral("assessmentNotes")] = e.assessmentNotes;
    o[QStringLiteral("source")] = e.source;
    o[QStringLiteral("meaning")] = e.meaning;
    o[QStringLiteral("meaningSource")] = e.meaningSource;
    o[QStringLiteral("note")] = e.note;
    o[QStringLiteral("added")] = e.added.toString(Qt::ISODate);
    return o;
}

// Texts read from the file hold no control characters but line breaks and tabs.
bool plainText(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\t'))
            return false;
    return true;
}

// `min` to `max` Han characters and nothing else.
bool hanCharacters(const QString& text, int min, int max)
{
    const QList<uint> codes = text.toUcs4();
    if (codes.size() < min || codes.size() > max)
        return false;
    for (const uint code : codes)
        if (QChar::script(code) != QChar::Script_Han)
            return false;
    return true;
}

bool wholeNumber(const QJsonValue& value, int min, int max, int& out)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    if (d != double(qint64(d)) || d < min || d > max)
        return false;
    out = int(d);
    return true;
}

// One kept name, every field checked: a surname of one or two Han characters, a given name of
// one to three, a sex of 男 or 女, a real birth date and hour, a score such as "88分", an
// assessment of 0 to 100; unknown fields are left alone.
std::optional<ShortlistEntry> fromJson(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject o = value.toObject();
    ShortlistEntry e;
    const auto text = [&o](const char* key, QString& out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return true;
        if (!v.isString())
            return false;
        out = v.toString();
        return plainText(out);
    };
    QString added;
    if (!text("surname", e.surname) || !text("givenName", e.givenName) || !text("sex", e.sex) ||
        !text("score", e.scoreText) || !text("assessmentNotes", e.assessmentNotes) ||
        !text("source", e.source) || !text("meaning", e.meaning) ||
        !text("meaningSource", e.meaningSource) || !text("note", e.note) || !text("added", added))
        return std::nullopt;
    if (!hanCharacters(e.surname, 1, 2) || !hanCharacters(e.givenName, 1, 3))
        return std::nullopt;
    if (!e.sex.isEmpty() && e.sex != QStringLiteral("男") && e.sex != QStringLiteral("女"))
        return std::nullopt;
    static const QRegularExpression score(QStringLiteral("^-?\\d{1,3}分?$"));
    if (!e.scoreText.isEmpty() && !score.match(e.scoreText).hasMatch())
        return std::nullopt;
    const QJsonValue birth = o.value(QStringLiteral("birth"));
    if (!birth.isUndefined()) {
        const QJsonArray parts = birth.toArray();
        if (!birth.isArray() || parts.size() != 4 || !wholeNumber(parts[0], 1, 9999, e.year) ||
            !wholeNumber(parts[1], 1, 12, e.month) || !wholeNumber(parts[2], 1, 31, e.day) ||
            !wholeNumber(parts[3], 0, 23, e.hour) || !QDate(e.year, e.month, e.day).isValid())
            return std::nullopt;
    }
    const QJsonValue assessment = o.value(QStringLiteral("assessment"));
    if (!assessment.isUndefined()) {
        int figure = 0;
        if (!wholeNumber(assessment, 0, 100, figure))
            return std::nullopt;
        e.assessment = figure;
    }
    if (!added.isEmpty()) {
        e.added = QDateTime::fromString(added, Qt::ISODate);
        if (!e.added.isValid())
            return std::nullopt;
    }
    return e;
}

enum class FileState { Missing, Sound, Damaged, NotRegular, TooLarge, Unreadable };

struct FileContent
{
    FileState state = FileState::Missing;
    QList<ShortlistEntry> entries;
};

// Reads the list without trusting the file: only a regular file of at most kMaxFileSize bytes is
// opened (a link to /dev/zero or a FIFO would never end), and no more than that is read.
FileContent readFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (!info.isFile())
        return {FileState::NotRegular, {}};
    if (info.size() > Shortlist::kMaxFileSize)
        return {FileState::TooLarge, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {FileState::Unreadable, {}};
    const QByteArray data = file.read(Shortlist::kMaxFileSize + 1);
    if (data.size() > Shortlist::kMaxFileSize)
        return {FileState::TooLarge, {}};

    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject() ||
        doc.object().value(QStringLiteral("version")).toInt() != kFormatVersion ||
        !doc.object().value(QStringLiteral("names")).isArray())
        return {FileState::Damaged, {}};
    FileContent content{FileState::Sound, {}};
    for (const QJsonValue& value : doc.object().value(QStringLiteral("names")).toArray()) {
        const auto entry = fromJson(value);
        if (!entry)
            return {FileState::Damaged, {}};
        content.entries.append(*entry);
    }
    return content;
}

QString whatIsWrong(FileState state)
{
    switch (state) {
    case FileState::NotRegular:
        return QStringLiteral("不是普通文件");
    case FileState::TooLarge:
        return QStringLiteral("过大（超过 %1 MB）").arg(Shortlist::kMaxFileSize / (1024 * 1024));
    default:
        return QStringLiteral("已损坏");
    }
}

// Keeps a file that cannot be read as a list out of the way of the next save, so that it cannot
// overwrite what the user may still want to recover; gives the name it is kept under, or empty
// when that failed. A copy leaves the file in place until a save replaces it; what is no regular
// file is renamed (there is nothing to copy from a FIFO or a device).
QString keepAside(const QString& path, FileState state, bool copy)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo(aside).exists() || QFileInfo(aside).isSymLink(); ++n)
        aside = path + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    const bool kept = copy && state != FileState::NotRegular ? QFile::copy(path, aside)
                                                             : QFile::rename(path, aside);
    return kept ? aside : QString();
}

QString keptAsideMessage(const QString& path, FileState state, const QString& aside)
{
    if (aside.isEmpty())
        return QStringLiteral("收藏夹文件%1，也无法移开：%2\n本次收藏不会保存，原文件保持不变。")
            .arg(whatIsWrong(state), QDir::toNativeSeparators(path));
    return QStringLiteral("收藏夹文件%1，已另存为：%2\n收藏夹从空开始。")
        .arg(whatIsWrong(state), QDir::toNativeSeparators(aside));
}

} // namespace

QString ShortlistEntry::birthText() const
{
    if (year == 0)
        return {};
    return QStringLiteral("%1年%2月%3日%4时").arg(year).arg(month).arg(day).arg(hour);
}

Shortlist::Shortlist(QString file) : m_file(std::move(file)) {}

QString Shortlist::defaultFile()
{
    // Named without the organisation, so the file stays where earlier versions kept it.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QCoreApplication::applicationName() + QStringLiteral("/shortlist.json"));
}

QString Shortlist::load()
{
    m_entries.clear();
    m_pending.clear();
    m_canSave = true;
    FileContent content = readFile(m_file);
    switch (content.state) {
    case FileState::Missing:
        return {};
    case FileState::Sound:
        m_entries = std::move(content.entries);
        return {};
    case FileState::Unreadable:
        m_canSave = false;
        return QStringLiteral("收藏夹文件无法读取：%1\n本次收藏不会保存，原文件保持不变。")
            .arg(QDir::toNativeSeparators(m_file));
    default: {
        const QString aside = keepAside(m_file, content.state, false);
        m_canSave = !aside.isEmpty();
        return keptAsideMessage(m_file, content.state, aside);
    }
    }
}

void Shortlist::apply(const Change& change, QList<ShortlistEntry>& entries)
{
    const QString name = change.entry.fullName();
    const auto at = [&] {
        for (int i = 0; i < entries.size(); ++i)
            if (entries[i].fullName() == name)
                return i;
        return -1;
    };
    switch (change.kind) {
    case Change::Add:
        if (at() < 0) {
            const int position = change.position < 0
                                     ? int(entries.size())
                                     : std::min(change.position, int(entries.size()));
            entries.insert(position, change.entry);
        }
        break;
    case Change::Remove:
        for (int i = at(); i >= 0; i = at())
            entries.removeAt(i);
        break;
    case Change::Note:
        if (const int i = at(); i >= 0)
            entries[i].note = change.entry.note;
        break;
    }
}

bool Shortlist::save(QString* error)
{
    const auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!m_canSave)
        return fail(
            QStringLiteral("收藏夹文件有误，未保存：%1").arg(QDir::toNativeSeparators(m_file)));
    QDir().mkpath(QFileInfo(m_file).absolutePath());

    // Other copies of the program read, merge and write the same file one at a time. A lock
    // that cannot even be made (the folder is not writable) leaves the write to say why.
    QLockFile lock(m_file + QStringLiteral(".lock"));
    if (!lock.tryLock(10000) && lock.error() == QLockFile::LockFailedError)
        return fail(QStringLiteral("收藏夹文件正被另一个慧名坊使用，未能保存：%1\n请稍后再试。")
                        .arg(QDir::toNativeSeparators(m_file)));

    // What the file holds now with this copy's changes on top. Without a sound file to merge
    // with, this copy's own list is written, and a file that is in the way is kept aside.
    FileContent current = readFile(m_file);
    QList<ShortlistEntry> merged = m_entries;
    if (current.state == FileState::Sound) {
        merged = std::move(current.entries);
        for (const Change& change : std::as_const(m_pending))
            apply(change, merged);
    } else if (current.state == FileState::Unreadable) {
        return fail(
            QStringLiteral("收藏夹文件无法读取，未保存：%1").arg(QDir::toNativeSeparators(m_file)));
    }
    // A file damaged since it was read is kept (as a copy until the write succeeds).
    QString aside;
    if (current.state != FileState::Missing && current.state != FileState::Sound) {
        aside = keepAside(m_file, current.state, true);
        if (aside.isEmpty())
            return fail(keptAsideMessage(m_file, current.state, aside));
    }
    const auto undoAside = [&] {
        if (aside.isEmpty())
            return;
        if (current.state == FileState::NotRegular)
            QFile::rename(aside, m_file);
        else
            QFile::remove(aside);
    };

    QJsonArray names;
    for (const ShortlistEntry& entry : std::as_const(merged))
        names.append(toJson(entry));
    QJsonObject root;
    root[QStringLiteral("version")] = kFormatVersion;
    root[QStringLiteral("names")] = names;
    const QByteArray data = QJsonDocument(root).toJson(QJsonDocument::Indented);
    // A file the next start would refuse is never written.
    if (data.size() > kMaxFileSize) {
        undoAside();
        return fail(QStringLiteral("收藏夹已满（超过 %1 MB），未保存。请先删去一些名字或备注。")
                        .arg(kMaxFileSize / (1024 * 1024)));
    }
    if (!writeWhole(m_file, data, error)) {
        undoAside();
        return false;
    }
    m_entries = std::move(merged);
    m_pending.clear();
    return true;
}

bool Shortlist::add(const ShortlistEntry& entry, int position)
{
    if (indexOf(entry.fullName()) >= 0)
        return false;
    Change change{Change::Add, entry, position};
    if (!change.entry.added.isValid())
        change.entry.added = QDateTime::currentDateTime();
    apply(change, m_entries);
    m_pending.append(change);
    return true;
}

void Shortlist::remove(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    Change change{Change::Remove, m_entries[index], index};
    apply(change, m_entries);
    m_pending.append(change);
}

void Shortlist::setNote(int index, const QString& note)
{
    if (index < 0 || index >= m_entries.size())
        return;
    Change change{Change::Note, m_entries[index], index};
    change.entry.note = note;
    apply(change, m_entries);
    m_pending.append(change);
}

int Shortlist::indexOf(const QString& fullName) const
{
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].fullName() == fullName)
            return i;
    return -1;
}

QByteArray csvDocument(const QList<QStringList>& rows)
{
    QByteArray out("\xEF\xBB\xBF");
    for (const QStringList& row : rows) {
        QStringList fields;
        for (QString field : row) {
            // A spreadsheet runs a cell that starts like a formula (=HYPERLINK(…), +1+cmd|…, @SUM,
            // or a tab or CR before one); a leading apostrophe keeps it text (the OWASP rule).
            static const QString formulaStarts = QStringLiteral("=+-@\t\r");
            if (!field.isEmpty() && formulaStarts.contains(field.front()))
                field.prepend(QLatin1Char('\''));
            if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))) {
                field.replace(QLatin1String("\""), QLatin1String("\"\""));
                field = QLatin1Char('"') + field + QLatin1Char('"');
            }
            fields.append(field);
        }
        out += fields.join(QLatin1Char(',')).toUtf8();
        out += "\r\n";
    }
    return out;
}

bool writeWhole(const QString& file, const QByteArray& data, QString* error)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size() || !out.commit()) {
        if (error)
            *error = QStringLiteral("无法写入文件：%1\n%2")
                         .arg(QDir::toNativeSeparators(file), out.errorString());
        return false;
    }
    return true;
}

} // namespace hmf::ui
