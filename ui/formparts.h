#pragma once
// Small helpers the pages share: controls placed under their product names and the reading of
// number and date boxes.

#include "calendar/birthchart.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

class QSettings;

namespace hmf::ui {

// Names `widget` with its product name and sets its place on the page.
template <typename W> W* place(W* widget, const char* name, int x, int y, int w, int h)
{
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* text, int x, int y, int w, int h);
QLineEdit* edit(QWidget* parent, const char* name, const char* text, int x, int y, int w, int h);
QComboBox* combo(QWidget* parent, const char* name, const QStringList& items, int current,
                 bool editable, int x, int y, int w, int h);

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
