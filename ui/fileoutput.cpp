#include "ui/fileoutput.h"

#include "ui/messagebox.h"
#include "ui/shortlist.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRawFont>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>

#include <memory>

namespace hmf::ui {
namespace {

// What the characters of a PDF's text layer stand for in the document printed. Qt names each
// glyph by the lowest code point the font maps to it; where that code point is not in the
// document, the document's character drawn with the same glyph in one of its fonts is meant
// (⼈ U+2F08 -> 人, ⻓ U+2EC3 -> 长, 〜 U+301C -> ～).
class MeantText
{
  public:
    explicit MeantText(const QTextDocument& document) : m_text(document.toPlainText())
    {
        for (const uint c : m_text.toUcs4())
            m_inText.insert(c);
        QSet<QString> seen;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QFont font = it.fragment().charFormat().font();
                if (!seen.contains(font.key())) {
                    seen.insert(font.key());
                    m_fonts.append(QRawFont::fromFont(font));
                }
            }
        if (m_fonts.isEmpty())
            m_fonts.append(QRawFont::fromFont(document.defaultFont()));
    }

    // `named` is the set of characters a map names; a character of the document that it lacks
    // is one a glyph may have been misnamed for.
    char32_t meant(char32_t c, const QSet<uint>& named) const
    {
        if (m_inText.contains(c))
            return c;
        for (const QRawFont& font : m_fonts) {
            const quint32 glyph = glyphOf(font, c);
            if (glyph == 0)
                continue;
            for (const uint x : m_inText)
                if (!named.contains(x) && glyphOf(font, x) == glyph)
                    return x;
        }
        return c;
    }

  private:
    static quint32 glyphOf(const QRawFont& font, char32_t c)
    {
        const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&c, 1));
        return glyphs.size() == 1 ? glyphs[0] : 0;
    }

    QString m_text;
    QSet<uint> m_inText;
    QList<QRawFont> m_fonts;
};

// A ToUnicode map (glyph code -> UTF-16 hex) with every value read as `text` means it, written
// again as plain glyph-by-glyph entries; empty when the map is not of the usual shape.
QByteArray meantToUnicodeMap(const QByteArray& cmap, const MeantText& text)
{
    const qsizetype first = cmap.indexOf("beginbf");
    const qsizetype endCmap = cmap.indexOf("endcmap");
    if (first < 0 || endCmap < first)
        return {};
    // The count that opens the first block stands on its line before it.
    const qsizetype headEnd = cmap.lastIndexOf('\n', first) + 1;
    std::vector<std::pair<QByteArray, QString>> entries;
    const auto utf16 = [](const QByteArray& hex) {
        QString s;
        for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
            s.append(QChar(char16_t(hex.mid(i, 4).toUShort(nullptr, 16))));
        return s;
    };
    const QRegularExpression block(QStringLiteral("begin(bfchar|bfrange)(.*?)end\\1"),
                                   QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]*)>|\\[|\\]"));
    const QString body = QString::fromLatin1(cmap.mid(headEnd, endCmap - headEnd));
    for (auto b = block.globalMatch(body); b.hasNext();) {
        const auto m = b.next();
        QList<QByteArray> tokens;
        for (auto t = hex.globalMatch(m.captured(2)); t.hasNext();) {
            const auto token = t.next();
            tokens.append(token.captured(1).isNull() ? token.captured(0).toLatin1()
                                                     : token.captured(1).toLatin1());
        }
        if (m.captured(1) == QLatin1String("bfchar")) {
            for (qsizetype i = 0; i + 1 < tokens.size(); i += 2)
                entries.emplace_back(tokens[i], utf16(tokens[i + 1]));
            continue;
        }
        for (qsizetype i = 0; i + 2 < tokens.size();) {
            const QByteArray& low = tokens[i];
            const uint from = low.toUInt(nullptr, 16);
            const uint to = tokens[i + 1].toUInt(nullptr, 16);
            const auto code = [&](uint g) {
                return QByteArray::number(g, 16).rightJustified(low.size(), '0').toUpper();
            };
            if (tokens[i + 2] == "[") {
                qsizetype j = i + 3;
                for (uint g = from; j < tokens.size() && tokens[j] != "]"; ++g, ++j)
                    entries.emplace_back(code(g), utf16(tokens[j]));
                i = j + 1;
            } else {
                // Consecutive values from the first: its last UTF-16 unit counts up.
                QString value = utf16(tokens[i + 2]);
                for (uint g = from; g <= to && !value.isEmpty(); ++g) {
                    entries.emplace_back(code(g), value);
                    value.back() = QChar(char16_t(value.back().unicode() + 1));
                }
                i += 3;
            }
        }
    }
    if (entries.empty())
        return {};

    QSet<uint> named;
    for (const auto& entry : entries)
        for (const uint c : entry.second.toUcs4())
            named.insert(c);
    QByteArray out = cmap.left(headEnd);
    for (std::size_t i = 0; i < entries.size(); i += 100) {
        const std::size_t n = std::min<std::size_t>(100, entries.size() - i);
        out += QByteArray::number(qulonglong(n)) + " beginbfchar\n";
        for (std::size_t k = i; k < i + n; ++k) {
            QString meant;
            for (const char32_t c : entries[k].second.toUcs4()) {
                const char32_t m = text.meant(c, named);
                meant += QString::fromUcs4(&m, 1);
            }
            out += '<' + entries[k].first + "> <";
            for (const QChar unit : meant)
                out += QByteArray::number(unit.unicode(), 16).rightJustified(4, '0').toUpper();
            out += ">\n";
        }
        out += "endbfchar\n";
    }
    out += cmap.mid(endCmap);
    return out;
}

} // namespace

