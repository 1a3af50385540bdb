#include "ui/shortlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    o[QStringLiteral("note")] = e.note;
    o[QStringLiteral("added")] = e.added.toString(Qt::ISODate);
    return o;
}

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
        return true;
    };
    if (!text("surname", e.surname) || !text("givenName", e.givenName) || !text("sex", e.sex) ||
        !text("score", e.scoreText) || !text("assessmentNotes", e.assessmentNotes) ||
        !text("source", e.source) || !text("note", e.note))
        return std::nullopt;
    if (e.surname.isEmpty() || e.givenName.isEmpty())
        return std::nullopt;
    const QJsonValue birth = o.value(QStringLiteral("birth"));
    if (!birth.isUndefined()) {
        const QJsonArray parts = birth.toArray();
        if (!birth.isArray() || parts.size() != 4)
            return std::nullopt;
        for (const QJsonValue& part : parts)
            if (!part.isDouble())
                return std::nullopt;
        e.year = parts[0].toInt();
        e.month = parts[1].toInt();
        e.day = parts[2].toInt();
        e.hour = parts[3].toInt();
    }
    const QJsonValue assessment = o.value(QStringLiteral("assessment"));
    if (!assessment.isUndefined()) {
        if (!assessment.isDouble())
            return std::nullopt;
        e.assessment = assessment.toInt();
    }
    e.added = QDateTime::fromString(o.value(QStringLiteral("added")).toString(), Qt::ISODate);
    return e;
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
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("shortlist.json"));
}

QString Shortlist::load()
{
    m_entries.clear();
    m_canSave = true;
    QFile file(m_file);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        m_canSave = false;
        return QStringLiteral("收藏夹文件无法读取：%1\n本次收藏不会保存，原文件保持不变。")
            .arg(QDir::toNativeSeparators(m_file));
    }
    const QByteArray data = file.readAll();
    file.close();

    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &parseError);
    bool sound = parseError.error == QJsonParseError::NoError && doc.isObject() &&
                 doc.object().value(QStringLiteral("version")).toInt() == kFormatVersion &&
                 doc.object().value(QStringLiteral("names")).isArray();
    QList<ShortlistEntry> entries;
    if (sound) {
        for (const QJsonValue& value : doc.object().value(QStringLiteral("names")).toArray()) {
            const auto entry = fromJson(value);
            if (!entry) {
                sound = false;
                break;
            }
            entries.append(*entry);
        }
    }
    if (sound) {
        m_entries = entries;
        return {};
    }

    // Kept aside under a new name, so the next save cannot overwrite what the user may still
    // want to recover.
    const QString aside = m_file + QStringLiteral(".damaged-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(m_file, aside)) {
        m_canSave = false;
        return QStringLiteral(
                   "收藏夹文件已损坏，也无法移开：%1\n本次收藏不会保存，原文件保持不变。")
            .arg(QDir::toNativeSeparators(m_file));
    }
    return QStringLiteral("收藏夹文件已损坏，已另存为：%1\n收藏夹从空开始。")
        .arg(QDir::toNativeSeparators(aside));
}

bool Shortlist::save(QString* error)
{
    if (!m_canSave) {
        if (error)
            *error =
                QStringLiteral("收藏夹文件有误，未保存：%1").arg(QDir::toNativeSeparators(m_file));
        return false;
    }
    QJsonArray names;
    for (const ShortlistEntry& entry : m_entries)
        names.append(toJson(entry));
    QJsonObject root;
    root[QStringLiteral("version")] = kFormatVersion;
    root[QStringLiteral("names")] = names;
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    return writeWhole(m_file, QJsonDocument(root).toJson(QJsonDocument::Indented), error);
}

bool Shortlist::add(const ShortlistEntry& entry)
{
    if (indexOf(entry.fullName()) >= 0)
        return false;
    m_entries.append(entry);
    if (!m_entries.last().added.isValid())
        m_entries.last().added = QDateTime::currentDateTime();
    return true;
}

void Shortlist::remove(int index)
{
    if (index >= 0 && index < m_entries.size())
        m_entries.removeAt(index);
}

void Shortlist::setNote(int index, const QString& note)
{
    if (index >= 0 && index < m_entries.size())
        m_entries[index].note = note;
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
