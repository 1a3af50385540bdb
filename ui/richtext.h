#pragma once
// Appending coloured runs of engine text to a read-only rich-text box.

#include <QColor>
#include <QString>

#include <string_view>

class QTextEdit;

namespace hmf::ui {

inline const QColor kRed(255, 0, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kMagenta(255, 0, 255);

// Engine texts end their lines with "\r\n"; the box wants "\n". This is the one place that
// converts them.
QString fromEngineText(std::string_view utf8);

// A tool tip that shows `text` as it is, line breaks kept: a tip that looks like markup would
// otherwise be drawn as rich text (an image, a link) from whatever a file held.
QString plainToolTip(const QString& text);

// Appends `text` at the end of the box in the report font and `colour`; nothing stays selected.
void appendColoured(QTextEdit* box, std::string_view utf8, const QColor& colour);

} // namespace hmf::ui
