#include "export/ExportWindow.h"

#include "export/EdgeExtrusion.h"
#include "export/SavePanels.h"
#include "toolkit/Host.h"
#include "toolkit/InterfaceHost.h"
#include "toolkit/PlainButton.h"
#include "toolkit/ProgressWindow.h"
#include "toolkit/QtText.h"
#include "toolkit/TemplateList.h"
#include "toolkit/TemplateTokens.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace th::exporting {

using toolkit::plainButton;

namespace {

constexpr int kWindowWidth = 360;
constexpr int kWindowHeight = 305;

struct GadgetPlace {
    int gadget;
    int x, y, width, height;
};

// Frames first, so that they lie behind the gadgets drawn on them.
constexpr GadgetPlace kPlaces[] = {
    {kSheetFrame, 10, 10, 340, 160},      {kScriptFrame, 10, 175, 340, 95},
    {kSaveSpriteLabel, 20, 35, 75, 20},   {kSheetPathField, 95, 35, 200, 20},
    {kSheetPathButton, 300, 35, 40, 20},  {kDepthList, 20, 65, 100, 25},
    {kRetinaBox, 155, 65, 60, 25},        {kPowerOfTwoBox, 255, 65, 85, 25},
    {kBackgroundList, 20, 100, 125, 25},  {kSheetNumberLabel, 167, 103, 110, 20},
    {kSheetNumberField, 277, 100, 65, 25}, {kExtrudeLabel, 20, 138, 60, 20},
    {kExtrudeField, 80, 135, 65, 25},     {kSaveScriptLabel, 20, 200, 75, 20},
    {kScriptPathField, 95, 200, 200, 20}, {kScriptPathButton, 300, 200, 40, 20},
    {kTemplateList, 80, 230, 200, 25},    {kCancelButton, 80, 275, 100, 25},
    {kRunExportButton, 180, 275, 100, 25},
};

const QString kNoTemplateEntry = QStringLiteral("Select a script...");

QString q(std::string_view text) { return toolkit::qtText(text); }
// Paths and template names are file names: bytes, not text.
QString qName(const std::string& bytes) { return toolkit::qtFileName(bytes); }
std::string sName(const QString& name) { return toolkit::fileNameBytes(name); }

} // namespace

ExportWindow::ExportWindow(ExportServices services, QWidget* mainWindow)
    : QDialog(mainWindow)
    , services_(std::move(services))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Export Sprite Sheet & Script"));
    setFixedSize(kWindowWidth, kWindowHeight);
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    buildGadgets();
    for (const GadgetPlace& place : kPlaces)
        gadgets_.value(place.gadget)->setGeometry(place.x, place.y, place.width, place.height);
}

void ExportWindow::buildGadgets()
{
    gadgets_.insert(kSheetFrame, new QGroupBox(tr("Sprite Sheet"), this));
    gadgets_.insert(kScriptFrame, new QGroupBox(tr("Sprite Script"), this));
    gadgets_.insert(kSaveSpriteLabel, new QLabel(tr("Save Sprite:"), this));
    sheetPath_ = new QLineEdit(this);
    gadgets_.insert(kSheetPathField, sheetPath_);
    QPushButton* sheetPathButton = plainButton(QStringLiteral("..."), this);
    gadgets_.insert(kSheetPathButton, sheetPathButton);

    depthList_ = new QComboBox(this);
    for (const DepthChoice& entry : kDepthChoices)
        depthList_->addItem(q(entry.label), q(entry.key));
    gadgets_.insert(kDepthList, depthList_);
    retina_ = new QCheckBox(tr("Retina"), this);
    gadgets_.insert(kRetinaBox, retina_);
    powerOfTwo_ = new QCheckBox(tr("Power of 2"), this);
    gadgets_.insert(kPowerOfTwoBox, powerOfTwo_);
    backgroundList_ = new QComboBox(this);
    for (const BackgroundChoice& entry : kBackgroundChoices)
        backgroundList_->addItem(q(entry.label), q(entry.key));
    gadgets_.insert(kBackgroundList, backgroundList_);
    gadgets_.insert(kSheetNumberLabel,
                    new QLabel(q(toolkit::tokenName(toolkit::Token::SheetNumber)) + QLatin1Char(':'), this));
    sheetNumber_ = new QSpinBox(this);
    sheetNumber_->setRange(0, 9999);
    gadgets_.insert(kSheetNumberField, sheetNumber_);
    gadgets_.insert(kExtrudeLabel, new QLabel(tr("Extrude:"), this));
    extrude_ = new QSpinBox(this);
    extrude_->setRange(0, kMostExtrusion);
    extrude_->setSuffix(tr(" px"));
    gadgets_.insert(kExtrudeField, extrude_);

    saveScriptLabel_ = new QLabel(tr("Save Script:"), this);
    gadgets_.insert(kSaveScriptLabel, saveScriptLabel_);
    scriptPath_ = new QLineEdit(this);
    gadgets_.insert(kScriptPathField, scriptPath_);
    scriptPathButton_ = plainButton(QStringLiteral("..."), this);
    gadgets_.insert(kScriptPathButton, scriptPathButton_);
    enableScriptRow(false, {});
    templateList_ = new QComboBox(this);
    templateList_->addItem(kNoTemplateEntry);
    for (const std::string& name : toolkit::templateNames(services_.dataFolder))
        templateList_->addItem(qName(name));
    gadgets_.insert(kTemplateList, templateList_);
    QPushButton* cancel = plainButton(tr("Cancel"), this);
    gadgets_.insert(kCancelButton, cancel);
    QPushButton* run = plainButton(tr("Export"), this);
    gadgets_.insert(kRunExportButton, run);

    connect(sheetPathButton, &QPushButton::clicked, this, &ExportWindow::chooseSheetPath);
    connect(scriptPathButton_, &QPushButton::clicked, this, &ExportWindow::chooseScriptPath);
    connect(templateList_, &QComboBox::currentIndexChanged, this, &ExportWindow::templateChanged);
    // The background is kept for the depths that use it.
    connect(depthList_, &QComboBox::currentIndexChanged, this,
            [this] { backgroundList_->setEnabled(!keepsTransparency(chosenDepth())); });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(run, &QPushButton::clicked, this, &ExportWindow::exportPressed);
}

