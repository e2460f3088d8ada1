#include "app/ImageButton.h"

#include <QThread>

namespace th::app {

ImageButton::ImageButton(const QPixmap& normal, const QPixmap& pressed, QWidget* parent)
    : ClickableLabel(parent)
{
    setPictures(normal, pressed);
}

void ImageButton::setPictures(const QPixmap& normal, const QPixmap& pressed)
{
    normal_ = normal;
    pressed_ = pressed;
    setPixmap(normal_);
}

void ImageButton::flash()
{
    setPixmap(pressed_);
    repaint();
    QThread::msleep(100);
    setPixmap(normal_);
    repaint();
}

} // namespace th::app
