#include "app/ImageButton.h"

#include <QMouseEvent>
#include <QThread>

namespace th::app {

ImageButton::ImageButton(const QPixmap& normal, const QPixmap& pressed, QWidget* parent)
    : QLabel(parent)
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

void ImageButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

} // namespace th::app