// A cancelled panel empties the field, as the panel's answer replaces it.
void ExportWindow::chooseSheetPath()
{
    sheetPath_->setText(qName(askSavePath(services_.host, sheetSavePanel())));
}

void ExportWindow::chooseScriptPath()
{
    scriptPath_->setText(qName(askSavePath(services_.host, scriptSavePanel(scriptExtension_))));
}

void ExportWindow::templateChanged(int entry)
{
    std::optional<std::filesystem::path> file;
    if (entry > 0)
        file = toolkit::templateFile(services_.dataFolder, sName(templateList_->itemText(entry)));
    templateChoice_.chooseTemplate(std::move(file));
    const ScriptTarget& target = templateChoice_.script;
    if (!templateChoice_.templateFile) {
        enableScriptRow(false, {});
    } else if (target.clipboard) {
        // The field shows the directive that sends the script there.
        enableScriptRow(false, q(toolkit::tokenName(toolkit::Token::Extension)) + QStringLiteral(R"( = "Clipboard")"));
    } else {
        scriptExtension_ = target.extension;
        enableScriptRow(true, {});
    }
}

void ExportWindow::enableScriptRow(bool enabled, const QString& fieldText)
{
    saveScriptLabel_->setEnabled(enabled);
    scriptPath_->setEnabled(enabled);
    scriptPathButton_->setEnabled(enabled);
    scriptPath_->setText(fieldText);
}

// The lists hold the choice tables' keys, so the choice never depends on
// where an entry stands in its list.
SheetDepth ExportWindow::chosenDepth() const
{
    return depthChoice(toolkit::utf8Text(depthList_->currentData().toString()))->depth;
}

ExportRequest ExportWindow::request() const
{
    ExportRequest request = templateChoice_;
    request.sheetPath = sName(sheetPath_->text());
    request.depth = chosenDepth();
    request.background = backgroundChoice(toolkit::utf8Text(backgroundList_->currentData().toString()))->colour;
    request.retina = retina_->isChecked();
    request.powerOfTwo = powerOfTwo_->isChecked();
    request.sheetNumber = sheetNumber_->value();
    request.extrude = extrude_->value();
    request.scriptPath = sName(scriptPath_->text());
    return request;
}

void ExportWindow::exportPressed()
{
    const ExportRequest chosen = request();
    // The work runs aside so that the windows keep painting and Cancel
    // answers at every stage; the progress window takes all input meanwhile,
    // so the canvas cannot change under the export.
    toolkit::ProgressWindow progress(this, progressDelayMs_);
    toolkit::InterfaceHost host(services_.host);
    ExportOutcome outcome;
    progress.runAside([&] { outcome = runExport(chosen, services_.model, services_.images, host, &progress); });
    if (outcome.cancelled)
        return;
    if (outcome.completed) {
        close();
        emit exported(chosen);
    }
    services_.host.message(outcome.notice.title, outcome.notice.text);
}

} // namespace th::exporting
