#pragma once
// Fonts with Simplified Chinese glyphs: the product's 宋体 where it is installed, else the
// nearest installed family of the same kind.

#include <QFont>
#include <QString>
#include <QStringList>

namespace hmf::ui {

// The first family of `preferred` that is installed, or the first entry when none is.
QString firstInstalledFamily(const QStringList& preferred);

// The window's text: 宋体 9 pt or a CJK family whose Latin letters are half as wide as a Chinese
// character, so captions that leave blank gaps for other controls keep their gaps.
QFont interfaceFont();

// The report boxes' text: 宋体 9 pt or a Song-style (serif) Simplified Chinese family.
QFont reportFont();

} // namespace hmf::ui
