#pragma once
// The preview's lines as the one text its view shows.

#include <QString>

#include <string>
#include <vector>

namespace th::editor {

QString previewText(const std::vector<std::string>& lines);

} // namespace th::editor