// Qt's PDF writer gives each glyph the lowest code point that the font maps to it, and CJK fonts
// map a radical and its ideograph (⼈ U+2F08 and 人 U+4EBA) to one glyph: the PDF's text then
// reads ⼈, and searching or copying the document fails. Each ToUnicode map is written again with
// the characters meant, and the file's cross-reference table after it.
QByteArray withMeantText(const QByteArray& pdf, const QTextDocument& document)
{
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    if (startxref < 0)
        return pdf;
    const qsizetype xref =
        pdf.mid(startxref + 9, 24).trimmed().split('\n').value(0).trimmed().toLongLong();
    if (xref <= 0 || xref >= startxref || !pdf.mid(xref).startsWith("xref"))
        return pdf;
    // The table: "xref", "0 N", then N entries of 20 bytes, the first the free head.
    QList<QByteArray> lines = pdf.mid(xref, startxref - xref).split('\n');
    const qsizetype trailer = pdf.indexOf("trailer", xref);
    if (lines.size() < 3 || trailer < 0)
        return pdf;
    const int count = lines[1].split(' ').value(1).toInt();
    if (lines[1].split(' ').value(0) != "0" || count < 2 || lines.size() < count + 2)
        return pdf;
    std::vector<qsizetype> offsets(std::size_t(count), 0);
    for (int n = 1; n < count; ++n) {
        const QByteArray entry = lines[n + 2].trimmed();
        offsets[std::size_t(n)] = entry.endsWith(" n") ? entry.left(10).toLongLong() : 0;
    }
    QList<int> toUnicode;
    const QRegularExpression reference(QStringLiteral("/ToUnicode (\\d+) 0 R"));
    for (auto m = reference.globalMatch(QString::fromLatin1(pdf.left(xref))); m.hasNext();)
        toUnicode.append(m.next().captured(1).toInt());
    if (toUnicode.isEmpty())
        return pdf;
    const MeantText text(document);

    // Each object runs from its offset to the next object's (or to the table).
    std::vector<std::pair<qsizetype, int>> order;
    for (int n = 1; n < count; ++n)
        if (offsets[std::size_t(n)] > 0)
            order.emplace_back(offsets[std::size_t(n)], n);
    std::sort(order.begin(), order.end());
    if (order.empty() || order.back().first >= xref)
        return pdf;
    QByteArray out = pdf.left(order.front().first);
    std::vector<qsizetype> written(std::size_t(count), 0);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto [at, n] = order[i];
        const qsizetype end = i + 1 < order.size() ? order[i + 1].first : xref;
        QByteArray object = pdf.mid(at, end - at);
        if (toUnicode.contains(n)) {
            const qsizetype streamAt = object.indexOf("stream");
            const qsizetype dataAt = object.indexOf('\n', streamAt) + 1;
            const qsizetype dataEnd = object.lastIndexOf("endstream");
            if (streamAt < 0 || dataAt <= 0 || dataEnd < dataAt)
                return pdf;
            QByteArray data = object.mid(dataAt, dataEnd - dataAt);
            if (data.endsWith('\n'))
                data.chop(1);
            if (object.left(streamAt).contains("/FlateDecode")) {
                // qUncompress wants the size first and grows its buffer when it is too small.
                data = qUncompress(QByteArray("\0\0\x10\0", 4) + data);
                if (data.isEmpty())
                    return pdf;
            }
            const QByteArray map = meantToUnicodeMap(data, text);
            if (map.isEmpty())
                return pdf;
            object = QByteArray::number(n) + " 0 obj\n<<\n/Length " +
                     QByteArray::number(map.size()) + "\n>>\nstream\n" + map +
                     "\nendstream\nendobj\n";
        }
        written[std::size_t(n)] = out.size();
        out += object;
    }
    const qsizetype newXref = out.size();
    out += "xref\n0 " + QByteArray::number(count) + "\n0000000000 65535 f \n";
    for (int n = 1; n < count; ++n)
        out += written[std::size_t(n)] > 0
                   ? QByteArray::number(written[std::size_t(n)]).rightJustified(10, '0') +
                         " 00000 n \n"
                   : QByteArray("0000000000 00000 f \n");
    out += pdf.mid(trailer, startxref - trailer);
    out += "startxref\n" + QByteArray::number(newXref) + "\n%%EOF\n";
    return out;
}

FileChooser::Hook& FileChooser::hook()
{
    static Hook installed;
    return installed;
}

void FileChooser::setHook(Hook hook)
{
    FileChooser::hook() = std::move(hook);
}

QString FileChooser::startDirectory()
{
    // Never the working directory: a program started from a menu has no say over it.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString FileChooser::saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                  const QString& filter)
{
    if (hook())
        return hook()(caption, suggested);
    const QString start = QDir(startDirectory()).filePath(suggested);
    return QFileDialog::getSaveFileName(parent, caption, start, filter);
}

bool writePdf(const QTextDocument& document, const QString& file, QString* error)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("慧名坊"));
        std::unique_ptr<QTextDocument> copy(document.clone());
        copy->print(&writer);
    }
    return writeWhole(file, withMeantText(pdf.data(), document), error);
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
    // Printed to a PDF file: its text as it is meant, as for an export.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        QFile printed(printer.outputFileName());
        if (!printed.open(QIODevice::ReadOnly))
            return;
        const QByteArray meant = withMeantText(printed.readAll(), document);
        printed.close();
        QString error;
        if (!writeWhole(printer.outputFileName(), meant, &error))
            MessageBox::show(parent, error, MessageBox::Icon::Warning);
    }
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
