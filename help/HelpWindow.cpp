#include "help/HelpWindow.h"

#include "editor/ThemeLook.h"
#include "editor/Themes.h"
#include "toolkit/Host.h"

#include <QApplication>
#include <QFile>
#include <QTextBrowser>

static void registerHelpResources()
{
    Q_INIT_RESOURCE(help);
}

namespace th::help {

namespace {

constexpr int kContentWidth = 1024;
constexpr int kContentHeight = 620;
constexpr int kMargin = 10;

} // namespace

HelpWindow::HelpWindow(toolkit::Host& host, std::optional<std::filesystem::path> readme, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , host_(host)
    , readme_(std::move(readme))
    , text_(new QTextBrowser(this))
{
    registerHelpResources();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Tile Heron Help"));
    resize(kContentWidth, kContentHeight);
    if (const QWidget* over = QApplication::activeWindow())
        move(over->geometry().center() - rect().center());

    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextBrowserInteraction);
    text_->setLineWrapMode(QTextEdit::WidgetWidth);
    text_->setOpenLinks(false);
    QPalette paper = text_->palette();
    paper.setBrush(QPalette::Base, QBrush(editor::themeTile(editor::kTypewriterTheme)));
    paper.setColor(QPalette::Text, Qt::black);
    text_->setPalette(paper);
    QFile document(QStringLiteral(":/help/help.html"));
    if (document.open(QIODevice::ReadOnly))
        text_->setHtml(QString::fromUtf8(document.readAll()));
    connect(text_, &QTextBrowser::anchorClicked, this, &HelpWindow::linkClicked);
}

void HelpWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    text_->setGeometry(kMargin, kMargin, width() - 2 * kMargin, height() - 2 * kMargin);
}

void HelpWindow::linkClicked(const QUrl& link)
{
    if (link.scheme() != QLatin1String("readme"))
        return;
    if (readme_)
        host_.showFile(readme_->string());
    else
        host_.message("No README!", "The README that comes with Tile Heron could not be found beside the program.");
}

} // namespace th::help
