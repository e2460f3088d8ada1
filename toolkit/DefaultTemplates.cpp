#include "toolkit/DefaultTemplates.h"

#include "files/TextFile.h"

#include <array>

namespace th::toolkit {

namespace {

constexpr TemplateLine kPlist[] = {
    {0, R"(th.Extension = ".plist")"},
    {0, R"(<?xml version="1.0" encoding="UTF-8"?>)"},
    {0, R"(<!DOCTYPE plist PUBLIC "-//Apple Computer//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">)"},
    {0, R"(<plist version="1.0">)"},
    {4, "<dict>"},
    {8, "<key>sprites</key>"},
    {8, "<dict>"},
    {0, "th.Repeat"},
    {12, "<key>th.ImageName</key>"},
    {12, "<dict>"},
    {16, "<key>xPosition</key>"},
    {16, "<string>th.ImageX</string>"},
    {16, "<key>yPosition</key>"},
    {16, "<string>th.ImageY</string>"},
    {16, "<key>width</key>"},
    {16, "<string>th.ImageWidth</string>"},
    {16, "<key>height</key>"},
    {16, "<string>th.ImageHeight</string>"},
    {16, "<key>rotated</key>"},
    {16, "<th.ImageRotate/>"},
    {12, "</dict>"},
    {0, "th.Until = th.ImageCount"},
    {8, "</dict>"},
    {8, "<key>spriteSheet</key>"},
    {8, "<dict>"},
    {12, "<key>sheetName</key>"},
    {12, "<string>th.SheetName</string>"},
    {12, "<key>sheetWidth</key>"},
    {12, "<string>th.SheetWidth</string>"},
    {12, "<key>sheetHeight</key>"},
    {12, "<string>th.SheetHeight</string>"},
    {8, "</dict>"},
    {4, "</dict>"},
    {0, "</plist>"},
};

constexpr TemplateLine kPureData[] = {
    {0, R"(th.Extension = ".pbi")"},
    {0, "DataSection"},
    {1, R"(SpriteSheetth.SheetNumber: IncludeBinary "th.SheetName")"},
    {2, "th.ImageName:"},
    {2, "Data.u th.ImageCount"},
    {1, "th.Repeat"},
    {3, "Image_th.ImageNumber: ;th.ImageName"},
    {3, "Data.u th.ImageX,th.ImageY,th.ImageWidth,th.ImageHeight"},
    {1, "th.Until = th.ImageCount"},
    {0, "EndDataSection"},
};

constexpr TemplateLine kMultiLoops[] = {
    {0, R"(th.Extension = ".txt")"},
    {0, "This is loop 1."},
    {0, ""},
    {0, "th.Repeat"},
    {0, "th.ImageName"},
    {0, "th.Until = th.ImageCount"},
    {0, ""},
    {0, "This is loop 2."},
    {0, ""},
    {0, "th.Repeat"},
    {0, "th.ImageNumber"},
    {0, "th.Until = 5"},
    {0, ""},
    {0, "This is loop 3."},
    {0, ""},
    {0, "th.Repeat"},
    {0, "th.ImageX, th.ImageY, th.ImageWidth, th.ImageHeight"},
    {0, "th.Until = th.ImageCount"},
    {0, ""},
    {0, "The exported sprite sheet name\u2026"},
    {0, R"("th.SheetName")"},
};

constexpr TemplateLine kClipboard[] = {
    {0, R"(th.Extension = "Clipboard")"},
    {0, "This is how you copy the exported script directly to the clipboard."},
    {0, R"(Just use "Clipboard" as the extension.)"},
    {0, ""},
    {0, "Let's get the image names..."},
    {0, ""},
    {0, "th.Repeat"},
    {1, "th.ImageName"},
    {0, "th.Until = th.ImageCount"},
    {0, ""},
    {0, "Now you can paste the script where ever you want!"},
};

constexpr TemplateLine kHtml5[] = {
    {0, R"(th.Extension = ".html")"},
    {0, R"(<?xml version = "1.0" encoding = "UTF-8"?>)"},
    {0, R"(<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN" "http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd">)"},
    {0, ""},
    {0, "<html>"},
    {1, "<head>"},
    {2, "<title>HTML5 Animation Loop</title>"},
    {2, R"(<meta http-equiv = "Content-Type" content = "text/html; charset = UTF-8"/>)"},
    {1, "</head>"},
    {0, "<body>"},
    {0, ""},
    {1, "<script type = 'text/javascript'> //loops through a sprite sheet where all the sprites are the same size"},
    {0, ""},
    {8, "var canvas = document.createElement('canvas');"},
    {8, "var c = canvas.getContext('2d');"},
    {0, ""},
    {8, "canvas.width = th.ImageWidth;"},
    {8, "canvas.height = th.ImageHeight;"},
    {0, ""},
    {8, "var xpos = 0,"},
    {12, "ypos = 0,"},
    {12, "index = 0,"},
    {12, "frameSize = 0;"},
    {0, ""},
    {8, "document.body.appendChild(canvas);"},
    {0, ""},
    {8, "image = new Image();"},
    {8, R"(image.src = "th.SheetName";)"},
    {0, ""},
    {8, "image.onload = function() {"},
    {0, ""},
    {8, "setInterval(loop, 1000 / (th.ImageCount * 2));"},
    {8, "}"},
    {0, ""},
    {8, "function loop() {"},
    {12, "c.clearRect(0, 0, th.ImageWidth, th.ImageHeight);"},
    {0, ""},
    {12, "c.drawImage(image, xpos, ypos, th.ImageWidth, th.ImageHeight, 0, 0, th.ImageWidth, th.ImageHeight);"},
    {0, ""},
    {12, "xpos += th.ImageWidth;"},
    {12, "index += 1;"},
    {0, ""},
    {12, "if (index >= th.ImageCount) {"},
    {16, "xpos = 0;"},
    {16, "ypos = 0;"},
    {16, "index = 0;"},
    {0, ""},
    {12, "} else if (xpos + th.ImageWidth > th.SheetWidth) {"},
    {16, "xpos = 0;"},
    {16, "ypos += th.ImageHeight;"},
    {12, "}"},
    {0, ""},
    {8, "}"},
    {0, ""},
    {1, "</script>"},
    {0, ""},
    {0, "</body>"},
    {0, "</html>"},
};

constexpr std::array<DefaultTemplate, 5> kTemplates{{
    {"plist.txt", kPlist},
    {"Pure Data.txt", kPureData},
    {"Multi Loops.txt", kMultiLoops},
    {"Clipboard.txt", kClipboard},
    {"HTML5.txt", kHtml5},
}};

} // namespace

std::span<const DefaultTemplate> defaultTemplates()
{
    return kTemplates;
}

const DefaultTemplate& html5Template()
{
    return kTemplates.back();
}

bool writeDefaultTemplate(const std::string& folder, const DefaultTemplate& entry)
{
    files::TextWriter writer(folder + std::string(entry.fileName));
    for (const TemplateLine& line : entry.lines)
        writer.writeLine(std::string(std::size_t(line.leadingBlanks), ' ').append(line.text));
    return writer.close().ok();
}

} // namespace th::toolkit
