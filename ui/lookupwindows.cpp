#include "ui/lookupwindows.h"

#include "calendar/starsign.h"
#include "core/tables.h"
#include "core/text.h"
#include "ui/messagebox.h"
#include "ui/richtext.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

#include <algorithm>

namespace hmf::ui {
namespace {

template <typename W> W* place(W* widget, const char* name, int x, int y, int w, int h)
{
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

} // namespace

BirthChartWindow::BirthChartWindow(const std::string& chartText, const QString& basis,
                                   QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("窗口_生辰八字"));
    setWindowTitle(QStringLiteral("皮肤"));
    // A line under the chart says whose date and hour it shows.
    setFixedSize(486, basis.isEmpty() ? 356 : 384);
    if (!basis.isEmpty()) {
        auto* line = place(new QLabel(basis, this), "标签_八字依据", 8, 326, 456, 24);
        line->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_box = place(new QTextEdit(this), "生辰八字超级编辑框", 8, 8, 456, 312);
    m_box->setReadOnly(true);
    appendColoured(m_box, chartText, kBlue);
    m_box->moveCursor(QTextCursor::Start);
}

ElementWindow::ElementWindow(const core::Tables& tables, QWidget* parent)
    : QDialog(parent), m_tables(tables)
{
    setObjectName(QStringLiteral("窗口_汉字五行"));
    setWindowTitle(QStringLiteral("汉字五行查询"));
    setFixedSize(292, 131);
    place(new QLabel(QStringLiteral("请输入要查询的汉字"), this), "标签1", 8, 16, 112, 20);
    m_character = place(new QLineEdit(this), "编辑框1", 128, 8, 72, 24);
    // One character; two UTF-16 units leave room for one beyond the basic plane.
    m_character->setMaxLength(2);
    auto* button = place(new QPushButton(QStringLiteral("查询"), this), "按钮1", 208, 8, 64, 24);
    button->setDefault(true);
    place(new QLabel(QStringLiteral("此汉字属性为："), this), "标签3", 16, 40, 88, 24);
    m_result = place(new QLabel(QStringLiteral("木"), this), "标签4", 104, 40, 48, 24);
    place(new QLabel(QStringLiteral("八字喜用神是什么，取名应用相应属性补之。"), this), "标签2", 8,
          72, 248, 24);
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

StarSignWindow::StarSignWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("窗口_星座查询"));
    setWindowTitle(QStringLiteral("星座查询"));
    setFixedSize(203, 270);
    // The frame label goes first so the combo boxes in its gaps are drawn over it.
    auto* frame = place(new QLabel(QStringLiteral("           月          日"), this), "标签2", 8,
                        2, 184, 32);
    frame->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_month = place(new QComboBox(this), "组合框1", 16, 8, 56, 20);
    m_day = place(new QComboBox(this), "组合框2", 88, 8, 56, 20);
    for (int m = 1; m <= 12; ++m)
        m_month->addItem(QString::number(m));
    for (int d = 1; d <= 31; ++d)
        m_day->addItem(QString::number(d));
    m_month->setCurrentIndex(0);
    m_day->setCurrentIndex(0);
    m_result = place(new QLabel(this), "标签1", 16, 56, 168, 120);
    m_result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_result->setWordWrap(true);
    // The longest sign text decides the label's height, so no description is ever cut off; the
    // window grows below the documented 270 pixels only when the font needs it.
    int textHeight = 120;
    for (int month = 1; month <= 12; ++month) {
        for (int day : {1, 28}) {
            m_result->setText(fromEngineText(calendar::starSignText(month, day)));
            textHeight = std::max(textHeight, m_result->heightForWidth(168));
        }
    }
    m_result->clear();
    m_result->resize(168, textHeight);
    auto* button = place(new QPushButton(QStringLiteral("查询"), this), "按钮1", 32,
                         56 + textHeight + 8, 128, 40);
    setFixedSize(203, std::max(270, button->geometry().bottom() + 1 + 46));
    connect(button, &QPushButton::clicked, this, &StarSignWindow::query);
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
