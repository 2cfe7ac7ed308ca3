#pragma once
// The texts a file dialog takes and gives, without the platform.
#include <string>
#include <string_view>
#include <vector>

namespace orvalen {

// The dialog's filter from the '|'-separated form the programs write
// ("Pictures (*.bmp)|*.bmp|All files|*.*"): description and pattern pairs,
// each piece ended by a NUL, the whole ended by one more NUL. Empty pieces at
// the end are ignored ("a|*.a||" is one pair); a description without a
// pattern is dropped. An input without a pair gives an empty string (no
// filter).
std::string FilterFromBars(std::string_view barSeparated);

// The chosen files from the dialog's file-name buffer: either one full path,
// or (several files chosen) the folder followed by the file names, each ended
// by a NUL and the list by an empty string. Names are joined to the folder
// with one backslash; a name that is itself a full path is taken as is. The
// buffer may lack the final NULs (it ends where `buffer` ends).
std::vector<std::string> ParseFileDialogResult(std::string_view buffer);

}  // namespace orvalen
