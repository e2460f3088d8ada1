#pragma once
// A label that reports a left click, for toolbar pictures and for words that
// act like the switch beside them.

#include <QLabel>

namespace th::app {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace th::app
