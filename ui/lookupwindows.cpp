#include "ui/lookupwindows.h"

#include "calendar/starsign.h"
#include "core/tables.h"
#include "core/text.h"
#include "ui/fittededit.h"
#include "ui/messagebox.h"
#include "ui/richtext.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

#include <algorithm>

namespace hmf::ui {
namespace {

template <typename W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

} // namespace

BirthChartWindow::BirthChartWindow(const std::string& chartText, const QString& basis,
                                   QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("窗口_生辰八字"));
    setWindowTitle(QStringLiteral("生辰八字"));
    auto* layout = new QVBoxLayout(this);
    m_box = named(new QTextEdit(this), "生辰八字超级编辑框");
    m_box->setReadOnly(true);
    appendColoured(m_box, chartText, kBlue);
    m_box->moveCursor(QTextCursor::Start);
    // Room for the chart's longest lines without a scroll bar at any text size.
    const QFontMetrics metrics = m_box->fontMetrics();
    m_box->setMinimumSize(38 * metrics.horizontalAdvance(u'中'), 20 * metrics.lineSpacing());
    layout->addWidget(m_box);
    // A line under the chart says whose date and hour it shows.
    if (!basis.isEmpty())
        layout->addWidget(named(new QLabel(basis, this), "标签_八字依据"));
}

ElementWindow::ElementWindow(const core::Tables& tables, QWidget* parent)
    : QDialog(parent), m_tables(tables)
{
    setObjectName(QStringLiteral("窗口_汉字五行"));
    setWindowTitle(QStringLiteral("汉字五行查询"));
    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* prompt = named(new QLabel(QStringLiteral("请输入要查询的汉字"), this), "标签1");
    auto* character = new FittedEdit(this);
    character->setSampleText(QStringLiteral("字字"));
    m_character = named(character, "编辑框1");
    m_character->setAlignment(Qt::AlignCenter);
    prompt->setBuddy(m_character);
    // One character; two UTF-16 units leave room for one beyond the basic plane.
    m_character->setMaxLength(2);
    auto* button = named(new QPushButton(QStringLiteral("查询"), this), "按钮1");
    button->setDefault(true);
    m_result = named(new QLabel(QStringLiteral("木"), this), "标签4");
    layout->addWidget(prompt, 0, 0);
    layout->addWidget(m_character, 0, 1);
    layout->addWidget(button, 0, 2);
    auto* answer = new QHBoxLayout;
    answer->addWidget(named(new QLabel(QStringLiteral("此汉字属性为："), this), "标签3"));
    answer->addWidget(m_result);
    answer->addStretch();
    layout->addLayout(answer, 1, 0, 1, 3);
    layout->addWidget(
        named(new QLabel(QStringLiteral("八字喜用神是什么，取名应用相应属性补之。"), this),
              "标签2"),
        2, 0, 1, 3);
    connect(button, &QPushButton::clicked, this, &ElementWindow::query);
}

void ElementWindow::query()
{
    const std::string text = core::trimBlanks(m_character->text().toStdString());
    if (text.empty()) {
        MessageBox::show(this, QStringLiteral("请输入要查询的汉字"));
        return;
    }
    const auto cp = core::singleCodepoint(text);
    const QString shown = QString::fromStdString(text);
    QString problem;
    if (!cp)
        problem = QStringLiteral("请只输入一个汉字");
    else if (!core::isHan(*cp))
        problem = QStringLiteral("“%1”不是汉字").arg(shown);
    const std::string element = problem.isEmpty() ? m_tables.elements.elementOf(text) : "";
    if (problem.isEmpty() && element.empty())
        problem = QStringLiteral("“%1”不在字库中").arg(shown);
    if (!problem.isEmpty()) {
        m_result->clear();
        MessageBox::show(this, problem);
        return;
    }
    m_result->setText(QString::fromStdString(element));
}

StarSignWindow::StarSignWindow(int month, int day, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("窗口_星座查询"));
    setWindowTitle(QStringLiteral("星座查询"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* date = new QHBoxLayout;
    m_month = named(new QComboBox(this), "组合框1");
    m_day = named(new QComboBox(this), "组合框2");
    for (int m = 1; m <= 12; ++m)
        m_month->addItem(QString::number(m));
    for (int d = 1; d <= 31; ++d)
        m_day->addItem(QString::number(d));
    // The birth date of the page 宝宝取名 when it has one, else 1月1日.
    const bool known = calendar::isMonthDay(month, day);
    m_month->setCurrentIndex(known ? month - 1 : 0);
    m_day->setCurrentIndex(known ? day - 1 : 0);
    date->addWidget(m_month);
    date->addWidget(named(new QLabel(QStringLiteral("月"), this), "标签2"));
    date->addWidget(m_day);
    date->addWidget(named(new QLabel(QStringLiteral("日"), this), "标签2_日"));
    date->addStretch();
    layout->addLayout(date);
    m_result = named(new QLabel(this), "标签1");
    m_result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_result->setWordWrap(true);
    // The longest sign text decides the label's height, so no description is ever cut off.
    const int width = 12 * m_result->fontMetrics().horizontalAdvance(u'中');
    int textHeight = 0;
    for (int m = 1; m <= 12; ++m) {
        for (int d : {1, 28}) {
            m_result->setText(fromEngineText(calendar::starSignText(m, d)));
            textHeight = std::max(textHeight, m_result->heightForWidth(width));
        }
    }
    m_result->clear();
    m_result->setMinimumSize(width, textHeight);
    layout->addWidget(m_result);
    auto* button = named(new QPushButton(QStringLiteral("查询"), this), "按钮1");
    button->setDefault(true);
    button->setMinimumHeight(2 * button->sizeHint().height());
    layout->addWidget(button);
    connect(button, &QPushButton::clicked, this, &StarSignWindow::query);
    if (known)
        query();
}

void StarSignWindow::query()
{
    const int month = m_month->currentText().toInt();
    const int day = m_day->currentText().toInt();
    // Days a month never has (2月30日) belong to no star sign.
    if (!calendar::isMonthDay(month, day)) {
        MessageBox::show(this, QStringLiteral("请选择正确的日期"));
        return;
    }
    m_result->setText(fromEngineText(calendar::starSignText(month, day)));
}

} // namespace hmf::ui
