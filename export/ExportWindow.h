#pragma once
// The export window, "Export Sprite Sheet & Script": where the sheet and
// the script go, the sheet's depth, background and options, and the
// template. Built anew for every export with its initial choices; it floats
// above the main window, and deletes itself when closed. The decisions of
// its "Export" button are runExport's (ExportRun.h), to which it hands an
// ExportRequest.

#include "canvas/CanvasModel.h"
#include "export/ExportRun.h"

#include <QDialog>
#include <QHash>

#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace th::image {
class ImageStore;
}
namespace th::toolkit {
class Host;
}

namespace th::exporting {

// The window's gadgets, numbered from 200, clear of the main window's and
// the script editor's numbers.
enum ExportGadget {
    kSheetFrame = 200,
    kSaveSpriteLabel,
    kSheetPathField,
    kSheetPathButton,
    kDepthList,
    kRetinaBox,
    kPowerOfTwoBox,
    kBackgroundList,
    kSheetNumberLabel,
    kSheetNumberField,
    kScriptFrame,
    kSaveScriptLabel,
    kScriptPathField,
    kScriptPathButton,
    kTemplateList,
    kCancelButton,
    kRunExportButton,
    kExtrudeLabel,
    kExtrudeField,
};

// What the export works with besides the user's choices.
struct ExportServices {
    const canvas::CanvasModel& model;
    image::ImageStore& images;
    toolkit::Host& host;
    // Ends in "/"; the templates are its "*.txt" files.
    std::string dataFolder;
};

class ExportWindow : public QDialog {
    Q_OBJECT
public:
    ExportWindow(ExportServices services, QWidget* mainWindow);

    QWidget* gadget(int number) const { return gadgets_.value(number); }
    // How long an export runs before its progress window shows.
    void setProgressDelay(int ms) { progressDelayMs_ = ms; }

signals:
    // An export completed with these choices and the window closed.
    void exported(const th::exporting::ExportRequest& request);

private:
    void buildGadgets();
    void chooseSheetPath();
    void chooseScriptPath();
    void templateChanged(int entry);
    void enableScriptRow(bool enabled, const QString& fieldText);
    void exportPressed();
    SheetDepth chosenDepth() const;
    ExportRequest request() const;

    ExportServices services_;
    QHash<int, QWidget*> gadgets_;
    QLineEdit* sheetPath_ = nullptr;
    QComboBox* depthList_ = nullptr;
    QCheckBox* retina_ = nullptr;
    QCheckBox* powerOfTwo_ = nullptr;
    QComboBox* backgroundList_ = nullptr;
    QSpinBox* sheetNumber_ = nullptr;
    QSpinBox* extrude_ = nullptr;
    QLabel* saveScriptLabel_ = nullptr;
    QLineEdit* scriptPath_ = nullptr;
    QPushButton* scriptPathButton_ = nullptr;
    QComboBox* templateList_ = nullptr;
    // The template chosen and where its script goes; the other choices are
    // read from the gadgets when the export runs.
    ExportRequest templateChoice_;
    // The extension the script panel proposes: the last file template's.
    std::string scriptExtension_ = ".txt";
    int progressDelayMs_ = 500;
};

} // namespace th::exporting
