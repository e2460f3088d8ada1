#pragma once
// The help window, "Tile Heron Help": the manual carried inside the program,
// read-only but selectable, on the paper of the "Typewriter" theme. Its
// "Support" link opens the README through the host.

#include <QWidget>

#include <filesystem>
#include <optional>

class QTextBrowser;

namespace th::toolkit {
class Host;
}

namespace th::help {

inline constexpr int kHelpText = 400;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // `readme` is what the support link opens; without one the link says so.
    HelpWindow(toolkit::Host& host, std::optional<std::filesystem::path> readme, QWidget* parent = nullptr);

    QTextBrowser* text() const { return text_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void linkClicked(const QUrl& link);

    toolkit::Host& host_;
    std::optional<std::filesystem::path> readme_;
    QTextBrowser* text_;
};

} // namespace th::help
