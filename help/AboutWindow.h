#pragma once
// The About window: the application icon and "Tile Heron v" with the
// version, in a small fixed window with a close control only.

#include <QWidget>

namespace th::help {

inline constexpr int kAboutIcon = 200;
inline constexpr int kAboutNameLine = 201;

class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(const QPixmap& icon, QWidget* parent = nullptr);

    QWidget* element(int number) const;

private:
    QWidget* icon_;
    QWidget* nameLine_;
};

} // namespace th::help
