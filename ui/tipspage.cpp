#include "ui/tipspage.h"

#include "core/tables.h"
#include "ui/helptext.h"
#include "ui/richtext.h"

#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace hmf::ui {

TipsPage::TipsPage(const core::Tables& tables, QWidget* parent) : QWidget(parent)
{
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("编辑框4"));
    m_text->setPlainText(fromEngineText(tables.tipsText));
    m_text->setReadOnly(true);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::Text, QColor(0, 136, 255));
    m_text->setPalette(palette);
    // Under the tips, the help of this program: every page, window and key.
    auto* help = new QTextBrowser(this);
    help->setObjectName(QStringLiteral("编辑框_帮助"));
    help->setHtml(helpHtml());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_text, 1);
    layout->addWidget(help, 2);
}

} // namespace hmf::ui
