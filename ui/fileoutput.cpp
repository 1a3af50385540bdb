#include "ui/fileoutput.h"

#include "ui/messagebox.h"
#include "ui/shortlist.h"

#include <QDir>
#include <QFileDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextDocument>

#include <memory>

namespace hmf::ui {

FileChooser::Hook& FileChooser::hook()
{
    static Hook installed;
    return installed;
}

void FileChooser::setHook(Hook hook)
{
    FileChooser::hook() = std::move(hook);
}

QString FileChooser::saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                  const QString& filter)
{
    if (hook())
        return hook()(caption, suggested);
    const QString start = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                              .filePath(suggested);
    return QFileDialog::getSaveFileName(parent, caption, start, filter);
}

bool writePdf(const QTextDocument& document, const QString& file, QString* error)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("无法写入文件：%1\n%2")
                         .arg(QDir::toNativeSeparators(file), out.errorString());
        return false;
    }
    {
        QPdfWriter writer(&out);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("慧名坊"));
        std::unique_ptr<QTextDocument> copy(document.clone());
        copy->print(&writer);
    }
    if (!out.commit()) {
        if (error)
            *error = QStringLiteral("无法写入文件：%1\n%2")
                         .arg(QDir::toNativeSeparators(file), out.errorString());
        return false;
    }
    return true;
}

void printDocument(QWidget* parent, const QTextDocument& document)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document.metaInformation(QTextDocument::DocumentTitle));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->print(&printer);
}

void exportPdf(QWidget* parent, const QTextDocument& document, const QString& suggestedName)
{
    const QString file = FileChooser::saveFileName(parent, QStringLiteral("导出PDF"), suggestedName,
                                                   QStringLiteral("PDF 文件 (*.pdf)"));
    if (file.isEmpty())
        return;
    QString error;
    if (!writePdf(document, file, &error))
        MessageBox::show(parent, error, MessageBox::Icon::Warning);
}

void exportCsv(QWidget* parent, const QByteArray& data, const QString& suggestedName)
{
    const QString file = FileChooser::saveFileName(parent, QStringLiteral("导出CSV"), suggestedName,
                                                   QStringLiteral("CSV 文件 (*.csv)"));
    if (file.isEmpty())
        return;
    QString error;
    if (!writeWhole(file, data, &error))
        MessageBox::show(parent, error, MessageBox::Icon::Warning);
}

} // namespace hmf::ui
