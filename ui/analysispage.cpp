#include "ui/analysispage.h"

#include "core/tables.h"
#include "core/text.h"
#include "ui/anchorlayout.h"
#include "ui/artwork.h"
#include "ui/fileoutput.h"
#include "ui/messagebox.h"
#include "ui/richtext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTextEdit>

namespace hmf::ui {
namespace {

QColor colourOf(naming::Colour colour)
{
    switch (colour) {
    case naming::Colour::Red:
        return kRed;
    case naming::Colour::Magenta:
        return kMagenta;
    case naming::Colour::Blue:
        break;
    }
    return kBlue;
}

} // namespace

AnalysisPage::AnalysisPage(const core::Tables& tables, QWidget* parent)
    : QWidget(parent), m_tables(tables)
{
    label(this, "标签7", "姓：", 14, 8, 22, 20);
    m_surname = edit(this, "编辑框_性2", "", 43, 8, 29, 20);
    m_surname->setAlignment(Qt::AlignCenter);
    label(this, "标签9", "名", 76, 8, 16, 20);
    m_given = edit(this, "编辑框_名2", "", 91, 8, 53, 20);
    m_given->setAlignment(Qt::AlignCenter);
    label(this, "标签8", "性别", 153, 8, 24, 20);
    m_sex = combo(this, "组合框_性别2", {QStringLiteral("男"), QStringLiteral("女")}, 0, false, 184,
                  8, 48, 20);
    label(this, "标签29", "出生日期：", 240, 8, 56, 24);
    m_year = edit(this, "编辑框2", "", 296, 8, 53, 20);
    label(this, "标签27", "年", 352, 8, 16, 20);
    m_month = edit(this, "编辑框3", "", 368, 8, 30, 20);
    label(this, "标签26", "月", 400, 8, 16, 20);
    m_day = edit(this, "编辑框5", "", 416, 8, 30, 20);
    label(this, "标签28", "日", 456, 8, 24, 20);
    m_hour = edit(this, "编辑框12", "", 472, 8, 30, 20);
    label(this, "标签6", "时", 507, 6, 24, 20);
    m_minute = edit(this, "编辑框13", "", 520, 8, 30, 20);
    label(this, "标签35", "分", 560, 8, 24, 20);
    auto* analyse =
        place(new QPushButton(QStringLiteral("开始分析"), this), "按钮_分析", 584, 5, 96, 28);
    m_report = place(new QTextEdit(this), "超级编辑框1", 8, 40, 680, 424);
    m_report->setReadOnly(true);
    // Below the report, beside the buttons: how the date is meant (公历 or 农历) and the
    // birthplace.
    m_choice = addBirthChoice(this, m_tables.cities, "2", 328, 476);
    m_report->setAcceptRichText(true);
    connect(analyse, &QPushButton::clicked, this, &AnalysisPage::analyseTypedName);
    connect(m_surname, &QLineEdit::returnPressed, this, &AnalysisPage::analyseTypedName);
    connect(m_given, &QLineEdit::returnPressed, this, &AnalysisPage::analyseTypedName);
    // Enter in the date boxes analyses too.
    for (QLineEdit* box : {m_year, m_month, m_day, m_hour, m_minute})
        connect(box, &QLineEdit::returnPressed, this, &AnalysisPage::analyseTypedName);

    auto* keep =
        place(new QPushButton(QStringLiteral("加入收藏"), this), "按钮_收藏此名", 8, 472, 96, 28);
    auto* pdf = place(new QPushButton(QStringLiteral("导出PDF"), this), "按钮_报告导出PDF", 112,
                      472, 96, 28);
    auto* print =
        place(new QPushButton(QStringLiteral("打印…"), this), "按钮_打印报告", 216, 472, 96, 28);
    // The report takes the room of a larger window; the row under it keeps to the bottom.
    AnchorLayout* layout = pageLayout(this);
    layout->anchor(m_report, kGrow);
    QWidget* const bottomRow[] = {
        keep, pdf, print, m_choice.calendar, m_choice.leap, m_choice.placeLabel, m_choice.place};
    for (QWidget* widget : bottomRow)
        layout->anchor(widget, kFollowBottom);
    // Tab goes through the row under the report from left to right.
    QWidget* row[] = {keep, pdf, print, m_choice.calendar, m_choice.leap, m_choice.place};
    for (std::size_t k = 1; k < std::size(row); ++k)
        setTabOrder(row[k - 1], row[k]);
    connect(keep, &QPushButton::clicked, this, &AnalysisPage::keepShownName);
    connect(pdf, &QPushButton::clicked, this, [this] {
        if (reportShown())
            exportPdf(this, *m_report->document(),
                      QStringLiteral("%1%2.pdf")
                          .arg(QString::fromStdString(m_shown->surname),
                               QString::fromStdString(m_shown->givenName)));
    });
    connect(print, &QPushButton::clicked, this, [this] {
        if (reportShown())
            printDocument(this, *m_report->document());
    });
}

bool AnalysisPage::reportShown()
{
    if (m_shown)
        return true;
    MessageBox::show(this, QStringLiteral("请先分析一个名字"));
    return false;
}

void AnalysisPage::keepShownName()
{
    if (!reportShown())
        return;
    ShortlistEntry entry;
    entry.surname = QString::fromStdString(m_shown->surname);
    entry.givenName = QString::fromStdString(m_shown->givenName);
    entry.sex = m_sex->currentText();
    entry.year = m_shown->birth.year;
    entry.month = m_shown->birth.month;
    entry.day = m_shown->birth.day;
    entry.hour = m_shown->birth.hour;
    // The score the report shows on its first line.
    if (m_shown->shownScore)
        entry.scoreText = QString::fromStdString(*m_shown->shownScore);
    else if (m_shownScore)
        entry.scoreText = QStringLiteral("%1分").arg(*m_shownScore);
    // The source the report names on its line 出处.
    if (m_shown->verse)
        if (const auto source = m_shown->verse->bestSource(m_shown->givenName))
            entry.source = QString::fromStdString(naming::citation(*source));
    emit keepRequested(entry);
}

void AnalysisPage::saveSettings(QSettings& settings) const
{
    settings.beginGroup(QStringLiteral("analysis"));
    settings.setValue(QStringLiteral("surname"), m_surname->text());
    settings.setValue(QStringLiteral("givenName"), m_given->text());
    settings.setValue(QStringLiteral("sex"), m_sex->currentIndex());
    settings.endGroup();
    saveBirthBoxes(settings, QStringLiteral("analysis"),
                   {m_year, m_month, m_day, m_hour, m_minute});
}

void AnalysisPage::restoreSettings(const QSettings& settings)
{
    const struct
    {
        const char* key;
        QLineEdit* box;
    } boxes[] = {{"surname", m_surname}, {"givenName", m_given}};
    for (const auto& b : boxes) {
        const QVariant v = settings.value(QStringLiteral("analysis/") + QLatin1String(b.key));
        if (v.isValid())
            b.box->setText(v.toString());
    }
    restoreBirthBoxes(settings, QStringLiteral("analysis"),
                      {m_year, m_month, m_day, m_hour, m_minute});
    bool ok = false;
    const int sex = settings.value(QStringLiteral("analysis/sex")).toInt(&ok);
    if (ok && sex >= 0 && sex < m_sex->count())
        m_sex->setCurrentIndex(sex);
}

void AnalysisPage::setBirthTexts(const BirthTexts& texts)
{
    m_year->setText(texts.year);
    m_month->setText(texts.month);
    m_day->setText(texts.day);
    m_hour->setText(texts.hour);
    m_minute->setText(texts.minute);
}

void AnalysisPage::setName(const QString& surname, const QString& givenName)
{
    m_surname->setText(surname);
    m_given->setText(givenName);
}

void AnalysisPage::setSex(const QString& sex)
{
    if (const int i = m_sex->findText(sex); i >= 0)
        m_sex->setCurrentIndex(i);
}

void AnalysisPage::focusFirstBox()
{
    m_surname->setFocus();
}

void AnalysisPage::analyseTypedName()
{
    const std::string surname = core::trimBlanks(textOf(m_surname));
    const std::string given = core::trimBlanks(textOf(m_given));
    if (surname.empty() || given.empty())
        return;
    naming::ReportRequest request;
    request.surname = surname;
    request.givenName = given;
    // The sex box weighs characters that lean to the other sex in 名字品评.
    request.sex = m_sex->currentText().toStdString();
    const BirthReading birth = readBirth(m_choice, m_tables.cities, m_year, m_month, m_day, m_hour);
    if (!birth.problem.empty()) {
        MessageBox::show(this, QString::fromStdString(birth.problem));
        return;
    }
    request.birth = birth.time;
    showReport(request, birth.details);
}

bool AnalysisPage::showReport(const naming::ReportRequest& given,
                              const calendar::BirthDetails& details)
{
    naming::ReportRequest request = given;
    if (m_loadTables && !m_loadTables(core::kAssessmentTables))
        return false;
    if (!request.verse && !m_verseDir.empty()) {
        core::LoadError error;
        request.verse = naming::verseTable(m_verseDir, error);
        // A damaged verse table costs the report its 出处 line only; it is named once.
        if (!request.verse && !m_verseFaultShown) {
            m_verseFaultShown = true;
            MessageBox::show(this, QStringLiteral("诗词出处表有误，报告中不列出处：") +
                                       QString::fromStdString(error.message()));
        }
    }
    const naming::Report report = naming::buildReport(m_tables, request, details);
    if (!report.ok()) {
        MessageBox::show(this, QString::fromStdString(report.error));
        return false;
    }
    m_report->clear();
    for (const naming::ColouredRun& run : report.runs)
        appendColoured(m_report, run.text, colourOf(run.colour));
    m_report->moveCursor(QTextCursor::Start);
    m_report->document()->setMetaInformation(
        QTextDocument::DocumentTitle, QString::fromStdString(request.surname + request.givenName));
    m_shown = request;
    m_shownScore = report.score;
    return true;
}

} // namespace hmf::ui
