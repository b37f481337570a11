#include "generators/slit_blades.h"

#include <cmath>

namespace vesko {
namespace {

float Blade1(float width, float center) {
  return static_cast<float>(static_cast<double>(width) / 2 + center);
}
float Blade2(float width, float center) {
  return static_cast<float>(static_cast<double>(width) / 2 - center);
}

}  // namespace

SlitOpening SlitOpeningOf(float widthY, float widthZ, float centerY, float centerZ) {
  return {Blade1(widthY, centerY), Blade2(widthY, centerY), Blade1(widthZ, centerZ), Blade2(widthZ, centerZ)};
}

bool SlitPairFits(float width, float center) {
  return std::isfinite(Blade1(width, center)) && std::isfinite(Blade2(width, center));
}

}  // namespace vesko
