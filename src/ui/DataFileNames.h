// The names the file dialogs offer and accept for data files. Files of all four extensions
// open; only "fend" and "fbk" are ever written.
#pragma once
#include <QString>

#include <string>
#include <string_view>

namespace UserInterface {

constexpr std::string_view kOpenExtensions = "fend;fdbf;fdb;fbk";
constexpr std::string_view kSaveExtensions = "fend;fbk";
constexpr std::string_view kDefaultExtension = "fend";

// "<name> (*.a *.b)": the name, a blank and the patterns in parentheses.
QString FileFilter(const QString& name, std::string_view extensions);
// Whether the path ends in one of the semicolon-separated extensions (any letter case).
bool HasExtension(std::string_view path, std::string_view extensions);
// A name for Save as: kept when it ends in a written extension, else ".fend" is added.
std::string WritableDataFileName(std::string_view path);

}  // namespace UserInterface
