// tile-heron-export: exports a saved project without a display, through the
// same export as the window. Qt Core only, for its argument parser and the
// file watch of --watch; no GUI library is loaded, so it runs where no
// display exists.

#include "export/EdgeExtrusion.h"
#include "files/LiveTemporaries.h"
#include "toolkit/DataFolder.h"
#include "toolkit/PreferenceStore.h"
#include "project/CommandLineHost.h"
#include "project/ExportWatch.h"
#include "project/ProjectExport.h"
#include "toolkit/QtText.h"
#include "toolkit/Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <iostream>
#include <variant>

namespace {

using th::project::ExportOverrides;

// The arguments reach the parser one byte to one character (Latin-1) and
// leave it the same way, so every path keeps its exact bytes, even where it
// is no UTF-8, and every other value stays the UTF-8 it was typed as. The
// option names are ASCII, so they parse the same.
QStringList argumentsAsBytes(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLatin1(argv[i]);
    return arguments;
}

std::string s(const QString& bytes)
{
    return bytes.toLatin1().toStdString();
}

struct Options {
    QCommandLineOption sheet{"sheet", "Where the sheet goes.", "PATH"};
    QCommandLineOption depth{"depth", "Bits a pixel: 32, 24, 18, 12, 8, 4 or 1.", "BITS"};
    QCommandLineOption background{"background", "What transparency becomes: black or magenta.", "COLOUR"};
    QCommandLineOption powerOfTwo{"power-of-two", "Round each side of the sheet up to a power of two."};
    QCommandLineOption retina{"retina", "Halve every position and size the script shows."};
    QCommandLineOption sheetNumber{"sheet-number", "The script's th.SheetNumber, 0 to 9999.", "N"};
    QCommandLineOption extrude{"extrude", "Repeat each sprite's edge pixels outward N pixels, 0 to 8.", "N"};
    QCommandLineOption templateName{"template", "A template of the script library, by name.", "NAME"};
    QCommandLineOption templateFile{"template-file", "A template file.", "PATH"};
    QCommandLineOption script{"script", "Where the script goes.", "PATH"};
    QCommandLineOption clipboard{"clipboard-to-stdout",
                                 "Write a clipboard template's script to the output, and the written files' "
                                 "lines to the error output."};
    QCommandLineOption watch{"watch", "Export again each time a picture of the project or the project file "
                                      "changes, one line per export, until Ctrl+C."};
};

// The overrides, or the reason the arguments are bad.
std::variant<ExportOverrides, std::string> overridesFrom(QCommandLineParser& parser, const Options& o)
{
    if (parser.positionalArguments().size() != 1)
        return std::string("Name exactly one project file.");
    if (parser.isSet(o.templateName) && parser.isSet(o.templateFile))
        return std::string("Give --template or --template-file, not both.");
    if (parser.isSet(o.script) && parser.isSet(o.clipboard))
        return std::string("Give --script or --clipboard-to-stdout, not both.");

    ExportOverrides overrides;
    overrides.projectFile = s(parser.positionalArguments().front());
    if (parser.isSet(o.sheet))
        overrides.sheetPath = s(parser.value(o.sheet));
    if (parser.isSet(o.depth)) {
        const auto* choice = th::exporting::depthChoice(s(parser.value(o.depth)));
        if (!choice)
            return "Unknown depth " + s(parser.value(o.depth)) + "; use " + th::exporting::depthKeys() + ".";
        overrides.depth = choice->depth;
    }
    if (parser.isSet(o.background)) {
        const auto* choice = th::exporting::backgroundChoice(s(parser.value(o.background)));
        if (!choice)
            return "Unknown background " + s(parser.value(o.background)) + "; use " +
                   th::exporting::backgroundKeys() + ".";
        overrides.background = choice->colour;
    }
    overrides.powerOfTwo = parser.isSet(o.powerOfTwo);
    overrides.retina = parser.isSet(o.retina);
    if (parser.isSet(o.sheetNumber)) {
        bool number = false;
        const int value = parser.value(o.sheetNumber).toInt(&number);
        if (!number || value < 0 || value > 9999)
            return "The sheet number must be a whole number from 0 to 9999, not " + s(parser.value(o.sheetNumber)) + ".";
        overrides.sheetNumber = value;
    }
    if (parser.isSet(o.extrude)) {
        bool number = false;
        const int value = parser.value(o.extrude).toInt(&number);
        if (!number || value < 0 || value > th::exporting::kMostExtrusion)
            return "The extrusion must be a whole number from 0 to 8, not " + s(parser.value(o.extrude)) + ".";
        overrides.extrude = value;
    }
    if (parser.isSet(o.templateName))
        overrides.templateName = s(parser.value(o.templateName));
    if (parser.isSet(o.templateFile))
        overrides.templateFile = s(parser.value(o.templateFile));
    if (parser.isSet(o.script))
        overrides.scriptPath = s(parser.value(o.script));
    overrides.clipboardToStdout = parser.isSet(o.clipboard);
    return overrides;
}

} // namespace

int main(int argc, char* argv[])
{
    // A sheet or script interrupted on a file system without unnamed files
    // leaves no named temporary behind.
    th::files::removeLiveTemporariesOnInterrupt();
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tile-heron-export"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(th::toolkit::kVersionText));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Exports the sprite sheet and script of a Tile Heron project. Every choice not given "
                       "comes from the project's last export."));
    const Options options;
    parser.addOptions({options.sheet, options.depth, options.background, options.powerOfTwo, options.retina,
                       options.sheetNumber, options.extrude, options.templateName, options.templateFile, options.script,
                       options.clipboard, options.watch});
    parser.addPositionalArgument(QStringLiteral("PROJECT.theron"), QStringLiteral("The project to export."));

    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    const auto badArguments = [&parser](const std::string& problem) {
        std::cerr << problem << "\n\n" << th::toolkit::utf8Text(parser.helpText());
        return th::project::kBadArguments;
    };
    if (!parser.parse(argumentsAsBytes(argc, argv)))
        return badArguments(s(parser.errorText()));
    if (parser.isSet(help)) {
        std::cout << th::toolkit::utf8Text(parser.helpText());
        return th::project::kExportDone;
    }
    if (parser.isSet(version)) {
        std::cout << "tile-heron-export " << th::toolkit::kVersionText << "\n";
        return th::project::kExportDone;
    }
    const auto parsed = overridesFrom(parser, options);
    if (const std::string* problem = std::get_if<std::string>(&parsed))
        return badArguments(*problem);
    th::project::CommandLineHost host(std::cout, std::cerr, std::get<ExportOverrides>(parsed).clipboardToStdout);
    // The first run of the tool installs the data folder as the program's does.
    // Only the program that holds the data folder's lock sweeps it: a
    // temporary there may be that program's save under way.
    th::toolkit::PreferenceStore store;
    const std::string dataFolder = th::toolkit::prepareDataFolder(host.homeFolder(), host.hostVersion(), store, false);
    if (parser.isSet(options.watch))
        return th::project::watchAndExport(std::get<ExportOverrides>(parsed), host, dataFolder, std::cout, std::cerr);
    const int result =
        th::project::exportProject(std::get<ExportOverrides>(parsed), host, dataFolder, std::cout, std::cerr);
    if (result == th::project::kBadArguments)
        std::cerr << "\n" << th::toolkit::utf8Text(parser.helpText());
    return result;
}
