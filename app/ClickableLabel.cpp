#include "app/ClickableLabel.h"

#include <QMouseEvent>

namespace th::app {

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

} // namespace th::app
