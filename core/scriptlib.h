#pragma once

// The script-writing foundation shared by every generator: numbers, formats, Tcl paths and lines,
// line sinks, safe file replacement and settings files.

#include "core/file_create.h"
#include "core/format.h"
#include "core/line_sink.h"
#include "core/numbers.h"
#include "core/platform.h"
#include "core/result.h"
#include "core/safe_file.h"
#include "core/script_naming.h"
#include "core/settings_file.h"
#include "core/tcl_lines.h"
#include "core/tcl_path.h"
