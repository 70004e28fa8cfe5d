#pragma once
// The one place where a path becomes the text the wide file functions are given. Windows takes a
// path whose full form is shorter than MAX_PATH as it is, so that goes unchanged. A longer one
// reaches its file only in the long form, "\\?\" and the full path, which Windows then takes
// without any change of its own: so the long form is made from the full path that Windows itself
// computes (relative parts, "." and "..", trailing dots and spaces resolved as for a short path),
// for the one call, and the path text itself never changes.
#include <cstdint>

#include "core/Text.h"

namespace timrose::win32 {

struct SystemPath {
  Text text;
  // 0, or the system error code the file functions give for such a path: 206 beyond
  // kMaxPathLength characters, 123 for a NUL inside the text (it would end the name early).
  uint32_t error = 0;
};

// "\\server\share\..." becomes "\\?\UNC\server\share\..."; a path already in the long or the
// device form ("\\?\", "\\.\") is taken as it is.
SystemPath ToSystemPath(const Text& path);

// The path as the shell and the dialogs write it: a long form's prefix taken off again
// ("\\?\UNC\server\..." becomes "\\server\..."), any other path as it is.
Text WithoutLongForm(const Text& path);

}  // namespace timrose::win32
