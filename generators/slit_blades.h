#pragma once

namespace vesko {

/// The four blade targets of a 4D slit opening: blade 1 of a pair at half the width plus the centre,
/// blade 2 at half the width minus the centre (it counts outward on the other side).
struct SlitOpening {
  float y1, y2, z1, z2;
};

/// The targets of an opening, each computed in double precision and rounded to 32 bits.
SlitOpening SlitOpeningOf(float widthY, float widthZ, float centerY, float centerZ);

/// True when both blades of a pair with this width and centre get finite 32-bit targets.
bool SlitPairFits(float width, float center);

}  // namespace vesko
