#pragma once
// Small helpers the pages share: the reading of number and date boxes and their settings.

#include "calendar/birthchart.h"

#include <QLineEdit>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

class QSettings;

namespace hmf::ui {

std::string textOf(const QLineEdit* box);
std::optional<int> numberOf(const QString& text);

// The birth time of four date boxes. Boxes that hold no whole number give a time that
// calendar::checkBirthTime refuses with the fitting message ("请填写正确的出生日期" for the date,
// "出生时辰应在0到23之间" for the hour), so every refusal speaks with the engines' words.
calendar::BirthTime readBirth(const QLineEdit* year, const QLineEdit* month, const QLineEdit* day,
                              const QLineEdit* hour);

// The texts of the five birth boxes (year, month, day, hour, minute) as a page shows them.
struct BirthTexts
{
    QString year;
    QString month;
    QString day;
    QString hour;
    QString minute;
};

// The five birth boxes of a page: year, month, day, hour and minute.
struct BirthBoxes
{
    QLineEdit* year = nullptr;
    QLineEdit* month = nullptr;
    QLineEdit* day = nullptr;
    QLineEdit* hour = nullptr;
    QLineEdit* minute = nullptr;
};

// Keeps the texts of the boxes under `group`/year … `group`/minute, and puts them back; a key
// the settings lack leaves its box as it is.
void saveBirthBoxes(QSettings& settings, const QString& group, const BirthBoxes& boxes);
void restoreBirthBoxes(const QSettings& settings, const QString& group, const BirthBoxes& boxes);

} // namespace hmf::ui
