#pragma once

#include <QFont>

namespace vesko {

/// The windows' Japanese gothic face at `pointSize`, falling back to faces of the same kind that are
/// installed, so Japanese captions always have glyphs.
QFont GothicFont(double pointSize, bool bold = false);

}  // namespace vesko
