#pragma once
// A push button that Return in a field never presses behind the user's back.

#include <QPushButton>

namespace th::toolkit {

inline QPushButton* plainButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace th::toolkit
