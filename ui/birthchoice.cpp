#include "ui/birthchoice.h"

#include "core/cities.h"
#include "ui/formparts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace hmf::ui {

QString noBirthplace()
{
    return QStringLiteral("（不校正）");
}

BirthChoice::State BirthChoice::state() const
{
    return {calendar->currentIndex() == 1, leap->isChecked(), place->currentText()};
}

void BirthChoice::setState(const State& s)
{
    calendar->setCurrentIndex(s.lunar ? 1 : 0);
    leap->setChecked(s.leap);
    place->setCurrentText(s.place);
}

BirthChoice addBirthChoice(QWidget* parent, const core::CityTable& cities, const char* suffix,
                           int x, int y)
{
    const std::string s = suffix;
    BirthChoice c;
    c.calendar = combo(parent, ("组合框_历法" + s).c_str(),
                       {QStringLiteral("公历"), QStringLiteral("农历")}, 0, false, x, y, 52, 20);
    c.leap = place(new QCheckBox(QStringLiteral("闰月"), parent), ("选择框_闰月" + s).c_str(),
                   x + 58, y, 52, 20);
    c.leap->setEnabled(false);
    QObject::connect(c.calendar, &QComboBox::currentIndexChanged, c.leap,
                     [leap = c.leap](int index) {
                         leap->setEnabled(index == 1);
                         if (index != 1)
                             leap->setChecked(false);
                     });
    c.placeLabel = label(parent, ("标签_出生地" + s).c_str(), "出生地：", x + 114, y + 2, 48, 16);
    QStringList places{noBirthplace()};
    for (const core::City& city : cities.cities())
        places << QString::fromStdString(city.name);
    c.place = combo(parent, ("组合框_出生地" + s).c_str(), places, 0, true, x + 162, y, 104, 20);
    c.place->setToolTip(QStringLiteral("选城市或填东经度数，按真太阳时排\"八字旺衰\""));
    return c;
}

BirthReading readBirth(const BirthChoice& choice, const core::CityTable& cities,
                       const QLineEdit* year, const QLineEdit* month, const QLineEdit* day,
                       const QLineEdit* hour)
{
    BirthReading r;
    r.time = readBirth(year, month, day, hour);
    calendar::BirthInput input;
    input.lunar = choice.calendar->currentIndex() == 1;
    input.leap = input.lunar && choice.leap->isChecked();
    input.year = numberOf(year->text());
    input.month = numberOf(month->text());
    input.day = numberOf(day->text());
    input.hour = numberOf(hour->text());
    const QString placeText = choice.place->currentText().trimmed();
    if (placeText != noBirthplace())
        input.place = placeText.toStdString();
    auto resolved = calendar::resolveBirth(input, &cities);
    if (resolved.problem) {
        r.problem = resolved.problem->message;
        // A bad birthplace leaves the date as the calendar reads it.
        if (resolved.problem->field == calendar::BirthField::Place) {
            input.place.clear();
            if (auto date = calendar::resolveBirth(input, &cities); date.birth)
                r.time = date.birth->time;
        }
        return r;
    }
    r.time = resolved.birth->time;
    r.details = std::move(resolved.birth->details);
    return r;
}

} // namespace hmf::ui
