#pragma once
// A toolbar picture that reports clicks and can show a pressed picture.

#include "app/ClickableLabel.h"

#include <QPixmap>

namespace th::app {

class ImageButton : public ClickableLabel {
    Q_OBJECT
public:
    ImageButton(const QPixmap& normal, const QPixmap& pressed, QWidget* parent);

    void setPictures(const QPixmap& normal, const QPixmap& pressed);
    // Shows the pressed picture for 100 ms, drawn at once, then the normal one.
    void flash();

private:
    QPixmap normal_;
    QPixmap pressed_;
};

} // namespace th::app
