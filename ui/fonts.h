#pragma once
// Fonts with Simplified Chinese glyphs. The window uses the desktop's font at the desktop's size;
// where that family has no Chinese glyphs, the first installed family that has them takes its
// place at the same size.

#include <QFont>
#include <QString>
#include <QStringList>

namespace hmf::ui {

// The first family of `preferred` that is installed, or the first entry when none is.
QString firstInstalledFamily(const QStringList& preferred);

// `desktop` (the platform's font) with a family that can show Simplified Chinese.
QFont interfaceFont(const QFont& desktop);

// The report boxes' text: a Song-style (serif) Simplified Chinese family at the size of the
// application's font, so the report follows the text size the user chose.
QFont reportFont();

} // namespace hmf::ui
