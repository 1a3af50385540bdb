#include "ui/analysispage.h"

#include "core/tables.h"
#include "core/text.h"
#include "ui/artwork.h"
#include "ui/fileoutput.h"
#include "ui/messagebox.h"
#include "ui/richtext.h"
#include "ui_analysispage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
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
    : QWidget(parent), m_ui(std::make_unique<Ui::AnalysisPage>()), m_tables(tables)
{
    Ui::AnalysisPage& ui = *m_ui;
    ui.setupUi(this);
    m_surname = ui.编辑框_性2;
    m_given = ui.编辑框_名2;
    m_sex = ui.组合框_性别2;
    m_report = ui.超级编辑框1;
    m_report->setAcceptRichText(true);
    m_birth = ui.birthInput;
    m_birth->setUp(m_tables.cities, {"组合框_历法2",
                                     "选择框_闰月2",
                                     {"编辑框2", "编辑框3", "编辑框5", "编辑框12", "编辑框13"},
                                     {"标签27", "标签26", "标签28", "标签6", "标签35"},
                                     nullptr,
                                     "标签_出生地2",
                                     "组合框_出生地2"});
    QPushButton* const analyse = ui.按钮_分析;
    QPushButton* const keep = ui.按钮_收藏此名;
    QPushButton* const pdf = ui.按钮_报告导出PDF;
    QPushButton* const print = ui.按钮_打印报告;
    connect(analyse, &QPushButton::clicked, this, &AnalysisPage::analyseTypedName);
    connect(m_surname, &QLineEdit::returnPressed, this, &AnalysisPage::analyseTypedName);
    connect(m_given, &QLineEdit::returnPressed, this, &AnalysisPage::analyseTypedName);
    // Enter in the date boxes analyses too.
    const BirthBoxes boxes = m_birth->boxes();
    for (QLineEdit* box : {boxes.year, boxes.month, boxes.day, boxes.hour, boxes.minute})
        connect(box, &QLineEdit::returnPressed, this, &AnalysisPage::analyseTypedName);

    // Tab follows the order of filling in: the name, the sex, the birth row, 开始分析, then the
    // report and the buttons under it.
    QList<QWidget*> order = {m_surname, m_given, m_sex};
    order += m_birth->tabOrder();
    order += {analyse, m_report, keep, pdf, print};
    for (qsizetype k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
    // Ctrl+D keeps the name of the report, as it keeps a listed name on 宝宝取名.
    auto* keepKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    keepKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(keepKey, &QShortcut::activated, this, &AnalysisPage::keepShownName);
    keep->setToolTip(QStringLiteral("把这个名字加入收藏夹（Ctrl+D）"));
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

AnalysisPage::~AnalysisPage() = default;

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
    saveBirthBoxes(settings, QStringLiteral("analysis"), m_birth->boxes());
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
    restoreBirthBoxes(settings, QStringLiteral("analysis"), m_birth->boxes());
    bool ok = false;
    const int sex = settings.value(QStringLiteral("analysis/sex")).toInt(&ok);
    if (ok && sex >= 0 && sex < m_sex->count())
        m_sex->setCurrentIndex(sex);
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

void AnalysisPage::focusReport()
{
    m_report->setFocus();
}

void AnalysisPage::focusFirstBox()
{
    m_surname->setFocus();
}

void AnalysisPage::analyseTypedName()
{
    const std::string surname = core::trimBlanks(textOf(m_surname));
    const std::string given = core::trimBlanks(textOf(m_given));
    // An empty box is named in the status bar; nothing else changes.
    if (surname.empty() || given.empty()) {
        showStatus(this,
                   surname.empty() ? QStringLiteral("请填写姓氏") : QStringLiteral("请填写名字"));
        (surname.empty() ? m_surname : m_given)->setFocus();
        return;
    }
    naming::ReportRequest request;
    request.surname = surname;
    request.givenName = given;
    // The sex box weighs characters that lean to the other sex in 名字品评.
    request.sex = m_sex->currentText().toStdString();
    const BirthReading birth = m_birth->read();
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
        const auto verse = naming::verseTable(m_verseDir);
        if (verse)
            request.verse = *verse;
        // A damaged verse table costs the report its 出处 line only; it is named once.
        if (!verse && !m_verseFaultShown) {
            m_verseFaultShown = true;
            MessageBox::show(this, QStringLiteral("诗词出处表有误，报告中不列出处：") +
                                       QString::fromStdString(verse.error().message()));
        }
    }
    const auto built = naming::buildReport(m_tables, request, details);
    if (!built) {
        MessageBox::show(this, QString::fromStdString(built.error().message()));
        return false;
    }
    const naming::Report& report = *built;
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
