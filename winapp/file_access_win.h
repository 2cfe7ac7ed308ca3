#pragma once
// The Win32 file access: every open for reading shares read, write and
// delete, so a program saving the file can replace it meanwhile; a replace
// is one ReplaceFile (MoveFileEx for a target not there yet).
#include <windows.h>

#include "base/file_access.h"

namespace orvalen {

const FileAccess& Win32FileAccess();

}  // namespace orvalen
