#include "languages_help/clickable_label.h"

#include <QMouseEvent>

namespace sorvane {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    // Accepting the press is what routes the matching release to this label.
    if (event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    // Like a button: releasing outside the label takes the click back.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

}  // namespace sorvane
