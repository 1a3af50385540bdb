#include "ui/comparewindow.h"

#include "core/grids.h"
#include "core/syllable.h"
#include "core/tables.h"
#include "naming/report.h"
#include "ui/fileoutput.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace hmf::ui {
namespace {

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

QString comparisonHtml(const core::Tables& tables, const QList<ShortlistEntry>& names)
{
    const QStringList labels = {"名字", "评分", "品评", "寓意", "出处", "拼音",
                                "声调", "笔画", "五行", "天格", "人格", "地格",
                                "外格", "总格", "三才", "出生", "备注"};
    // Every cell is plain text: the kept names come from a file anyone can edit.
    QList<QStringList> columns;
    for (const ShortlistEntry& e : names) {
        const std::string surname = e.surname.toStdString();
        const std::string given = e.givenName.toStdString();
        const std::string full = surname + given;
        QStringList c;
        c << e.fullName() << e.scoreText;
        QString assessment = e.assessment ? QString::number(*e.assessment) : QString();
        if (!e.assessmentNotes.isEmpty())
            assessment +=
                (assessment.isEmpty() ? QString() : QStringLiteral("\n")) + e.assessmentNotes;
        c << assessment;
        c << (e.meaningSource.isEmpty() ? e.meaning
                                        : e.meaning + QStringLiteral("\n典出") + e.meaningSource);
        c << e.source;
        if (naming::checkName(tables, surname, given)) {
            QStringList readings;
            QStringList tones;
            for (const std::string& syllable : tables.nameReadings(surname, given)) {
                readings.append(q(syllable));
                const auto read = core::syllableFromMarked(syllable);
                tones.append(!read             ? QStringLiteral("—")
                             : read->tone == 5 ? QStringLiteral("轻")
                                               : QString::number(read->tone));
            }
            c << readings.join(QLatin1Char(' ')) << tones.join(QLatin1Char(' '))
              << q(tables.gridStrokeString(full)) << q(tables.elements.elementString(full));
            const core::FiveGrids g = core::gridNumbers(tables.strokes, surname, given);
            for (int n : {g.tian, g.ren, g.di, g.wai, g.zong})
                c << QStringLiteral("%1（%2）").arg(n).arg(q(std::string(tables.luck.verdict(n))));
            c << q(core::threeTalentOf(g, tables.threeTalents).text());
        } else {
            for (int i = 0; i < 10; ++i)
                c << QStringLiteral("—");
        }
        c << e.birthText() << e.note;
        columns.append(c);
    }

    const auto cell = [](const QString& text) {
        return text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    };
    QString html = QStringLiteral("<h3>名字比较</h3><table border=\"1\" cellspacing=\"0\" "
                                  "cellpadding=\"4\" width=\"100%\">");
    for (int row = 0; row < labels.size(); ++row) {
        html +=
            QStringLiteral("<tr><th align=\"left\" bgcolor=\"#eef2f8\">%1</th>").arg(labels[row]);
        for (const QStringList& c : columns)
            html += (row == 0 ? QStringLiteral("<th>%1</th>") : QStringLiteral("<td>%1</td>"))
                        .arg(cell(c[row]));
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    return html;
}

CompareWindow::CompareWindow(const core::Tables& tables, const QList<ShortlistEntry>& names,
                             QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("窗口_名字比较"));
    setWindowTitle(QStringLiteral("名字比较"));
    resize(640, 560);
    m_view = new QTextBrowser(this);
    m_view->setObjectName(QStringLiteral("比较表"));
    // The table holds no links; nothing in it may replace it with another page.
    m_view->setOpenLinks(false);
    m_view->setHtml(comparisonHtml(tables, names));
    m_view->document()->setMetaInformation(QTextDocument::DocumentTitle,
                                           QStringLiteral("名字比较"));

    auto* pdf = new QPushButton(QStringLiteral("导出PDF"), this);
    pdf->setObjectName(QStringLiteral("按钮_比较导出PDF"));
    auto* print = new QPushButton(QStringLiteral("打印…"), this);
    print->setObjectName(QStringLiteral("按钮_比较打印"));
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("按钮_比较关闭"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(pdf);
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    connect(pdf, &QPushButton::clicked, this,
            [this] { exportPdf(this, document(), QStringLiteral("名字比较.pdf")); });
    connect(print, &QPushButton::clicked, this, [this] { printDocument(this, document()); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

const QTextDocument& CompareWindow::document() const
{
    return *m_view->document();
}

} // namespace hmf::ui
