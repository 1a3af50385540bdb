#pragma once
// Files the user saves (CSV, PDF) and pages sent to the printer. The save dialog goes through
// FileChooser, so tests can name the file instead of answering a dialog.

#include <QByteArray>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QTextDocument;
class QWidget;

namespace hmf::ui {

class FileChooser
{
  public:
    // Asks where to save; empty when the user cancels. With a hook installed, asks the hook.
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                const QString& filter);

    // Where the dialog opens: the user's documents folder, or the home folder without one.
    static QString startDirectory();

    using Hook = std::function<QString(const QString& caption, const QString& suggested)>;
    static void setHook(Hook hook);

  private:
    static Hook& hook();
};

// Lays `document` out on A4 pages and writes them as a PDF file, through a temporary file.
bool writePdf(const QTextDocument& document, const QString& file, QString* error);

// `pdf` as Qt wrote it from `document`, its text layer naming the document's characters: Qt names
// a glyph that a CJK font shares between a radical and an ideograph (⼈ and 人) by the radical.
QByteArray withMeantText(const QByteArray& pdf, const QTextDocument& document);

// Opens the print dialog and prints `document` on the printer the user chooses.
void printDocument(QWidget* parent, const QTextDocument& document);

// Asks for a file and writes the document there as PDF; failures are shown to the user.
void exportPdf(QWidget* parent, const QTextDocument& document, const QString& suggestedName);

// Asks for a file and writes `data` there; failures are shown to the user.
void exportCsv(QWidget* parent, const QByteArray& data, const QString& suggestedName);

} // namespace hmf::ui
