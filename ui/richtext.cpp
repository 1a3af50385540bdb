#include "ui/richtext.h"

#include "ui/fonts.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace hmf::ui {

QString fromEngineText(std::string_view utf8)
{
    QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString plainToolTip(const QString& text)
{
    // Qt takes a tip for rich text only when it looks like markup; only such a tip needs escaping.
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal) : text;
}

void appendColoured(QTextEdit* box, std::string_view utf8, const QColor& colour)
{
    // The family only: the size is the box's, which follows the text size the user chose.
    static const QStringList families = reportFont().families();
    QTextCharFormat format;
    format.setFontFamilies(families);
    format.setForeground(colour);
    QTextCursor cursor(box->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(fromEngineText(utf8), format);
    QTextCursor end(box->document());
    end.movePosition(QTextCursor::End);
    box->setTextCursor(end);
}

} // namespace hmf::ui
