#include "ui/birthinput.h"

#include "calendar/birthinput.h"
#include "core/cities.h"
#include "ui/fittededit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

namespace hmf::ui {

QString noBirthplace()
{
    return QStringLiteral("（不校正）");
}

BirthInput::BirthInput(QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    m_calendar = new QComboBox(this);
    m_calendar->addItems({QStringLiteral("公历"), QStringLiteral("农历")});
    m_leap = new QCheckBox(QStringLiteral("闰月"), this);
    m_leap->setEnabled(false);
    row->addWidget(m_calendar);
    row->addWidget(m_leap);
    row->addSpacing(6);
    const char* const units[] = {"年", "月", "日", "时", "分"};
    const char* const samples[] = {"0000", "00", "00", "00", "00"};
    for (int i = 0; i < 5; ++i) {
        auto* box = new FittedEdit(this);
        box->setSampleText(QString::fromUtf8(samples[i]));
        m_boxes[i] = box;
        m_units[i] = new QLabel(QString::fromUtf8(units[i]), this);
        row->addWidget(box);
        row->addWidget(m_units[i]);
    }
    m_kind = new QLabel(QStringLiteral("（阳历）"), this);
    row->addWidget(m_kind);
    row->addSpacing(6);
    m_placeLabel = new QLabel(QStringLiteral("出生地："), this);
    m_place = new QComboBox(this);
    m_place->setEditable(true);
    // Wide enough for a four-character city or a longitude such as 116.40; the list opens wider.
    m_place->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_place->setMinimumContentsLength(6);
    m_place->setToolTip(QStringLiteral("选城市或填东经度数，按真太阳时排\"八字旺衰\""));
    m_placeLabel->setBuddy(m_place);
    row->addWidget(m_placeLabel);
    row->addWidget(m_place);

    connect(m_calendar, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_leap->setEnabled(index == 1);
        if (index != 1)
            m_leap->setChecked(false);
        // The label after the date says how it is meant.
        m_kind->setText(index == 1 ? QStringLiteral("（农历）") : QStringLiteral("（阳历）"));
    });
}

void BirthInput::setUp(const core::CityTable& cities, const Names& names)
{
    m_cities = &cities;
    m_calendar->setObjectName(QString::fromUtf8(names.calendar));
    m_leap->setObjectName(QString::fromUtf8(names.leap));
    for (int i = 0; i < 5; ++i) {
        m_boxes[i]->setObjectName(QString::fromUtf8(names.boxes[i]));
        m_units[i]->setObjectName(QString::fromUtf8(names.units[i]));
    }
    if (names.kindLabel)
        m_kind->setObjectName(QString::fromUtf8(names.kindLabel));
    else
        m_kind->hide();
    m_placeLabel->setObjectName(QString::fromUtf8(names.placeLabel));
    m_place->setObjectName(QString::fromUtf8(names.place));
    QStringList places{noBirthplace()};
    for (const core::City& city : cities.cities())
        places << QString::fromStdString(city.name);
    m_place->clear();
    m_place->addItems(places);
}

BirthTexts BirthInput::texts() const
{
    return {m_boxes[0]->text(), m_boxes[1]->text(), m_boxes[2]->text(), m_boxes[3]->text(),
            m_boxes[4]->text()};
}

void BirthInput::setTexts(const BirthTexts& t)
{
    const QString* texts[] = {&t.year, &t.month, &t.day, &t.hour, &t.minute};
    for (int i = 0; i < 5; ++i)
        m_boxes[i]->setText(*texts[i]);
}

BirthInput::Choice BirthInput::choice() const
{
    return {lunar(), m_leap->isChecked(), m_place->currentText()};
}

void BirthInput::setChoice(const Choice& c)
{
    m_calendar->setCurrentIndex(c.lunar ? 1 : 0);
    m_leap->setChecked(c.leap);
    m_place->setCurrentText(c.place);
}

bool BirthInput::lunar() const
{
    return m_calendar->currentIndex() == 1;
}

QList<QWidget*> BirthInput::tabOrder() const
{
    QList<QWidget*> order = {m_calendar, m_leap};
    for (QLineEdit* box : m_boxes)
        order.append(box);
    order.append(m_place);
    return order;
}

BirthReading BirthInput::read() const
{
    BirthReading r;
    r.time = readBirth(m_boxes[0], m_boxes[1], m_boxes[2], m_boxes[3]);
    calendar::BirthInput input;
    input.lunar = lunar();
    input.leap = input.lunar && m_leap->isChecked();
    input.year = numberOf(m_boxes[0]->text());
    input.month = numberOf(m_boxes[1]->text());
    input.day = numberOf(m_boxes[2]->text());
    input.hour = numberOf(m_boxes[3]->text());
    // The minute counts (true solar time moves by minutes); an empty box is 0 and text that is
    // no number is refused like a minute out of range, never read as 0.
    if (const QString minute = m_boxes[4]->text().trimmed(); !minute.isEmpty())
        input.minute = numberOf(minute).value_or(-1);
    const QString placeText = m_place->currentText().trimmed();
    if (placeText != noBirthplace())
        input.place = placeText.toStdString();
    auto resolved = calendar::resolveBirth(input, m_cities);
    if (!resolved) {
        r.problem = resolved.error().message;
        // A bad birthplace leaves the date as the calendar reads it.
        if (resolved.error().field == calendar::BirthField::Place) {
            input.place.clear();
            if (auto date = calendar::resolveBirth(input, m_cities))
                r.time = date->time;
        }
        return r;
    }
    r.time = resolved->time;
    r.details = std::move(resolved->details);
    return r;
}

} // namespace hmf::ui
