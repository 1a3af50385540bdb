#include "ui/fittededit.h"

namespace hmf::ui {

FittedEdit::FittedEdit(QWidget* parent) : QLineEdit(parent)
{
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
}

void FittedEdit::setSampleText(const QString& sample)
{
    m_sample = sample;
    updateGeometry();
}

QSize FittedEdit::sizeHint() const
{
    // QLineEdit's hint is room for seventeen letters x plus its margins and frame: the same
    // margins and frame around the sample and a blank for the cursor.
    QSize hint = QLineEdit::sizeHint();
    const QFontMetrics metrics = fontMetrics();
    hint.setWidth(hint.width() - 17 * metrics.horizontalAdvance(QLatin1Char('x')) +
                  metrics.horizontalAdvance(m_sample) +
                  metrics.horizontalAdvance(QLatin1Char(' ')));
    return hint;
}

} // namespace hmf::ui
