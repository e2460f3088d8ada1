#include "help/AboutWindow.h"

#include "toolkit/Version.h"

#include <QApplication>
#include <QLabel>

namespace th::help {

AboutWindow::AboutWindow(const QPixmap& icon, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Qt's desktop plugins put the program's name in an empty title bar; a
    // lone space is a title that shows nothing.
    setWindowTitle(QStringLiteral(" "));
    setFixedSize(340, 170);
    if (const QWidget* over = QApplication::activeWindow())
        move(over->geometry().center() - rect().center());

    auto* picture = new QLabel(this);
    picture->setPixmap(icon.scaled(128, 128, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture->setGeometry(31, 21, 128, 128);
    icon_ = picture;
    auto* name = new QLabel(QStringLiteral("Tile Heron v%1").arg(QLatin1String(toolkit::kVersionText)), this);
    name->setAlignment(Qt::AlignCenter);
    name->setGeometry(160, 30, 180, 20);
    nameLine_ = name;
}

QWidget* AboutWindow::element(int number) const
{
    return number == kAboutIcon ? icon_ : number == kAboutNameLine ? nameLine_ : nullptr;
}

} // namespace th::help
