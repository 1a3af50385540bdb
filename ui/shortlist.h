#pragma once
// 收藏夹: the names a parent keeps, each with its score, assessment, verse source and a note.
// The list lives in one JSON file in the user's data directory, written whole through a
// temporary file so that a crash never leaves half a list, and merged under a lock with what
// other running copies wrote. A file that cannot be read is moved aside (never overwritten) and
// the user is told where it went; every field of every name is checked as it is read.

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace hmf::ui {

struct ShortlistEntry
{
    QString surname;
    QString givenName;
    QString sex;
    // The birth date and hour the score belongs to; year 0 when none was given.
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    QString scoreText;             // the product's score as listed, e.g. "88分"
    std::optional<int> assessment; // the 名字品评 figure 0-100, once computed
    QString assessmentNotes;       // its reasons, one per line
    QString source;                // where the characters stand in verse, once known
    QString meaning;               // 寓意 of a name of the name base; empty for another name
    QString meaningSource;         // the classic line or idiom the 寓意 comes from, if any
    QString note;                  // the parent's own words
    QDateTime added;

    QString fullName() const { return surname + givenName; }
    QString birthText() const;
};

class Shortlist
{
  public:
    explicit Shortlist(QString file);

    // The file used when the program runs for a user: shortlist.json in the application's data
    // directory.
    static QString defaultFile();
    // The largest file read or written; a larger one is kept aside like a damaged one.
    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

    // Reads the file. A missing file is an empty list. Gives a message for the user when the
    // file was damaged, too large or not a regular file (it is then renamed, and the message
    // names the new name) or could not be read or moved (then the list refuses to save, so the
    // file stays as it is).
    QString load();

    // Writes the list. Several running copies of the program may share the file: under a lock,
    // the file is read again and this copy's own additions, removals and notes since its last
    // save are applied to what it holds now, so that no copy loses what another kept or
    // removed. On failure gives false and a message for the user; the changes stay pending and
    // go with the next save.
    bool save(QString* error);

    const QList<ShortlistEntry>& entries() const { return m_entries; }
    const QString& file() const { return m_file; }
    bool canSave() const { return m_canSave; }

    // Adds a name at the end, or at `position` when one is given; a name already kept is not
    // added twice (false).
    bool add(const ShortlistEntry& entry, int position = -1);
    void remove(int index);
    void setNote(int index, const QString& note);
    int indexOf(const QString& fullName) const;

  private:
    // One change made in this copy since its last save, as it will be applied to the file.
    struct Change
    {
        enum Kind { Add, Remove, Note } kind;
        ShortlistEntry entry; // Add: the whole entry; otherwise its name and, for Note, the note
        int position = -1;    // Add: where it stood in this copy
    };
    static void apply(const Change& change, QList<ShortlistEntry>& entries);

    QString m_file;
    QList<ShortlistEntry> m_entries;
    QList<Change> m_pending;
    bool m_canSave = true;
};

// A CSV document of `rows` (the first row is the header) as spreadsheets read it: UTF-8 with a
// byte-order mark, fields quoted where they hold a comma, a quote or a line break, CRLF line ends;
// a field that a spreadsheet would take for a formula begins with an apostrophe.
QByteArray csvDocument(const QList<QStringList>& rows);

// Writes `data` to `file` through a temporary file; on failure gives false and a message.
bool writeWhole(const QString& file, const QByteArray& data, QString* error);

} // namespace hmf::ui
